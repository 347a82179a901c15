#include "core/undo_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "core/file_identity.h"
#include "core/settings_store.h"

namespace corvelle {

namespace {

constexpr std::string_view kMagic = "Quenset rename journal ";

bool SyncFolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t wrote = write(fd, text.data(), text.size());
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        text.remove_prefix(size_t(wrote));
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += char(high * 16 + low);
        i += 2;
    }
    return bytes;
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start <= line.size()) {
        const size_t space = line.find(' ', start);
        const size_t end = space == std::string_view::npos ? line.size() : space;
        fields.push_back(line.substr(start, end - start));
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    return fields;
}

// Where each item of a "file" line sits, by journal version (0: the version has none).
struct FileFields {
    size_t count, birth, size, modified, setsTime, shooting, role, oldName;
};
constexpr FileFields kFileFields[] = {
    {7, 0, 0, 2, 4, 0, 0, 5},
    {9, 0, 2, 3, 5, 6, 0, 7},
    {13, 2, 4, 5, 7, 8, 9, 11},
};
static_assert(std::size(kFileFields) == kJournalVersion);

bool ReadOptionalTime(std::string_view seconds, std::string_view nanoseconds,
               std::optional<timespec>& birth) {
    birth.reset();
    if (seconds == "-" && nanoseconds == "-") return true;
    long long s = 0;
    long ns = 0;
    if (!ReadNumber(seconds, s) || !ReadNumber(nanoseconds, ns) || ns < 0 || ns >= 1000000000)
        return false;
    birth = timespec{std::time_t(s), ns};
    return true;
}

// A sidecar or companion names the picture of its set, which comes before it.
bool ReadRole(std::string_view role, std::string_view picture,
              const std::vector<JournalFile>& before, JournalFile& file) {
    if (role == "p") return picture == std::to_string(before.size());
    if (role != "s" && role != "c") return false;
    if (!ReadNumber(picture, file.picture) || file.picture >= before.size() ||
        before[file.picture].role != JournalFile::Role::Picture)
        return false;
    file.role = role == "s" ? JournalFile::Role::Sidecar : JournalFile::Role::Companion;
    return true;
}

}  // namespace

std::string JournalFolder() { return StateHomeFolder() + "/Corvelle/Quenset"; }

std::string EscapeJournalName(std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F && byte != '%') {
            text += c;
        } else {
            text += '%';
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
    }
    return text;
}

RenameJournal::~RenameJournal() {
    if (m_fd >= 0) close(m_fd);
}

