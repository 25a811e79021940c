#include "imaging/JpegErrors.h"

#include "imaging/Jpeg.h"
#include "platform/Error.h"

#include <string>

namespace tess::imaging::detail {
namespace {

void jumpOnError(j_common_ptr info) {
    auto* handler = reinterpret_cast<ErrorHandler*>(info->err);
    std::longjmp(handler->jump, 1);
}

// Warnings (a truncated file, say) are not shown: the decoder goes on as libjpeg does.
void ignoreMessage(j_common_ptr) {}

} // namespace

void installErrorHandler(ErrorHandler* handler, j_common_ptr info) {
    info->err = jpeg_std_error(&handler->manager);
    handler->manager.error_exit = jumpOnError;
    handler->manager.output_message = ignoreMessage;
}

void check(bool succeeded, const ErrorHandler& handler) {
    if (handler.stopped) {
        throw Error(kDecodeStopped);
    }
    if (handler.tooManyScans) {
        throw Error(kTooManyScans);
    }
    if (!succeeded) {
        throw Error("JPEG error #" + std::to_string(handler.manager.msg_code));
    }
}

} // namespace tess::imaging::detail
