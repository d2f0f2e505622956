#include "platform/linux/whole_file.h"

#include <glib.h>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::posix {

namespace {

// An open file, closed with its owner unless closed before.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return descriptor_; }
    // Closes it now; the error of a close that loses written data.
    int close() {
        if (::close(std::exchange(descriptor_, -1)) == 0 || errno == EINTR) return 0;
        return errno;
    }

private:
    int descriptor_;
};

int writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

int readWholeFile(const std::filesystem::path& file, std::string& bytes) {
    const Descriptor opened(open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (opened.get() < 0) return errno;
    bytes.clear();
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(opened.get(), buffer, sizeof buffer);
        if (count == 0) return 0;
        if (count < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

int replaceWholeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::string temporary = file.string() + ".XXXXXX";
    // Readable as the user's umask allows, like a file written directly.
    Descriptor written(g_mkstemp_full(temporary.data(), O_WRONLY | O_CLOEXEC, 0666));
    if (written.get() < 0) return errno;
    int error = writeAll(written.get(), bytes);
    if (error == 0 && fsync(written.get()) != 0) error = errno;
    const int closed = written.close();
    if (error == 0) error = closed;
    if (error == 0 && rename(temporary.c_str(), file.c_str()) != 0) error = errno;
    if (error != 0) unlink(temporary.c_str());
    return error;
}

FileLock::FileLock(const std::filesystem::path& lockFile) {
    descriptor_ = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor_ < 0) {
        error_ = errno;
        return;
    }
    while (flock(descriptor_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        // A file system without locks (NFS without its lock service) stores
        // as before, unguarded, rather than not at all.
        if (errno != ENOLCK && errno != EOPNOTSUPP) error_ = errno;
        return;
    }
}

FileLock::~FileLock() {
    if (descriptor_ >= 0) close(descriptor_);  // which lets go of the lock
}

}  // namespace platform::posix
