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
    const std::string identity =
        "identity " + std::to_string(folder.device) + " " + std::to_string(folder.inode);
    const std::string path = "folder " + EscapeJournalName(folder.path);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        if (line == identity || line == path) return FoundJournal::Names::Asked;
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

bool Exists(int dirFd, const std::string& name, struct stat* status = nullptr) {
    struct stat local {};
    return fstatat(dirFd, name.c_str(), status ? status : &local, AT_SYMLINK_NOFOLLOW) == 0;
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
    struct stat status {};
    if (!folder.isOpen() || fstat(folder.fd(), &status) != 0) return std::nullopt;
    return FolderIdentity{status.st_dev, status.st_ino, AbsoluteFolderPath(path)};
}

FolderMatch MatchFolder(const JournalRecord& record, const FolderIdentity& folder) {
    if (record.device == folder.device && record.inode == folder.inode)
        return FolderMatch::SameFolder;
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
    if (journal.read == JournalRead::Ok || journal.names == FoundJournal::Names::Other) return false;
    // A record of a newer program that names no folder may still be this folder's; a damaged
    // one that names none is nobody's.
    return journal.names == FoundJournal::Names::Asked || journal.read == JournalRead::Newer;
}

bool IsOpenFile(const JournalRecord& record, size_t index, int folderFd) {
    if (index >= record.files.size() || record.reverted[index]) return false;
    if (record.done[index]) return true;
    // Not marked: the run may have stopped right after renaming it. The very file under its
    // new name, and nothing under its old one, says so.
    const JournalFile& file = record.files[index];
    struct stat status {};
    return file.inode != 0 && Exists(folderFd, file.newName, &status) &&
           status.st_ino == file.inode && !Exists(folderFd, file.oldName);
}

size_t RenamedCount(const JournalRecord& record) {
    return size_t(std::count_if(record.done.begin(), record.done.end(),
                                [](const std::optional<bool>& done) { return done.has_value(); }));
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
        RunSummary run;
        run.journalPath = journal.path;
        if (journal.read != JournalRead::Ok) {
            run.state = RunSummary::State::Damaged;
            run.problem = journal.why;
            runs.push_back(std::move(run));
            continue;
        }
        const JournalRecord& record = journal.record;
        if (!record.ready) continue;  // nothing was renamed
        run.time = record.time;
        run.renamed = RenamedCount(record);
        for (size_t i = 0; i < record.files.size() && !record.undone; ++i)
            if (IsOpenFile(record, i, handle.fd())) ++run.open;
        run.renamed = std::max(run.renamed, run.open);
        run.state = record.undone  ? RunSummary::State::Undone
                    : record.tried ? RunSummary::State::PartlyUndone
                                   : RunSummary::State::Open;
        runs.push_back(std::move(run));
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
