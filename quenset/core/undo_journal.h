#pragma once

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// The journal of rename runs: one file per run under $XDG_STATE_HOME/Corvelle/Quenset/,
// written and synced before the run's first rename, with one line added and synced after
// each file. It is what `quenset --undo` reverts from.
//
// Format, one item a line, names with every byte outside "!".."~" and "%" written as %XX:
//   Quenset rename journal 1
//   folder <path as given>
//   identity <device> <inode>          of the folder, so any spelling of it finds the run
//   time <seconds since 1970>
//   file <inode> <mtime s> <mtime ns> <sets time 0|1> <old name> <new name>   (planned)
//   ready                               the plan is complete; renaming starts after it
//   done <file index> <time set 0|1>    after that file was renamed (and its time set)
//   undone <seconds since 1970>         the run was reverted
inline constexpr int kJournalVersion = 1;

std::string JournalFolder();

struct JournalFile {
    std::string oldName;
    std::string newName;
    ino_t inode = 0;
    timespec priorModified{};  // the last-write time before the run
    bool setsTime = false;     // the run meant to set the shooting date as last-write time
};

// Writes one run's record. Every failure leaves the writer closed; the run goes on without
// a record (problem() says why).
class RenameJournal {
  public:
    RenameJournal() = default;
    ~RenameJournal();
    RenameJournal(const RenameJournal&) = delete;
    RenameJournal& operator=(const RenameJournal&) = delete;

    // Creates the record in `journalFolder` with the whole plan and syncs it to the disk.
    bool begin(const std::string& journalFolder, int folderFd, const std::string& folderPath,
               std::time_t when, const std::vector<JournalFile>& plan);
    // Marks the file at plan index `index` as renamed; synced before it returns.
    void fileDone(size_t index, bool timeSet);
    // Ends the record; a run that renamed nothing leaves no record.
    void finish(int renamed);

    const std::string& problem() const { return m_problem; }
    const std::string& path() const { return m_path; }

  private:
    bool append(const std::string& text);
    void fail(const std::string& what);

    int m_fd = -1;
    std::string m_path;
    std::string m_problem;
};

// A run's record as read back.
struct JournalRecord {
    std::string folder;
    dev_t device = 0;
    ino_t inode = 0;
    std::time_t time = 0;
    std::vector<JournalFile> files;
    std::vector<std::optional<bool>> done;  // per file: renamed, and whether its time was set
    bool ready = false;
    bool undone = false;
};

enum class JournalRead { Ok, Damaged, Newer };

// Reads a whole record; nothing is taken from a damaged one. A last line without its end
// (a write cut short) is left out, as the file it would mark was still to be completed.
JournalRead ParseJournal(std::string_view text, JournalRecord& record, std::string& why);

// The length of the text's complete lines: what ParseJournal reads.
size_t CompleteLinesLength(std::string_view text);
// Marks a record as reverted, after its complete lines; synced before it returns.
bool MarkJournalUndone(const std::string& path, size_t completeLength, std::time_t when);

std::string EscapeJournalName(std::string_view bytes);

}  // namespace corvelle
