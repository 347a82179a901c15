#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// The preview dialog's own texts (its string table and captions).
inline constexpr std::string_view kPreviewCaption = "그림 이름 변경 내용";
inline constexpr std::string_view kNoDateInfo = "No Date info";
inline constexpr std::string_view kLineArrow = "\t-> ";
inline constexpr std::string_view kSummaryFormat =
    "전체 %i개중 %i개 변경 가능/%i개 이름 변경불가능";
inline constexpr std::string_view kFailedCaption = "이름 변경 실패한 파일 항목";  // string 111
inline constexpr std::string_view kRenamedFormat = "%i개의 이름을 성공적으로 변경했습니다.";  // 112
inline constexpr std::string_view kFailuresFormat =  // string 113
    "총 %i개의 파일중 %i개의 파일의 이름 변경을 할 수 없습니다.\n이미 존재하는 파일인지 "
    "검사하십시오";
inline constexpr std::string_view kNothingRenamedText =
    "이름 변경을 할 수 없는 파일(들)입니다.";  // 114
inline constexpr std::string_view kRenameButton = "이름 변경";
inline constexpr std::string_view kCancelButton = "취소";

// Undo and the questions and messages around a run.
inline constexpr std::string_view kUndoMenuEntry = "마지막 이름 변경 되돌리기...";
inline constexpr std::string_view kUndoQuestionFormat =
    "%s에 한 이름 변경을 되돌립니다.\n파일 %i개가 원래 이름으로 돌아갑니다.\n\n되돌리시겠습니까?";
inline constexpr std::string_view kUndoRetryQuestionFormat =
    "%s에 한 이름 변경 중 되돌리지 못한 파일 %i개를 다시 되돌립니다.\n\n되돌리시겠습니까?";
inline constexpr std::string_view kRevertedFormat = "%i개의 이름을 원래대로 되돌렸습니다.";
inline constexpr std::string_view kRevertFailuresFormat =
    "총 %i개의 파일중 %i개의 파일을 되돌릴 수 없습니다.";
inline constexpr std::string_view kNoJournalQuestionFormat =
    "이번 이름 변경은 되돌릴 수 없습니다. 되돌리기 기록을 쓸 수 없습니다:\n%s\n\n그래도 이름을 "
    "변경하시겠습니까?";
inline constexpr std::string_view kFolderMissingFormat = "폴더가 없습니다:\n%s";
inline constexpr std::string_view kNotAFolderFormat = "폴더가 아닙니다:\n%s";
inline constexpr std::string_view kFolderUnreadableFormat = "폴더를 열 수 없습니다:\n%s\n(%s)";
inline constexpr std::string_view kSidecarsCheckBox = "같은 이름의 보조 파일도 함께(&S)";

// Why a file failed, in two tongues: English for stderr and scripts, Korean for the window.
struct Reason {
    std::string english;
    std::string korean;
};
// A reason the system gave (errno), with the Korean words around it.
Reason SystemReason(int error);

inline constexpr std::string_view kFolderBusyKorean =
    "다른 quenset이 이 폴더에서 작업하고 있습니다. 잠시 뒤에 다시 하십시오.";
inline constexpr std::string_view kUndoSkipButton = "남은 파일 건너뛰기";
inline constexpr std::string_view kRunChangedText =
    "그 사이에 이 폴더의 이름 변경 기록이 바뀌었습니다.";
inline constexpr std::string_view kNothingToUndoText = "되돌릴 이름 변경이 없습니다.";
inline constexpr std::string_view kWithExtrasFormat = " (보조 파일 %i개 함께)";
inline constexpr std::string_view kSkippedFormat =
    "%s에 한 이름 변경의 남은 파일 %i개를 건너뛰었습니다. 다음 되돌리기는 그 전의 이름 "
    "변경을 되돌립니다.";

// Puts the numbers, in order, where the format has "%i"; no printf, so a text can never
// read arguments it was not given.
std::string FormatCounts(std::string_view format, std::initializer_list<long long> numbers);
// Puts the texts, in order, where the format has "%s".
std::string FormatTexts(std::string_view format, std::initializer_list<std::string_view> texts);

// The message followed by a blank line and "line: reason" for each file (a line's TAB shown
// as a space), at most maxFiles of them and then how many more.
std::string WithReasons(std::string message, const std::vector<std::string>& lines,
                        const std::vector<Reason>& reasons, size_t maxFiles);

// Why the window cannot list a folder, as the message it shows; empty when it can.
std::string FolderProblemText(const std::string& folder);

}  // namespace corvelle
