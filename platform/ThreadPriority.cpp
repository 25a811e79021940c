#include "platform/ThreadPriority.h"

#include <sys/resource.h>

namespace tess::platform {

void lowerCurrentThreadPriority() {
    // On Linux the nice value belongs to each thread, and 0 names the calling one. Failing
    // leaves the thread as it was, which is harmless.
    setpriority(PRIO_PROCESS, 0, 5);
}

} // namespace tess::platform
