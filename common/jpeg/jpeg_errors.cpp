#include "jpeg/jpeg_errors.h"

namespace corvelle {

namespace {

void PassMessage(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    const JpegMessageSink& messages = *reinterpret_cast<JpegErrorManager*>(cinfo->err)->messages;
    if (messages) messages(text);
}

[[noreturn]] void JumpToRecovery(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

}  // namespace

jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager,
                                        const JpegMessageSink& messages) {
    jpeg_error_mgr* standard = jpeg_std_error(&manager.base);
    manager.base.error_exit = JumpToRecovery;
    manager.base.output_message = PassMessage;
    manager.messages = &messages;
    return standard;
}

}  // namespace corvelle
