#include "core/picture_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

namespace corvelle {

namespace fs = std::filesystem;

namespace {

std::string lowered(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isPictureName(const std::string& name) {
    return lowered(name).find(".jpg") != std::string::npos;
}

// Names in the order a user sees them in a listing: without regard to case, then by bytes.
bool listingOrder(const std::string& a, const std::string& b) {
    const std::string la = lowered(a), lb = lowered(b);
    return la != lb ? la < lb : a < b;
}

using FolderId = std::pair<dev_t, ino_t>;

void collectFolder(const std::string& folder, bool recursive, std::set<FolderId>& visited,
                   std::vector<std::string>& pictures, const std::function<void(size_t)>& listed) {
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    // A link back up the tree would otherwise make the walk endless.
    if (!visited.insert({st.st_dev, st.st_ino}).second) return;

    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return;
    std::vector<std::string> files, folders;
    for (const fs::directory_entry& entry : it) {
        const std::string name = entry.path().filename().string();
        if (recursive && entry.is_directory(error)) {
            folders.push_back(name);
            continue;
        }
        // Links count for what they point at; a dangling one is listed and fails to load.
        const fs::file_type type = entry.status(error).type();
        if (type == fs::file_type::fifo || type == fs::file_type::socket ||
            type == fs::file_type::character || type == fs::file_type::block)
            continue;
        files.push_back(name);
    }
    std::sort(files.begin(), files.end(), listingOrder);
    std::sort(folders.begin(), folders.end(), listingOrder);
    const std::string prefix = FolderWithoutTrailingSlash(folder) + "/";
    for (const std::string& name : files) {
        if (!isPictureName(name)) continue;
        pictures.push_back(prefix + name);
        if (listed) listed(pictures.size());
    }
    for (const std::string& name : folders)
        collectFolder(prefix + name, recursive, visited, pictures, listed);
}

void splitFileName(const std::string& path, std::string& folder, std::string& stem,
                   std::string& extension) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    folder = path.substr(0, nameStart);
    const std::string name = path.substr(nameStart);
    const size_t dot = name.find_last_of('.');
    stem = dot == std::string::npos ? name : name.substr(0, dot);
    extension = dot == std::string::npos ? "" : name.substr(dot);
}

}  // namespace

std::vector<std::string> CollectPictures(const std::string& folder, bool recursive,
                                         const std::function<void(size_t)>& listed,
                                         const std::string& leftOut) {
    std::vector<std::string> pictures;
    if (folder.empty()) return pictures;
    std::set<FolderId> visited;
    // Marking the left-out folder as walked keeps the walk out of it, however it is
    // reached. The source itself is always walked.
    struct stat left, top;
    if (!leftOut.empty() && stat(leftOut.c_str(), &left) == 0 && S_ISDIR(left.st_mode) &&
        !(stat(folder.c_str(), &top) == 0 && top.st_dev == left.st_dev &&
          top.st_ino == left.st_ino))
        visited.insert({left.st_dev, left.st_ino});
    collectFolder(folder, recursive, visited, pictures, listed);
    return pictures;
}

std::string SourceFolderProblem(const std::string& folder) {
    if (folder.empty()) return "not found";
    struct stat st;
    if (stat(folder.c_str(), &st) != 0)
        return errno == EACCES ? "cannot be read" : "not found";
    if (!S_ISDIR(st.st_mode)) return "not found";
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return "cannot be read";
    closedir(dir);
    return {};
}

std::string FolderWithoutTrailingSlash(const std::string& folder) {
    size_t end = folder.size();
    while (end > 0 && folder[end - 1] == '/') --end;
    return folder.substr(0, end);
}

std::string DestinationPathFor(const RunSettings& settings, const std::string& sourcePath) {
    const std::string source = FolderWithoutTrailingSlash(settings.sourceFolder);
    std::string below = sourcePath.substr(std::min(source.size(), sourcePath.size()));
    if (below.empty() || below.front() != '/') below.insert(below.begin(), '/');
    std::string path = FolderWithoutTrailingSlash(settings.destinationFolder) + below;
    if (settings.prefix.empty() && settings.postfix.empty()) return path;
    std::string folder, stem, extension;
    splitFileName(path, folder, stem, extension);
    return folder + settings.prefix + stem + settings.postfix + extension;
}

bool MakeFolderChain(const std::string& filePath) {
    const size_t slash = filePath.find_last_of('/');
    if (slash == std::string::npos) return true;
    const std::string folder = slash == 0 ? "/" : filePath.substr(0, slash);
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

bool IsSameFolder(const std::string& a, const std::string& b) {
    // Letter case decides on this file system, so texts differing in case alone may well be
    // two folders; the file system settles it when both exist.
    if (FolderWithoutTrailingSlash(a) == FolderWithoutTrailingSlash(b)) return true;
    std::error_code error;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, error);
}

}  // namespace corvelle
