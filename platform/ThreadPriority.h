#pragma once

namespace tess::platform {

// Lowers the calling thread's priority a little, so that work running beside the window
// yields to the window's thread when the processors are busy: the window then answers at
// once, and the work gets every cycle the window leaves.
void lowerCurrentThreadPriority();

} // namespace tess::platform
