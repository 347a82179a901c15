#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture_types.h"
#include "core/run_settings.h"

namespace corvelle {

// The pictures below a folder in run order: a folder's own pictures (by name) before the
// pictures of its sub-folders, which follow in name order when recursive is on. A picture
// is any entry whose name contains ".jpg" in any case (a folder too, when not recursive);
// pipes, sockets and devices never are, as opening them could wait for ever. The folder
// leftOut (a destination inside the source) is not walked. An empty folder text collects
// nothing. listed(n) is told the count as it grows.
std::vector<std::string> CollectPictures(const std::string& folder, bool recursive,
                                         const std::function<void(size_t)>& listed = {},
                                         const std::string& leftOut = {});

// The picture type a run takes besides the names containing ".jpg", by the file name's
// extension (any case): a type the imaging library loads. Its outputs are JPEG files named
// with ".jpg".
std::optional<PictureTypeInfo> OtherPictureTypeOf(std::string_view fileName);

// Whether the run writes this source as a ".jpg" JPEG of another type.
bool TakesJpegName(const RunSettings& settings, std::string_view sourcePath);

struct CollectOptions {
    bool recursive = true;
    bool allPictureTypes = false;
    std::string leftOut;  // a folder not to walk (a destination inside the source)
    std::function<void(size_t)> listed;
    // Whether the imaging library has a loader; by default the library is asked.
    std::function<bool(std::string_view loader)> canLoad;
};

struct CollectedPictures {
    std::vector<std::string> pictures;
    // One line for each type found that cannot be read here; its files are left out.
    std::vector<std::string> leftOutTypes;
};

// As CollectPictures, with the other picture types when asked: regular files only, and
// only the types the imaging library can load here.
CollectedPictures CollectPictureFiles(const std::string& folder, const CollectOptions& options);

// Why a source folder gives no pictures at all: "not found", "cannot be read", or empty
// when it can be walked.
std::string SourceFolderProblem(const std::string& folder);

// The folder text as a prefix for joining: without trailing separators ("/" stays "").
std::string FolderWithoutTrailingSlash(const std::string& folder);

// Where a source picture goes: its path below the source folder repeated below the
// destination folder, the file name framed by the prefix and postfix.
std::string DestinationPathFor(const RunSettings& settings, const std::string& sourcePath);

// Creates the folder a file path lies in, with any missing ancestors. False when the
// folder does not exist afterwards.
bool MakeFolderChain(const std::string& filePath);

// Whether the two folder texts name the same folder (the same text but for trailing
// separators, or the same existing folder).
bool IsSameFolder(const std::string& a, const std::string& b);

}  // namespace corvelle
