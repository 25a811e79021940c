#include "platform/ThreadPriority.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

namespace tess::platform {

void lowerCurrentThreadPriority() {
    // Failing leaves the thread as it was, which is harmless.
#ifdef _WIN32
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
    // On Linux the nice value belongs to each thread, and 0 names the calling one.
    setpriority(PRIO_PROCESS, 0, 5);
#endif
}

} // namespace tess::platform