void RenameJournal::fail(const std::string& what) {
    m_problem = what + (m_path.empty() ? std::string() : " " + m_path) + ": " + std::strerror(errno);
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

bool RenameJournal::append(const std::string& text) {
    if (m_fd < 0) return false;
    if (!WriteAll(m_fd, text) || fdatasync(m_fd) != 0) {
        fail("cannot write the undo journal");
        return false;
    }
    return true;
}

bool RenameJournal::begin(const std::string& journalFolder, int folderFd,
                          const std::string& folderPath, std::time_t when,
                          const std::vector<JournalFile>& plan) {
    std::error_code ec;
    std::filesystem::create_directories(journalFolder, ec);
    const std::optional<FileStamp> folder = StampAt(folderFd, "");
    if (!folder) {
        fail("cannot read the folder for the undo journal");
        return false;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // Names sort in the order the runs began.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        char name[96];
        std::snprintf(name, sizeof name, "/run-%020lld-%09ld-%d-%02d.journal",
                      static_cast<long long>(now.tv_sec), now.tv_nsec, int(getpid()), attempt);
        m_path = journalFolder + name;
        m_fd = open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        if (m_fd < 0 && errno != EEXIST) break;
    }
    if (m_fd < 0) {
        fail("cannot create the undo journal");
        m_path.clear();
        return false;
    }

    std::string text = std::string(kMagic) + std::to_string(kJournalVersion) + "\n";
    text += "folder " + EscapeJournalName(folderPath) + "\n";
    text += "identity " + std::to_string(folder->device) + " " + std::to_string(folder->inode) +
            " " + OptionalTimeText(folder->birth) + "\n";
    text += "time " + std::to_string(static_cast<long long>(when)) + "\n";
    static const char kRoles[] = {'p', 's', 'c'};
    for (const JournalFile& file : plan) {
        text += "file " + std::to_string(file.inode) + " " + OptionalTimeText(file.birth) + " " +
                std::to_string(file.size) + " " +
                std::to_string(static_cast<long long>(file.priorModified.tv_sec)) + " " +
                std::to_string(file.priorModified.tv_nsec) + " " + (file.setsTime ? "1 " : "0 ") +
                std::to_string(static_cast<long long>(file.shootingTime)) + " " +
                kRoles[int(file.role)] + " " + std::to_string(file.picture) + " " +
                EscapeJournalName(file.oldName) + " " + EscapeJournalName(file.newName) + "\n";
    }
    text += "ready\n";
    if (!WriteAll(m_fd, text) || fsync(m_fd) != 0 || !SyncFolderOf(m_path)) {
        fail("cannot write the undo journal");
        unlink(m_path.c_str());
        m_path.clear();
        return false;
    }
    return true;
}

void RenameJournal::fileDone(size_t index, bool timeSet, const std::optional<timespec>& left) {
    append("done " + std::to_string(index) + (timeSet ? " 1 " : " 0 ") + OptionalTimeText(left) + "\n");
}

void RenameJournal::finish(int renamed) {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
    if (renamed == 0 && !m_path.empty()) unlink(m_path.c_str());
}

JournalRead ParseJournal(std::string_view text, JournalRecord& record, std::string& why) {
    record = JournalRecord{};
    int lineNumber = 0;
    auto damaged = [&](const char* what) {
        why = "line " + std::to_string(lineNumber) + ": " + what;
        record = JournalRecord{};
        return JournalRead::Damaged;
    };
    bool haveFolder = false, haveIdentity = false, haveTime = false;
    int version = 0;
    FileFields layout{};
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) break;  // a line cut short: not yet written
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        ++lineNumber;
        const std::vector<std::string_view> fields = Fields(line);
        const std::string_view key = fields[0];
        if (lineNumber == 1) {
            if (!line.starts_with(kMagic) || !ReadNumber(line.substr(kMagic.size()), version) ||
                version < 1)
                return damaged("not a Quenset rename journal");
            if (version > kJournalVersion) {
                why = "written by a newer Quenset (journal version " + std::to_string(version) + ")";
                record = JournalRecord{};
                return JournalRead::Newer;
            }
            layout = kFileFields[version - 1];
            continue;
        }
        if (key == "folder" && fields.size() == 2 && !haveFolder && !record.ready) {
            const auto folder = Unescape(fields[1]);
            if (!folder) return damaged("bad folder name");
            record.folder = *folder;
            haveFolder = true;
        } else if (key == "identity" && fields.size() == (version < 3 ? 3u : 5u) &&
                   !haveIdentity && !record.ready) {
            if (!ReadNumber(fields[1], record.device) || !ReadNumber(fields[2], record.inode) ||
                (version >= 3 && !ReadOptionalTime(fields[3], fields[4], record.birth)))
                return damaged("bad folder identity");
            haveIdentity = true;
        } else if (key == "time" && fields.size() == 2 && !haveTime && !record.ready) {
            long long time = 0;
            if (!ReadNumber(fields[1], time)) return damaged("bad time");
            record.time = std::time_t(time);
            haveTime = true;
        } else if (key == "file" && fields.size() == layout.count && !record.ready) {
            JournalFile file;
            long long seconds = 0;
            long nanoseconds = 0;
            long long shooting = -1;
            const auto oldName = Unescape(fields[layout.oldName]);
            const auto newName = Unescape(fields[layout.oldName + 1]);
            const std::string_view setsTime = fields[layout.setsTime];
            if (!ReadNumber(fields[1], file.inode) ||
                (layout.birth && !ReadOptionalTime(fields[layout.birth], fields[layout.birth + 1],
                                            file.birth)) ||
                (layout.size && (!ReadNumber(fields[layout.size], file.size) || file.size < -1)) ||
                !ReadNumber(fields[layout.modified], seconds) ||
                !ReadNumber(fields[layout.modified + 1], nanoseconds) || nanoseconds < 0 ||
                nanoseconds >= 1000000000 || (setsTime != "0" && setsTime != "1") ||
                (layout.shooting && !ReadNumber(fields[layout.shooting], shooting)) || !oldName ||
                !newName || oldName->empty() || newName->empty())
                return damaged("bad file entry");
            file.picture = record.files.size();
            if (layout.role && !ReadRole(fields[layout.role], fields[layout.role + 1],
                                         record.files, file))
                return damaged("bad file set");
            file.priorModified = {std::time_t(seconds), nanoseconds};
            file.setsTime = setsTime == "1";
            file.shootingTime = std::time_t(shooting);
            file.oldName = *oldName;
            file.newName = *newName;
            record.files.push_back(std::move(file));
        } else if (key == "ready" && fields.size() == 1 && !record.ready) {
            if (!haveFolder || !haveIdentity || !haveTime) return damaged("header incomplete");
            record.ready = true;
            record.done.assign(record.files.size(), std::nullopt);
            record.reverted.assign(record.files.size(), false);
            record.skipped.assign(record.files.size(), false);
        } else if (key == "done" && fields.size() == (version < 3 ? 3u : 5u) && record.ready &&
                   !record.undone) {
            size_t index = 0;
            if (!ReadNumber(fields[1], index) || index >= record.files.size() ||
                (fields[2] != "0" && fields[2] != "1") || record.done[index] ||
                (version >= 3 && !ReadOptionalTime(fields[3], fields[4], record.files[index].modifiedLeft)))
                return damaged("bad done mark");
            record.done[index] = fields[2] == "1";
        } else if ((key == "reverted" || (key == "skipped" && version >= 3)) &&
                   fields.size() == 2 && record.ready && !record.undone) {
            size_t index = 0;
            if (!ReadNumber(fields[1], index) || index >= record.files.size() ||
                record.reverted[index] || record.skipped[index])
                return damaged("bad undo mark");
            (key == "reverted" ? record.reverted : record.skipped)[index] = true;
        } else if ((key == "undone" || key == "tried") && fields.size() == 2 && record.ready &&
                   !record.undone) {
            long long time = 0;
            if (!ReadNumber(fields[1], time)) return damaged("bad undo mark");
            if (key == "tried") {
                record.tried = true;
            } else {
                record.undone = true;
                record.undoneTime = std::time_t(time);
            }
        } else {
            return damaged("unexpected line");
        }
    }
    if (lineNumber == 0) return damaged("empty");
    // Every file has its marks, also in a record whose plan was never completed.
    record.done.resize(record.files.size());
    record.reverted.resize(record.files.size());
    record.skipped.resize(record.files.size());
    return JournalRead::Ok;
}

