#include "core/run_journals.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "core/folder_listing.h"

namespace corvelle {

namespace {

namespace fs = std::filesystem;

constexpr off_t kLargestJournal = 64 << 20;
constexpr std::time_t kStrayJournalAge = 60;

// The whole journal, read through one descriptor so what is checked is what is read.
// Nothing for anything but a regular file within the size limit.
enum class Contents { Text, Empty, NotAJournal, Unreadable };
Contents ReadJournalText(const std::string& path, std::string& text, std::time_t& modified) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? Contents::NotAJournal : Contents::Unreadable;
    struct stat status {};
    Contents result = Contents::Text;
    if (fstat(fd, &status) != 0) {
        result = Contents::Unreadable;
    } else if (!S_ISREG(status.st_mode)) {
        result = Contents::NotAJournal;
    } else if (status.st_size == 0) {
        result = Contents::Empty;
    } else if (status.st_size > kLargestJournal) {
        result = Contents::Unreadable;
    } else {
        text.resize(size_t(status.st_size));
        size_t got = 0;
        while (got < text.size()) {
            const ssize_t n = read(fd, text.data() + got, text.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += size_t(n);
        }
        text.resize(got);  // a journal still being written may have grown or shrunk
        if (got == 0) result = Contents::Empty;
    }
    modified = status.st_mtim.tv_sec;
    close(fd);
    return result;
}

// The folder a record that cannot be parsed still names, read line by line without trust.
FoundJournal::Names NamedFolder(std::string_view text, const FolderIdentity& folder) {
    bool namesSome = false;
    // Birth times aside: a record that cannot be read is taken to be the folder's when in
    // doubt, which keeps it from being passed over.
    const std::string identity =
        "identity " + std::to_string(folder.device) + " " + std::to_string(folder.inode);
    const std::string path = "folder " + EscapeJournalName(folder.path);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line == path || line == identity || line.starts_with(identity + " "))
            return FoundJournal::Names::Asked;
        if (line.starts_with("identity ") || line.starts_with("folder ")) namesSome = true;
        start = end + 1;
    }
    return namesSome ? FoundJournal::Names::Other : FoundJournal::Names::Nothing;
}

std::vector<std::string> JournalPathsNewestFirst(const std::string& journalFolder) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (fs::directory_iterator it(journalFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with("run-") && name.ends_with(".journal")) paths.push_back(it->path());
    }
    // Names hold the run's start time, so their order is the order the runs began.
    std::sort(paths.rbegin(), paths.rend());
    return paths;
}

bool Exists(int dirFd, const std::string& name) { return StampAt(dirFd, name).has_value(); }

// The file is back under its old name, by an undo killed before it could mark it.
bool IsBackUnderOldName(const JournalRecord& record, size_t index, int folderFd,
                        FolderMatch match) {
    const JournalFile& file = record.files[index];
    if (Exists(folderFd, file.newName)) return false;
    const std::optional<FileStamp> old = StampAt(folderFd, file.oldName);
    if (!old || !old->regular) return false;
    if (file.role == JournalFile::Role::Sidecar) return true;
    // The undo gave it back the time it had before the run, or left the run's.
    const bool timeSet = record.done[index].value_or(file.setsTime);
    return IsTheRenamedFile(file, timeSet, *old, match) || IsTheRenamedFile(file, false, *old, match);
}

}  // namespace

std::string AbsoluteFolderPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::optional<FolderIdentity> IdentifyFolder(const std::string& path) {
    const FolderHandle folder(path);
    const std::optional<FileStamp> stamp =
        folder.isOpen() ? StampAt(folder.fd(), "") : std::nullopt;
    if (!stamp) return std::nullopt;
    return FolderIdentity{stamp->device, stamp->inode, stamp->birth, AbsoluteFolderPath(path),
                          HasStableInodes(folder.fd())};
}

FolderMatch MatchFolder(const JournalRecord& record, const FolderIdentity& folder) {
    // A folder made after the recorded one was removed may get its inode number.
    const bool sameBirth =
        !record.birth || !folder.birth || SameTime(*record.birth, *folder.birth);
    if (record.device == folder.device && record.inode == folder.inode && sameBirth)
        return folder.stableInodes ? FolderMatch::SameFolder : FolderMatch::SamePath;
    if (!record.folder.empty() && record.folder == folder.path) return FolderMatch::SamePath;
    return FolderMatch::None;
}

std::vector<FoundJournal> ReadJournals(const std::string& journalFolder,
                                       const FolderIdentity& folder, std::time_t now) {
    std::vector<FoundJournal> found;
    for (const std::string& path : JournalPathsNewestFirst(journalFolder)) {
        std::string text;
        std::time_t modified = 0;
        const Contents contents = ReadJournalText(path, text, modified);
        if (contents == Contents::NotAJournal) continue;
        if (contents == Contents::Empty) {
            // Holds nothing to undo. A young one may be a run about to write its record.
            if (now - modified > kStrayJournalAge) unlink(path.c_str());
            continue;
        }
        FoundJournal journal;
        journal.path = path;
        if (contents == Contents::Unreadable) {
            journal.why = "cannot be read";
        } else {
            journal.read = ParseJournal(text, journal.record, journal.why);
            journal.completeLength = CompleteLinesLength(text);
        }
        if (journal.read == JournalRead::Ok) {
            journal.match = MatchFolder(journal.record, folder);
            journal.names = journal.match == FolderMatch::None ? FoundJournal::Names::Other
                                                               : FoundJournal::Names::Asked;
        } else {
            journal.names = NamedFolder(text, folder);
        }
        found.push_back(std::move(journal));
    }
    return found;
}

