#pragma once

// libjpeg's fatal errors made into exceptions, for the codec's own files.
//
// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back
// with longjmp to the function that called libjpeg, and the error is thrown from there: a C++
// exception must never travel through libjpeg's C frames. The functions that hold a setjmp
// (the "guarded" ones) therefore keep only plain data in their frames, since longjmp skips
// destructors, and return false on failure, libjpeg's message number being left in the error
// manager. The libjpeg objects live in holders owned by the C++ callers, whose destructors
// release them on every path.

#include <algorithm>
#include <atomic>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <limits>

#include <jpeglib.h>

namespace tess::imaging::detail {

// Beyond this libjpeg refuses to grow its whole-image buffers (a progressive photo keeps all
// its coefficients), so a huge photo fails with a JPEG error instead of eating the machine.
// libjpeg takes it as a long, which has 32 bits on Windows.
inline constexpr long kLibjpegMemoryLimit =
    long(std::min<std::int64_t>(std::int64_t(2) << 30, std::numeric_limits<long>::max()));

struct ErrorHandler {
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    bool tooManyScans;             // the jump came from the scan limit, not from libjpeg
    const std::atomic<bool>* stop; // when set and true, the decode gives up
    bool stopped;                  // the jump came from `stop`
};

// Makes libjpeg's fatal errors jump to the handler's jump buffer and silences its warnings.
void installErrorHandler(ErrorHandler* handler, j_common_ptr info);

// Throws the error a guarded call reported by returning false: tess::Error("JPEG error #<n>")
// with libjpeg's message number, the scan limit's error or kDecodeStopped.
void check(bool succeeded, const ErrorHandler& handler);

} // namespace tess::imaging::detail
