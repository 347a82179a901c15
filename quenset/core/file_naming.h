#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "core/date_lookup.h"
#include "core/folder_listing.h"
#include "core/name_template.h"

namespace corvelle {

// An EXIF date text ("2004:03:15 14:25:30") as a moment in the user's time zone: six numbers
// split at ":" and " ", missing ones 0, carried over as mktime does (month 13 is January of
// the next year). None when year, month and day are all 0, or the moment is before 1970 or
// cannot be represented.
std::optional<std::time_t> ParseShootingDate(std::string_view text);

struct FileName {
    std::string newName;        // empty when the file has no usable date
    std::time_t dateValue = 0;  // the EXIF moment; 0 unless the name came from EXIF
};

// The new name of one listed file of an open folder. Serial mode counts from position + 1.
// Date mode uses the EXIF shooting date when asked to and present (an unusable one gives no
// name rather than falling back), else the file's creation time as listed; only an
// EXIF-dated name carries a date value.
FileName NameForFile(int dirFd, const ListedFile& file, size_t position,
                     const NameTemplate& nameTemplate, bool useExif,
                     const FileOpener& open = OpenRegularFileAt);

}  // namespace corvelle
