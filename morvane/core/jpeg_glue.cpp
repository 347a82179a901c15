#include "core/jpeg_glue.h"

#include <cstring>

namespace corvelle::jpeg_glue {

namespace {

void keepMessage(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
}

[[noreturn]] void jumpToRecovery(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->recovery, 1);
}

}  // namespace

jpeg_error_mgr* InstallErrorManager(ErrorManager& manager) {
    jpeg_error_mgr* standard = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = jumpToRecovery;
    manager.pub.output_message = keepMessage;
    manager.message[0] = '\0';
    return standard;
}

}  // namespace corvelle::jpeg_glue
