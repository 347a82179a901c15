#pragma once

#include <string>
#include <vector>

namespace corvelle {

// ASCII letters folded to lower case, as every comparison of names does.
std::string FoldCase(std::string_view text);
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// Positions whose non-empty new name is shared (case-insensitively) with another position.
std::vector<size_t> DuplicatePositions(const std::vector<std::string>& newNames);

// Gives the duplicates distinct names: each distinct name keeps its own counter from 001 in
// list order, and the number goes before the last "." (name-001.jpg). So interleaved
// duplicates A, B, A, B become A-001, B-001, A-002, B-002, and runs that do not interleave
// are numbered 001, 002, ... each. Numbered names are not checked again: one that still
// equals another name fails at rename time, which never replaces a file.
void NumberDuplicates(std::vector<std::string>& newNames);

}  // namespace corvelle
