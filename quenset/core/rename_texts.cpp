#include "core/rename_texts.h"

namespace corvelle {

std::string FormatCounts(std::string_view format, std::initializer_list<long long> numbers) {
    std::string text;
    auto number = numbers.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%i") == 0 && number != numbers.end()) {
            text += std::to_string(*number++);
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

}  // namespace corvelle