size_t CompleteLinesLength(std::string_view text) {
    const size_t last = text.rfind('\n');
    return last == std::string_view::npos ? 0 : last + 1;
}

std::optional<timespec> JournalFile::modifiedAfterRun(bool timeSet) const {
    if (modifiedLeft) return modifiedLeft;
    if (!timeSet) return priorModified;
    if (shootingTime < 0) return std::nullopt;
    return timespec{shootingTime, 0};
}

JournalAppender::JournalAppender(const std::string& path, size_t completeLength)
    : m_fd(open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC)), m_path(path) {
    if (m_fd < 0) {
        fail("cannot open the undo journal");
    } else if (ftruncate(m_fd, off_t(completeLength)) != 0) {
        fail("cannot mend the undo journal");
    }
}

JournalAppender::~JournalAppender() {
    if (m_fd >= 0) close(m_fd);
}

void JournalAppender::fail(const std::string& what) {
    // The first reason is the one worth telling; later marks fail for the same one.
    if (m_problem.empty()) m_problem = what + " " + m_path + ": " + std::strerror(errno);
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

bool JournalAppender::append(const std::string& line) {
    if (m_fd < 0) return false;
    if (!WriteAll(m_fd, line + "\n") || fdatasync(m_fd) != 0) {
        fail("cannot mark the undo journal");
        return false;
    }
    return true;
}

}  // namespace corvelle
