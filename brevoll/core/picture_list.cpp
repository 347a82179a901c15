#include "core/picture_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include <vips/vips8>

#include "core/text.h"

namespace corvelle {

namespace fs = std::filesystem;

namespace {

bool isPictureName(const std::string& name) {
    return AsciiLower(name).find(".jpg") != std::string::npos;
}

bool libraryCanLoad(std::string_view loader) {
    return vips_type_find("VipsOperation", std::string(loader).c_str()) != 0;
}

using FolderId = std::pair<dev_t, ino_t>;

struct FolderEntry {
    std::string name;
    bool regular;
};

struct Collection {
    const CollectOptions& options;
    std::set<FolderId> visited;
    CollectedPictures found;
    std::set<std::string_view> typesLeftOut;

    bool takes(const FolderEntry& entry) {
        if (isPictureName(entry.name)) return true;
        if (!options.allPictureTypes || !entry.regular) return false;
        const auto type = OtherPictureTypeOf(entry.name);
        if (!type) return false;
        if (options.canLoad ? options.canLoad(type->loader) : libraryCanLoad(type->loader))
            return true;
        if (typesLeftOut.insert(type->name).second)
            found.leftOutTypes.push_back(std::string(type->name) +
                                         " pictures cannot be read here; they are left out");
        return false;
    }
};

// Names in the order a user sees them in a listing: without regard to case, then by bytes.
bool listingOrder(const std::string& a, const std::string& b) {
    const std::string la = AsciiLower(a), lb = AsciiLower(b);
    return la != lb ? la < lb : a < b;
}

void collectFolder(const std::string& folder, Collection& collection) {
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    // A link back up the tree would otherwise make the walk endless.
    if (!collection.visited.insert({st.st_dev, st.st_ino}).second) return;

    const bool recursive = collection.options.recursive;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return;
    std::vector<FolderEntry> files;
    std::vector<std::string> folders;
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
        files.push_back({name, type == fs::file_type::regular});
    }
    std::sort(files.begin(), files.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return listingOrder(a.name, b.name);
    });
    std::sort(folders.begin(), folders.end(), listingOrder);
    const std::string prefix = FolderWithoutTrailingSlash(folder) + "/";
    std::vector<std::string>& pictures = collection.found.pictures;
    for (const FolderEntry& file : files) {
        if (!collection.takes(file)) continue;
        pictures.push_back(prefix + file.name);
        if (collection.options.listed) collection.options.listed(pictures.size());
    }
    for (const std::string& name : folders) collectFolder(prefix + name, collection);
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

std::optional<PictureTypeInfo> OtherPictureTypeOf(std::string_view fileName) {
    const std::optional<PictureType> type = PictureTypeOfName(fileName);
    if (!type || PictureTypeInfoOf(*type).loader.empty()) return std::nullopt;
    // A name ending in ".jpg" is the run's own type, kept with its name; ".jpeg" is another.
    if (type == PictureType::kJpeg && !AsciiLower(FileNameOfPath(fileName)).ends_with(".jpeg"))
        return std::nullopt;
    return PictureTypeInfoOf(*type);
}

bool TakesJpegName(const RunSettings& settings, std::string_view sourcePath) {
    return settings.allPictureTypes && OtherPictureTypeOf(sourcePath).has_value();
}

CollectedPictures CollectPictureFiles(const std::string& folder, const CollectOptions& options) {
    Collection collection{options, {}, {}, {}};
    if (folder.empty()) return {};
    // Marking the left-out folder as walked keeps the walk out of it, however it is
    // reached. The source itself is always walked.
    struct stat left, top;
    if (!options.leftOut.empty() && stat(options.leftOut.c_str(), &left) == 0 &&
        S_ISDIR(left.st_mode) &&
        !(stat(folder.c_str(), &top) == 0 && top.st_dev == left.st_dev &&
          top.st_ino == left.st_ino))
        collection.visited.insert({left.st_dev, left.st_ino});
    collectFolder(folder, collection);
    return std::move(collection.found);
}

std::vector<std::string> CollectPictures(const std::string& folder, bool recursive,
                                         const std::function<void(size_t)>& listed,
                                         const std::string& leftOut) {
    CollectOptions options;
    options.recursive = recursive;
    options.listed = listed;
    options.leftOut = leftOut;
    return CollectPictureFiles(folder, options).pictures;
}

std::string SourceFolderProblem(const std::string& folder) {
    if (folder.empty()) return "not found";
    struct stat st;
    if (stat(folder.c_str(), &st) != 0) return errno == EACCES ? "cannot be read" : "not found";
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
    const bool jpegName = TakesJpegName(settings, sourcePath);
    if (settings.prefix.empty() && settings.postfix.empty() && !jpegName) return path;
    std::string folder, stem, extension;
    splitFileName(path, folder, stem, extension);
    // Other picture types are written as JPEG, named so.
    if (jpegName) extension = ".jpg";
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
