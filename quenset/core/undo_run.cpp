#include "core/undo_run.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/folder_listing.h"
#include "core/rename_texts.h"
#include "core/safe_file.h"
#include "core/undo_journal.h"

namespace corvelle {

namespace {

constexpr std::uintmax_t kLargestJournal = 64u << 20;
constexpr std::string_view kRevertedFormat = "%i개의 이름을 원래대로 되돌렸습니다.";
constexpr std::string_view kRevertFailuresFormat =
    "총 %i개의 파일중 %i개의 파일을 되돌릴 수 없습니다.";

std::vector<std::string> JournalsNewestFirst(const std::string& journalFolder) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(journalFolder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with("run-") && name.ends_with(".journal")) paths.push_back(it->path());
    }
    std::sort(paths.rbegin(), paths.rend());
    return paths;
}

bool ReadWhole(const std::string& path, std::string& text) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kLargestJournal) return false;
    std::ifstream in(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return bool(in) || in.eof();
}

// A damaged record may still say which folder it belongs to; one that plainly belongs to
// another folder does not stand in the way.
bool MayBelongTo(std::string_view text, const struct stat& folder) {
    const std::string wanted =
        "\nidentity " + std::to_string(folder.st_dev) + " " + std::to_string(folder.st_ino) + "\n";
    if (text.find(wanted) != std::string_view::npos) return true;
    return text.find("\nidentity ") == std::string_view::npos;
}

bool Exists(int dirFd, const std::string& name, struct stat* status = nullptr) {
    struct stat local {};
    return fstatat(dirFd, name.c_str(), status ? status : &local, AT_SYMLINK_NOFOLLOW) == 0;
}

void Fail(UndoOutcome& outcome, const JournalFile& file, const std::string& reason) {
    outcome.failureLines.push_back(file.newName + std::string(kLineArrow) + file.oldName);
    outcome.failureReasons.push_back(reason);
}

}  // namespace

UndoOutcome UndoLastRun(const std::string& folderPath, const std::string& journalFolder) {
    UndoOutcome outcome;
    const FolderHandle folder(folderPath);
    struct stat identity {};
    if (!folder.isOpen() || fstat(folder.fd(), &identity) != 0) {
        outcome.refusal = "cannot open folder " + folderPath + ": " + std::strerror(errno);
        return outcome;
    }

    JournalRecord record;
    std::string text;
    for (const std::string& path : JournalsNewestFirst(journalFolder)) {
        std::string why;
        JournalRead read = JournalRead::Damaged;
        text.clear();
        if (ReadWhole(path, text)) {
            read = ParseJournal(text, record, why);
        } else {
            why = "cannot be read";
        }
        if (read != JournalRead::Ok) {
            // It could be the folder's last run: reverting an older one instead would be wrong.
            if (!MayBelongTo(text, identity)) continue;
            outcome.refusal = "the undo journal " + path +
                              (read == JournalRead::Newer ? " was " + why
                                                          : " is damaged (" + why + ")") +
                              "; nothing was reverted";
            return outcome;
        }
        if (record.device != identity.st_dev || record.inode != identity.st_ino) continue;
        if (!record.ready || record.undone) continue;
        outcome.journalPath = path;
        break;
    }
    if (outcome.journalPath.empty()) {
        outcome.refusal = "no rename run to undo in " + folderPath;
        return outcome;
    }

    const int fd = folder.fd();
    for (size_t i = record.files.size(); i-- > 0;) {
        const JournalFile& file = record.files[i];
        std::optional<bool> timeSet = record.done[i];
        if (!timeSet) {
            // Not marked: the run may have stopped right after renaming it. The very file
            // under its new name, and nothing under its old one, says so.
            struct stat status {};
            if (file.inode == 0 || !Exists(fd, file.newName, &status) ||
                status.st_ino != file.inode || Exists(fd, file.oldName))
                continue;
            timeSet = file.setsTime;
        }
        if (file.newName.find('/') != std::string::npos ||
            file.oldName.find('/') != std::string::npos) {
            Fail(outcome, file, "not a name in this folder");
            continue;
        }
        if (!Exists(fd, file.newName)) {
            Fail(outcome, file, "no longer there under its new name");
            continue;
        }
        if (!RenameNoReplace(fd, file.newName, fd, file.oldName)) {
            Fail(outcome, file,
                 errno == EEXIST ? "a file of the old name exists; both left as they are"
                                 : std::string(std::strerror(errno)));
            continue;
        }
        if (*timeSet) {
            const timespec times[2] = {{0, UTIME_OMIT}, file.priorModified};
            if (utimensat(fd, file.oldName.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
                Fail(outcome, file,
                     std::string("old name back, last-write time not: ") + std::strerror(errno));
                continue;
            }
        }
        ++outcome.reverted;
    }
    // The run counts as reverted even when some files failed: the next undo goes one run
    // further back, and the failures were reported.
    if (!MarkJournalUndone(outcome.journalPath, CompleteLinesLength(text), std::time(nullptr)))
        outcome.failureReasons.push_back("cannot mark the journal as reverted");
    return outcome;
}

int RunUndo(const std::string& folder, std::FILE* out, std::FILE* err) {
    const UndoOutcome outcome = UndoLastRun(folder, JournalFolder());
    if (!outcome.refusal.empty()) {
        std::fprintf(err, "quenset: %s\n", outcome.refusal.c_str());
        return 1;
    }
    auto print = [out](const std::string& line) {
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
    };
    const long long failures = static_cast<long long>(outcome.failureLines.size());
    if (failures > 0) {
        print(FormatCounts(kRevertFailuresFormat, {outcome.reverted + failures, failures}));
    } else {
        print(FormatCounts(kRevertedFormat, {outcome.reverted}));
    }
    for (size_t i = 0; i < outcome.failureLines.size(); ++i) {
        print(outcome.failureLines[i]);
        std::fprintf(err, "quenset: %s: %s\n", outcome.failureLines[i].c_str(),
                     outcome.failureReasons[i].c_str());
    }
    if (outcome.failureReasons.size() > outcome.failureLines.size())
        std::fprintf(err, "quenset: %s\n", outcome.failureReasons.back().c_str());
    return outcome.failed() ? 1 : 0;
}

}  // namespace corvelle
