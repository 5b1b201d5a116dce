// \brief The locked read, merge and write of a report file.
#include "crash/delivery/file/report_file_writer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace kestrix {
namespace {

// Creates the folder and its missing parents with mode 0700; 0 or the error number.
int CreateFolders(const std::filesystem::path& folder) {
    if (folder.empty() || folder == folder.root_path()) {
        return 0;
    }
    struct stat status {};
    if (stat(folder.c_str(), &status) == 0) {
        return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
    }
    if (const int error = CreateFolders(folder.parent_path()); error != 0) {
        return error;
    }
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST ? 0 : errno;
}

// A descriptor that closes itself.
class FileDescriptor {
  public:
    explicit FileDescriptor(int descriptor = -1) : m_descriptor(descriptor) {}
    ~FileDescriptor() {
        if (m_descriptor >= 0) {
            close(m_descriptor);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(m_descriptor, other.m_descriptor);
        return *this;
    }
    int Get() const { return m_descriptor; }

  private:
    int m_descriptor;
};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens the file and locks it; retries when the file was replaced while this waited for the lock,
// so that the lock held is the lock of the file at that path.
int OpenLocked(const std::filesystem::path& file, FileDescriptor& result, struct stat& status) {
    for (;;) {
        FileDescriptor descriptor(
            open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
        if (descriptor.Get() < 0) {
            return errno;
        }
        while (flock(descriptor.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                return errno;
            }
        }
        struct stat atPath {};
        if (fstat(descriptor.Get(), &status) != 0) {
            return errno;
        }
        if (!S_ISREG(status.st_mode)) {
            return EINVAL;
        }
        if (lstat(file.c_str(), &atPath) == 0 && SameFile(status, atPath)) {
            result = std::move(descriptor);
            return 0;
        }
    }
}

int ReadWhole(int descriptor, std::string& content) {
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t count = pread(descriptor, buffer, sizeof buffer, offset);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return errno;
        }
        if (count == 0) {
            return 0;
        }
        content.append(buffer, static_cast<std::size_t>(count));
        offset += count;
    }
}

int WriteAt(int descriptor, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t count = pwrite(descriptor, bytes.data(), bytes.size(), offset);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count < 0 ? errno : EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
        offset += count;
    }
    return 0;
}

// Writes the new content beside the file and renames it over, so that an interrupted save
// leaves the old file whole.
int ReplaceFile(const std::filesystem::path& file, std::string_view content, mode_t mode) {
    std::string temporary = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX"));
    FileDescriptor descriptor(mkostemp(temporary.data(), O_CLOEXEC));
    if (descriptor.Get() < 0) {
        return errno;
    }
    int error = WriteAt(descriptor.Get(), content, 0);
    if (error == 0 &&
        (fchmod(descriptor.Get(), mode & 07777) != 0 || fsync(descriptor.Get()) != 0 ||
         rename(temporary.c_str(), file.c_str()) != 0)) {
        error = errno;
    }
    if (error != 0) {
        unlink(temporary.c_str());
    }
    return error;
}

}  // namespace

int WriteReportFile(const std::filesystem::path& file,
                    std::string_view report,
                    const ReportFileRules& rules) {
    if (const int error = CreateFolders(file.parent_path()); error != 0) {
        return error;
    }
    FileDescriptor descriptor;
    struct stat status {};
    if (const int error = OpenLocked(file, descriptor, status); error != 0) {
        return error;
    }
    std::string old;
    if (const int error = ReadWhole(descriptor.Get(), old); error != 0) {
        return error;
    }
    const std::string merged = MergeReportIntoFile(old, report, rules);
    if (!merged.starts_with(old)) {
        return ReplaceFile(file, merged, status.st_mode);
    }
    const auto end = static_cast<off_t>(old.size());
    const int error = WriteAt(descriptor.Get(), std::string_view(merged).substr(old.size()), end);
    if (error != 0 && ftruncate(descriptor.Get(), end) != 0) {
        return errno;
    }
    return error;
}

}  // namespace kestrix