bool BlocksFolder(const FoundJournal& journal) {
    // A record that names no folder, damaged or of a newer program, is nobody's: blocking
    // every folder's undo for it would help no one.
    return journal.read != JournalRead::Ok && journal.names == FoundJournal::Names::Asked;
}

bool IsTheRenamedFile(const JournalFile& file, bool timeSet, const FileStamp& now,
                      FolderMatch match) {
    if (match == FolderMatch::SameFolder && file.inode != 0) {
        if (now.inode != file.inode) return false;
        if (file.birth && now.birth) return SameTime(*file.birth, *now.birth);
    }
    const std::optional<timespec> left = file.modifiedAfterRun(timeSet);
    return file.size >= 0 && now.size == file.size && left && SameTime(now.modified, *left);
}

bool IsOpenFile(const JournalRecord& record, size_t index, int folderFd, FolderMatch match) {
    if (index >= record.files.size() || record.reverted[index] || record.skipped[index])
        return false;
    if (record.done[index]) return !IsBackUnderOldName(record, index, folderFd, match);
    // Not marked: the run may have stopped right after renaming it. The very file under its
    // new name (for a sidecar, any file), and nothing under its old one, says so.
    const JournalFile& file = record.files[index];
    const std::optional<FileStamp> now = StampAt(folderFd, file.newName);
    if (!now || Exists(folderFd, file.oldName)) return false;
    return file.role == JournalFile::Role::Sidecar ||
           (file.inode != 0 && IsTheRenamedFile(file, file.setsTime, *now, match));
}

SetCounts CountSets(const JournalRecord& record, const std::vector<bool>& chosen) {
    SetCounts counts;
    std::vector<bool> seen(record.files.size(), false);
    for (size_t i = 0; i < record.files.size() && i < chosen.size(); ++i) {
        if (!chosen[i]) continue;
        const size_t picture = record.files[i].picture;
        if (picture < seen.size() && !seen[picture]) {
            seen[picture] = true;
            ++counts.sets;
        }
        if (record.files[i].role != JournalFile::Role::Picture) ++counts.extras;
    }
    return counts;
}

RunSummary SummarizeRun(const FoundJournal& journal, int folderFd) {
    const JournalRecord& record = journal.record;
    RunSummary run;
    run.journalPath = journal.path;
    run.time = record.time;
    std::vector<bool> renamed(record.files.size()), open(record.files.size());
    for (size_t i = 0; i < record.files.size(); ++i) {
        if (record.skipped[i]) ++run.skipped;
        open[i] = !record.undone && IsOpenFile(record, i, folderFd, journal.match);
        // A file found renamed whose mark a crash cut off counts as renamed too.
        renamed[i] = record.done[i].has_value() || open[i];
    }
    run.renamed = CountSets(record, renamed);
    run.open = CountSets(record, open);
    run.state = record.undone  ? RunSummary::State::Undone
                : record.tried ? RunSummary::State::PartlyUndone
                               : RunSummary::State::Open;
    return run;
}

std::vector<RunSummary> ListRuns(const std::string& folderPath, const std::string& journalFolder,
                                 std::time_t now) {
    std::vector<RunSummary> runs;
    const std::optional<FolderIdentity> folder = IdentifyFolder(folderPath);
    if (!folder) return runs;
    const FolderHandle handle(folderPath);
    for (const FoundJournal& journal : ReadJournals(journalFolder, *folder, now)) {
        if (journal.read != JournalRead::Ok ? !BlocksFolder(journal)
                                            : journal.names != FoundJournal::Names::Asked)
            continue;
        if (journal.read != JournalRead::Ok) {
            RunSummary run;
            run.journalPath = journal.path;
            run.state = RunSummary::State::Damaged;
            run.problem = journal.why;
            runs.push_back(std::move(run));
            continue;
        }
        if (!journal.record.ready) continue;  // nothing was renamed
        runs.push_back(SummarizeRun(journal, handle.fd()));
    }
    return runs;
}

std::optional<RunSummary> UndoableRun(const std::string& folder, const std::string& journalFolder,
                                      std::time_t now) {
    for (RunSummary& run : ListRuns(folder, journalFolder, now)) {
        if (run.state == RunSummary::State::Damaged) return std::nullopt;
        if (run.state != RunSummary::State::Undone) return std::move(run);
    }
    return std::nullopt;
}

void TidyJournals(const std::string& journalFolder, std::time_t now) {
    // Grouped by the folder's recorded path: a card mounted again is still the same folder.
    std::map<std::string, size_t> keptPerFolder;
    const FolderIdentity nowhere;
    for (const FoundJournal& journal : ReadJournals(journalFolder, nowhere, now)) {
        if (journal.read != JournalRead::Ok) continue;
        const JournalRecord& record = journal.record;
        const std::string key = record.folder.empty() ? std::to_string(record.device) + ":" +
                                                            std::to_string(record.inode)
                                                      : record.folder;
        const bool expired =
            record.undone && now - record.undoneTime > std::time_t(kUndoneRunDays) * 24 * 3600;
        if (expired || ++keptPerFolder[key] > kKeptRunsPerFolder) unlink(journal.path.c_str());
    }
}

std::string RunTimeText(std::time_t when) {
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&when, &local) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

}  // namespace corvelle
