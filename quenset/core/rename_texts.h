#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

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

// Puts the numbers, in order, where the format has "%i"; no printf, so a text can never
// read arguments it was not given.
std::string FormatCounts(std::string_view format, std::initializer_list<long long> numbers);

}  // namespace corvelle
