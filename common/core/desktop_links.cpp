#include "core/desktop_links.h"

#include <unistd.h>

namespace corvelle {

std::string LinkUrl(std::string_view target) {
    if (target.find('@') != std::string_view::npos && !target.starts_with("mailto:"))
        return "mailto:" + std::string(target);
    if (target.starts_with("/")) return "file://" + std::string(target);
    if (target.find("://") == std::string_view::npos && !target.starts_with("mailto:"))
        return "http://" + std::string(target);
    return std::string(target);
}

bool IsProgramOnPath(std::string_view program, std::string_view searchPath) {
    if (program.empty() || program.find('/') != std::string_view::npos) return false;
    while (true) {
        const size_t colon = searchPath.find(':');
        const std::string_view folder = searchPath.substr(0, colon);
        // An empty entry is the current folder, which is no place to find a desktop tool.
        if (!folder.empty()) {
            const std::string candidate = std::string(folder) + "/" + std::string(program);
            if (access(candidate.c_str(), X_OK) == 0) return true;
        }
        if (colon == std::string_view::npos) return false;
        searchPath.remove_prefix(colon + 1);
    }
}

}  // namespace corvelle
