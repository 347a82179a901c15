#include "core/output_names.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <unordered_map>

#include "core/picture_list.h"
#include "core/text.h"

namespace corvelle {

namespace {

namespace fs = std::filesystem;

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string extensionOf(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

// One spelling for one place: the folder as the file system resolves it (a destination
// folder not made yet as far as it exists), the name without regard to case.
class NameKeys {
  public:
    std::string of(const std::string& path) {
        const std::string folder = folderOf(path);
        auto it = m_folders.find(folder);
        if (it == m_folders.end()) {
            std::error_code error;
            fs::path resolved = fs::weakly_canonical(folder.empty() ? "." : folder, error);
            it = m_folders.emplace(folder, error ? folder : resolved.string() + "/").first;
        }
        return it->second + AsciiLower(fileNameOf(path));
    }

  private:
    std::map<std::string, std::string> m_folders;
};

}  // namespace

OutputNames ClaimOutputNames(const RunSettings& settings, const std::vector<std::string>& sources) {
    OutputNames names;
    names.destinations.resize(sources.size());
    NameKeys keys;
    std::unordered_map<std::string, size_t> owner;
    for (size_t i = 0; i < sources.size(); ++i) owner.emplace(keys.of(sources[i]), i);

    auto claim = [&](size_t i, const std::string& path) {
        const auto [it, fresh] = owner.emplace(keys.of(path), i);
        return fresh || it->second == i;
    };
    auto settle = [&](size_t i) {
        const std::string usual = DestinationPathFor(settings, sources[i]);
        if (claim(i, usual)) {
            names.destinations[i] = usual;
            return;
        }
        // "<stem>.<own extension>.jpg", then a number before the last extension.
        const std::string folder = folderOf(usual);
        const std::string name = fileNameOf(usual);
        const std::string last = extensionOf(name);
        const std::string stem = name.substr(0, name.size() - last.size());
        const std::string own = extensionOf(fileNameOf(sources[i]));
        std::string candidate = folder + stem + own + last;
        for (int n = 2; !claim(i, candidate); ++n)
            candidate = folder + stem + own + "." + std::to_string(n) + last;
        names.destinations[i] = candidate;
        names.renamed.push_back(int(i));
    };
    for (size_t i = 0; i < sources.size(); ++i)
        if (!TakesJpegName(settings, sources[i])) settle(i);
    for (size_t i = 0; i < sources.size(); ++i)
        if (TakesJpegName(settings, sources[i])) settle(i);
    std::sort(names.renamed.begin(), names.renamed.end());
    return names;
}

std::string DescribeRenamed(const std::string& source, const std::string& usual,
                            const std::string& destination) {
    return source + " is written as " + fileNameOf(destination) + ": " + fileNameOf(usual) +
           " is another picture's name";
}

}  // namespace corvelle
