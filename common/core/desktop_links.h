#pragma once

#include <string>
#include <string_view>

namespace corvelle {

// Where a link of an About box leads: a target with "@" is a mail address, one starting at
// the root a local file, anything else a web address ("http://" is added when it names no
// scheme).
std::string LinkUrl(std::string_view target);

// Whether `program` is an executable file in one of the folders of `searchPath` (the
// colon-separated form of PATH). The desktop opener xdg-open is only recommended by the
// package, so the windows ask before they rely on it.
bool IsProgramOnPath(std::string_view program, std::string_view searchPath);

}  // namespace corvelle
