#include "core/rename_texts.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

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

namespace corvelle {

std::string FormatTexts(std::string_view format, std::initializer_list<std::string_view> texts) {
    std::string result;
    auto text = texts.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%s") == 0 && text != texts.end()) {
            result += *text++;
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}

Reason SystemReason(int error) {
    const std::string text = std::strerror(error);
    return {text, "시스템 오류: " + text};
}

std::string WithReasons(std::string message, const std::vector<std::string>& lines,
                        const std::vector<Reason>& reasons, size_t maxFiles) {
    const size_t count = std::min(lines.size(), reasons.size());
    for (size_t i = 0; i < count && i < maxFiles; ++i) {
        std::string line = lines[i];
        std::replace(line.begin(), line.end(), '\t', ' ');
        message += (i == 0 ? "\n\n" : "\n") + line + ": " + reasons[i].korean;
    }
    if (count > maxFiles) message += "\n… (+" + std::to_string(count - maxFiles) + ")";
    return message;
}

std::string FolderProblemText(const std::string& folder) {
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR
                   ? FormatTexts(kFolderMissingFormat, {folder})
                   : FormatTexts(kFolderUnreadableFormat, {folder, std::strerror(errno)});
    if (!S_ISDIR(status.st_mode)) return FormatTexts(kNotAFolderFormat, {folder});
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FormatTexts(kFolderUnreadableFormat, {folder, std::strerror(errno)});
    close(fd);
    return {};
}

}  // namespace corvelle
