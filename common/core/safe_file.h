#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace corvelle {

// Writes a file so that the target is never left partial: the bytes go to a temporary
// file in the target's folder, and only commit() puts them in place. A writer that is
// destroyed without a successful commit removes its temporary file and leaves the target
// untouched.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false when the folder is not writable.
    bool open();
    // Writes all of bytes to the temporary file; false (with error() set) when it cannot.
    bool write(std::span<const uint8_t> bytes);
    // The temporary file, for writers that take a stream or a path of their own
    // (null / empty before open()).
    std::FILE* stream() { return m_stream; }
    const std::string& tempPath() const { return m_tempPath; }

    // Flushes and closes the temporary file and renames it over the target. A new target
    // gets the permissions a newly created file would get; a replaced one keeps its own.
    // With replaceExisting false an existing target makes commit fail instead.
    bool commit(bool replaceExisting = true);
    // Throws the temporary file away.
    void discard();

    // The errno of the step that failed last (EEXIST when commit found the target taken,
    // ENOSPC for a full disk), 0 while nothing has failed.
    int error() const { return m_error; }

private:
    bool fail();

    int m_error = 0;
    std::string m_target;
    std::string m_tempPath;
    std::FILE* m_stream = nullptr;
};

// The whole file at once through AtomicFileWriter.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

// Renames within the file system without ever replacing an existing file: renameat2 with
// RENAME_NOREPLACE, or link + unlink where the file system refuses that flag. Paths are
// relative to the directory descriptors (AT_FDCWD for plain paths). On failure errno
// tells why (EEXIST when the target exists).
bool RenameNoReplace(int fromDirFd, const std::string& from, int toDirFd, const std::string& to);
bool RenameNoReplace(const std::string& from, const std::string& to);

}  // namespace corvelle
