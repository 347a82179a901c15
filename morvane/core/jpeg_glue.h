#pragma once

// Pieces shared by the JPEG loader and writer: the error manager that turns the library's
// fatal errors into a jump back to the caller's recovery point, with the message kept.

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace corvelle::jpeg_glue {

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so the library's pointer converts back
    std::jmp_buf recovery;
    char message[JMSG_LENGTH_MAX];
};

// The library's standard manager, except that a fatal error jumps to `recovery` and that
// messages are kept in `message` instead of going to the error stream: the programs show
// none of them, and the command line prints its own single line.
jpeg_error_mgr* InstallErrorManager(ErrorManager& manager);

}  // namespace corvelle::jpeg_glue
