#include "core/imaging.h"

#include <vips/vips8>

#include <mutex>

namespace corvelle {

bool StartImaging(const char* programName) {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [&] {
        started = VIPS_INIT(programName) == 0;
        if (started) vips_cache_set_max(0);
    });
    return started;
}

}  // namespace corvelle
