#pragma once

// The error manager every libjpeg call of ours runs under: the library's standard one, except
// that a fatal error jumps back to the caller's recovery point instead of ending the program,
// and that message texts go to the caller instead of the error stream.

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "jpeg/jpeg_messages.h"

namespace corvelle {

struct JpegErrorManager {
    jpeg_error_mgr base;  // first, so that libjpeg's pointer is also ours
    std::jmp_buf jump;
    const JpegMessageSink* messages;
};

// Fills `manager` and returns the pointer to give the library as `err`. `messages` must
// outlive every call made under the manager.
jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager,
                                        const JpegMessageSink& messages);

}  // namespace corvelle
