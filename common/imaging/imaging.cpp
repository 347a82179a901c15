#include "imaging/imaging.h"

#include <vips/vips.h>

#include <mutex>

namespace corvelle {

namespace {

void ignoreMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

bool StartImaging(const char* programName) {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [&] {
        started = VIPS_INIT(programName) == 0;
        if (!started) return;
        vips_cache_set_max(0);
        vips_block_untrusted_set(TRUE);
        g_log_set_handler("VIPS", G_LOG_LEVEL_WARNING, ignoreMessage, nullptr);
    });
    return started;
}

}  // namespace corvelle
