#include "core/error_report.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/run_settings.h"
#include "core/settings_names.h"
#include "core/settings_store.h"
#include "core/step_record.h"

namespace corvelle {

namespace names = brevoll_settings;

namespace {

// The message shown after the report was written; %s is the picture under way. The
// report is not in the program's folder on this system, so its full path follows on a
// line of its own.
constexpr const char* kAbnormalEndMessageHead =
    "이전 실행에서 사진 파일 변환중 오류가 발생했습니다. \n"
    "프로그램이 설치된 폴더의 Error.txt와\n";
constexpr const char* kAbnormalEndMessageTail =
    " [%s] 파일을 \n"
    "작성자의 연락처(corvelle@users.noreply.example)으로 보내주시기 바랍니다. \n"
    "프로그램 안정화에 도움이 될것입니다. \n"
    "감사합니다.";

std::string formatted(const char* format, const std::string& value) {
    const int size = std::snprintf(nullptr, 0, format, value.c_str());
    std::string text(size_t(size > 0 ? size : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, value.c_str());
    return text;
}

}  // namespace

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
    if (method == kMethodRatio)
        std::fprintf(file, "%i%% resize\r\n",
                     store.readInt(s, names::kSizeRatio, names::kDefaultSizeRatio));
    else
        std::fprintf(file, "%i pixel resize\r\n",
                     store.readInt(s, names::kFixSize, names::kDefaultFixSize));
    std::fprintf(file, "Source Path = %s\r\n", store.readString(s, names::kSourcePath, "").c_str());
    std::fprintf(file, "Dest. Path = %s\r\n", store.readString(s, names::kDestPath, "").c_str());
    std::fprintf(file, "Include Sub-Folder = %i, Compress Ratio = %i, Include Exif = %i\r\n\r\n",
                 store.readInt(s, names::kRecursive, names::kDefaultRecursive),
                 store.readInt(s, names::kCompressRatio, names::kDefaultCompressRatio),
                 store.readInt(s, names::kExifInfo, names::kDefaultExifInfo));
    const bool written = std::fclose(file) == 0;
    if (!written) return std::nullopt;

    if (markerInSettings) store.writeString(s, names::kErrorOperation, "");
    StepRecordFile(recordPath).write({"", currentImage});
    return kAbnormalEndMessageHead + reportPath + "\n" +
           formatted(kAbnormalEndMessageTail, currentImage);
}

}  // namespace corvelle
