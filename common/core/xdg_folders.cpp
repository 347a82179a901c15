// The XDG base folders, in a file of their own: programs that only need to know where
// things are (journals, reports) do not load Qt for them.
#include <cstdlib>
#include <string>

#include "core/settings_store.h"

namespace corvelle {

namespace {

std::string xdgFolder(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/" + fallbackUnderHome;
}

}  // namespace

std::string ConfigHomeFolder() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string StateHomeFolder() { return xdgFolder("XDG_STATE_HOME", ".local/state"); }
std::string DataHomeFolder() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

}  // namespace corvelle
