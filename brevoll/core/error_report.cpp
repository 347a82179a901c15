#include "core/error_report.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/run_settings.h"
#include "core/settings_names.h"
#include "core/settings_store.h"
#include "core/step_record.h"
#include "corvelle/build_info.h"

namespace corvelle {

namespace names = brevoll_settings;

namespace {

// The message shown after the report was written; %s is the picture under way. The
// report is not in the program's folder on this system, so its full path follows on a
// line of its own.
constexpr const char* kAbnormalEndMessageHead =
    "이전 실행에서 사진 파일 변환중 오류가 발생했습니다. \n"
    "아래 경로의 Error.txt와\n";
constexpr const char* kAbnormalEndMessageTail =
    " [%s] 파일을 \n"
    "작성자의 연락처(%s)으로 보내주시기 바랍니다. \n"
    "프로그램 안정화에 도움이 될것입니다. \n"
    "감사합니다.";

template <typename... Values>
std::string formatted(const char* format, Values... values) {
    const int size = std::snprintf(nullptr, 0, format, values...);
    std::string text(size_t(size > 0 ? size : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return path.empty() || error ? path : absolute.string();
}

}  // namespace

std::string DescribeRunForReport(const RunSettings& r) {
    std::string size;
    if (r.method == kMethodRatio)
        size = formatted("%i%% resize\r\n", int(r.sizeValue));
    else if (r.method == kMethodPixel)
        size = formatted("%i pixel resize\r\n", int(r.sizeValue));
    else
        size = formatted("%i x %i pixel resize\r\n", BoundWidth(r), BoundHeight(r));
    return size + "Source Path = " + absolutePath(r.sourceFolder) + "\r\n" +
           "Dest. Path = " + absolutePath(r.destinationFolder) + "\r\n" +
           formatted("Include Sub-Folder = %i, Compress Ratio = %i, Include Exif = %i\r\n\r\n",
                     r.recursive ? 1 : 0, int(r.quality), r.copyExif ? 1 : 0);
}

std::string ErrorReportPath() { return StateHomeFolder() + "/Corvelle/Brevoll/Error.txt"; }

std::optional<std::string> ReportAbnormalEnd(SettingsStore& store, const std::string& recordPath,
                                             const std::string& reportPath) {
    const std::string_view s = kBrevollSection;
    StepRecord record = ReadStepRecord(recordPath);
    // Earlier versions kept the marker among the settings.
    const bool markerInSettings = !store.readString(s, names::kErrorOperation, "").empty();
    if (record.step.empty() && markerInSettings)
        record = {store.readString(s, names::kErrorOperation, ""),
                  store.readString(s, names::kCurrentImage, "")};
    const std::string& step = record.step;
    if (step.empty()) return std::nullopt;

    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(reportPath).parent_path(), error);
    std::FILE* file = std::fopen(reportPath.c_str(), "ab");
    if (file == nullptr) return std::nullopt;

    const std::string& currentImage = record.currentImage;
    const int method = store.readInt(s, names::kMethod, names::kDefaultMethod);
    std::fprintf(file, "Error Operation : %s\r\n", step.c_str());
    std::fprintf(file, "Error File Path : %s\r\n", currentImage.c_str());
    // The run that was killed says what it was; a record of an earlier version only has
    // the stored settings to go by.
    if (!record.run.empty())
        std::fputs(record.run.c_str(), file);
    else if (method == kMethodRatio)
        std::fprintf(file, "%i%% resize\r\n",
                     store.readInt(s, names::kSizeRatio, names::kDefaultSizeRatio));
    else
        std::fprintf(file, "%i pixel resize\r\n",
                     store.readInt(s, names::kFixSize, names::kDefaultFixSize));
    if (record.run.empty()) {
        std::fprintf(file, "Source Path = %s\r\n",
                     store.readString(s, names::kSourcePath, "").c_str());
        std::fprintf(file, "Dest. Path = %s\r\n", store.readString(s, names::kDestPath, "").c_str());
        std::fprintf(file,
                     "Include Sub-Folder = %i, Compress Ratio = %i, Include Exif = %i\r\n\r\n",
                     store.readInt(s, names::kRecursive, names::kDefaultRecursive),
                     store.readInt(s, names::kCompressRatio, names::kDefaultCompressRatio),
                     store.readInt(s, names::kExifInfo, names::kDefaultExifInfo));
    }
    const bool written = std::fclose(file) == 0;
    if (!written) return std::nullopt;

    if (markerInSettings) store.writeString(s, names::kErrorOperation, "");
    StepRecordFile(recordPath).write({"", currentImage, {}});
    return kAbnormalEndMessageHead + reportPath + "\n" +
           formatted(kAbnormalEndMessageTail, currentImage.c_str(), kContactEmail);
}

}  // namespace corvelle
