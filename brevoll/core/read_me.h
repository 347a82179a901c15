#pragma once

#include <string>

namespace corvelle {

// The Korean guide to every option of the main dialog, in the dialog's order (UTF-8).
extern const char* const kBrevollReadMe;

// Where "&Read me" puts the guide: the user's data folder, as the program's own folder is
// not writable once installed.
std::string ReadMePath();

// Writes the guide to path (creating its folders), replacing any older copy whole.
bool WriteReadMe(const std::string& path);

}  // namespace corvelle
