#pragma once
// A small file read and replaced whole, by processes that may do so at the
// same moment. Each call reports the system's error number (errno), 0 when
// it succeeded, so that the caller can say why it failed.
#include <filesystem>
#include <string>
#include <string_view>

namespace platform::posix {

// Reads the whole file into bytes.
int readWholeFile(const std::filesystem::path& file, std::string& bytes);

// Writes the bytes to a new file beside the old one, syncs it to the disk
// and renames it over the old one, so that neither a crash nor a power loss
// leaves half a file. What was not finished is removed.
int replaceWholeFile(const std::filesystem::path& file, std::string_view bytes);

// An exclusive lock on a lock file, created as needed, held for the object's
// lifetime. It waits for another holder; the system takes the lock back
// from a process that ends, so no stale lock stays behind.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // 0 while the lock is held, or where the file system has no locks.
    int error() const { return error_; }

private:
    int descriptor_ = -1;
    int error_ = 0;
};

}  // namespace platform::posix
