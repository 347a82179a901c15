#pragma once

// Pictures and folder helpers shared by Quenset's suites.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/rename_texts.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle::testing {

// Names come out in the user's time zone: fix it for a test and give the old one back.
class FixedTimeZone {
  public:
    explicit FixedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~FixedTimeZone() {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

  private:
    std::optional<std::string> m_old;
};

inline std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm calendar{};
    calendar.tm_year = year - 1900;
    calendar.tm_mon = month - 1;
    calendar.tm_mday = day;
    calendar.tm_hour = hour;
    calendar.tm_min = minute;
    calendar.tm_sec = second;
    calendar.tm_isdst = -1;
    return std::mktime(&calendar);
}

// A JPEG whose IFD0 holds DateTime and whose EXIF directory holds DateTimeOriginal (either
// may be left out with an empty text).
inline std::vector<uint8_t> JpegWithDates(const std::string& original, const std::string& dateTime,
                                          ByteOrder order = kLittle) {
    TiffDirectory exif;
    if (!original.empty()) exif.ascii(0x9003, original);
    TiffDirectory ifd0;
    ifd0.ascii(0x010F, "NIKON");
    if (!dateTime.empty()) ifd0.ascii(0x0132, dateTime);
    ifd0.subDirectory(0x8769, exif);
    return InsertAfterSoi(EncodeTestJpeg(8, 8), {ExifSegment(BuildTiff(ifd0, order))});
}

// The names in a folder.
inline std::set<std::string> Names(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(folder))
        names.insert(item.path().filename());
    return names;
}

inline void SetModifiedTime(const std::string& path, std::time_t when) {
    const timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

inline struct statx StatusOf(const std::string& path) {
    struct statx status {};
    statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &status);
    return status;
}

// What the program must take as the file's creation time.
inline std::time_t CreationTimeOf(const std::string& path) {
    const struct statx status = StatusOf(path);
    return (status.stx_mask & STATX_BTIME) ? status.stx_btime.tv_sec : status.stx_mtime.tv_sec;
}

// The English words of each reason, as scripts see them.
inline std::vector<std::string> English(const std::vector<Reason>& reasons) {
    std::vector<std::string> texts;
    for (const Reason& reason : reasons) texts.push_back(reason.english);
    return texts;
}

}  // namespace corvelle::testing
