#include "core/safe_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace corvelle {

namespace {

// A symbolic link is followed, so that saving through a link updates what it points at.
std::string resolveTarget(const std::string& target) {
    char resolved[PATH_MAX];
    struct stat st;
    if (lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        realpath(target.c_str(), resolved) != nullptr)
        return resolved;
    return target;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The mode a newly created file gets. The umask is read from /proc because setting it to
// read it back would race with other threads creating files.
mode_t defaultFileMode() {
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value);
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string target) : m_target(resolveTarget(target)) {}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

bool AtomicFileWriter::fail() {
    m_error = errno != 0 ? errno : EIO;
    return false;
}

bool AtomicFileWriter::open() {
    discard();
    m_error = 0;
    // A short name of its own: one built from the target's name would pass the file
    // system's 255-byte limit for long names.
    std::string pattern = folderOf(m_target) + "/.corvelle-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) return fail();
    m_tempPath = buffer.data();
    m_stream = fdopen(fd, "wb");
    if (m_stream == nullptr) {
        fail();
        close(fd);
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    return true;
}

bool AtomicFileWriter::write(std::span<const uint8_t> bytes) {
    if (m_stream == nullptr) {
        errno = EBADF;
        return fail();
    }
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_stream) != bytes.size())
        return fail();
    return true;
}

bool AtomicFileWriter::commit(bool replaceExisting) {
    if (m_stream == nullptr) {
        if (m_error == 0) m_error = EBADF;
        return false;
    }
    struct stat existing;
    const bool targetExists = stat(m_target.c_str(), &existing) == 0;
    const mode_t mode = targetExists ? (existing.st_mode & 07777) : defaultFileMode();
    // A full disk often shows only when the buffered bytes are flushed or synced.
    bool ok = (std::fflush(m_stream) == 0 && fchmod(fileno(m_stream), mode) == 0 &&
               fsync(fileno(m_stream)) == 0) ||
              fail();
    ok = (std::fclose(m_stream) == 0 || fail()) && ok;
    m_stream = nullptr;
    if (ok) {
        ok = (replaceExisting ? rename(m_tempPath.c_str(), m_target.c_str()) == 0
                              : RenameNoReplace(m_tempPath, m_target)) ||
             fail();
    }
    if (ok) {
        m_tempPath.clear();
    } else {
        discard();
    }
    return ok;
}

void AtomicFileWriter::discard() {
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    if (!m_tempPath.empty()) {
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
    AtomicFileWriter writer(path);
    return writer.open() && writer.write(bytes) && writer.commit();
}

bool RenameNoReplace(int fromDirFd, const std::string& from, int toDirFd, const std::string& to) {
    if (syscall(SYS_renameat2, fromDirFd, from.c_str(), toDirFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // The file system does not know the flag: a hard link fails on an existing target too.
    if (linkat(fromDirFd, from.c_str(), toDirFd, to.c_str(), 0) != 0) return false;
    if (unlinkat(fromDirFd, from.c_str(), 0) != 0) {
        const int saved = errno;
        unlinkat(toDirFd, to.c_str(), 0);
        errno = saved;
        return false;
    }
    return true;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    return RenameNoReplace(AT_FDCWD, from, AT_FDCWD, to);
}

}  // namespace corvelle
