#include "core/private_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "corvelle/build_info.h"

namespace corvelle {

std::string PrivateProgramPath(const std::string& frontPath, std::string_view privateFolder,
                               std::string_view name) {
    const std::filesystem::path folder = std::filesystem::path(frontPath).parent_path();
    const std::filesystem::path installed =
        (folder.parent_path() / privateFolder / name).lexically_normal();
    const std::filesystem::path beside = folder / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(installed, error) &&
        std::filesystem::is_regular_file(beside, error))
        return beside.string();
    return installed.string();
}

int RunPrivateProgram(std::string_view program, std::string_view name, char** argv) {
    // The front's own file, not argv[0], which may be a bare name found through PATH.
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string path =
        error ? std::string(name) : PrivateProgramPath(self.string(), kPrivateProgramFolder, name);
    if (!error) ::execv(path.c_str(), argv);
    const int reason = error ? error.value() : errno;
    std::fprintf(stderr, "%.*s: cannot start %s: %s\n", int(program.size()), program.data(),
                 path.c_str(), std::strerror(reason));
    return 1;
}

}  // namespace corvelle
