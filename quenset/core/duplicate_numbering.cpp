#include "core/duplicate_numbering.h"

#include <cstdio>
#include <unordered_map>

#include "core/text.h"

namespace corvelle {

namespace {

std::string NumberedName(const std::string& name, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "-%03d", number);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return name + digits;
    return name.substr(0, dot) + digits + name.substr(dot);
}

}  // namespace

std::string FoldCase(std::string_view text) {
    return AsciiLower(text);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

std::vector<size_t> DuplicatePositions(const std::vector<std::string>& newNames) {
    std::unordered_map<std::string, int> uses;
    for (const std::string& name : newNames)
        if (!name.empty()) ++uses[FoldCase(name)];
    std::vector<size_t> positions;
    for (size_t p = 0; p < newNames.size(); ++p)
        if (!newNames[p].empty() && uses[FoldCase(newNames[p])] > 1) positions.push_back(p);
    return positions;
}

void NumberDuplicates(std::vector<std::string>& newNames) {
    std::unordered_map<std::string, int> counters;
    for (size_t p : DuplicatePositions(newNames)) {
        std::string& name = newNames[p];
        name = NumberedName(name, ++counters[FoldCase(name)]);
    }
}

}  // namespace corvelle
