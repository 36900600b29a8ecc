#include "platform/table/lockfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/table/errors.h"

namespace platform::table {

namespace {

[[noreturn]] void fail(const std::string& name, const std::string& what, int err) {
    throw IoError(name, what + ": " + std::strerror(err), err);
}

struct flock region(short type, off_t start, off_t length) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = length;
    fl.l_pid = 0;  // required by OFD locks
    return fl;
}

}  // namespace

LockFile::LockFile(const std::filesystem::path& path, Access access) : name_(path.string()) {
    int flags = O_CLOEXEC;
    switch (access) {
        case Access::ReadOnly: flags |= O_RDONLY; break;
        case Access::ReadWrite: flags |= O_RDWR; break;
        case Access::Create: flags |= O_RDWR | O_CREAT; break;
    }
    writable_ = access != Access::ReadOnly;
    do {
        fd_ = ::open(name_.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) fail(name_, "cannot open", errno);
}

LockFile::LockFile(LockFile&& other) noexcept
    : fd_(other.fd_), writable_(other.writable_), name_(std::move(other.name_)) {
    other.fd_ = -1;
}

LockFile& LockFile::operator=(LockFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        writable_ = other.writable_;
        name_ = std::move(other.name_);
        other.fd_ = -1;
    }
    return *this;
}

LockFile::~LockFile() { close(); }

void LockFile::close() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::size_t LockFile::read_some(void* buf, std::size_t n, uint64_t offset) const {
    auto* p = static_cast<char*>(buf);
    std::size_t done = 0;
    while (done < n) {
        ssize_t r = ::pread(fd_, p + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail(name_, "cannot read", errno);
        }
        if (r == 0) break;
        done += static_cast<std::size_t>(r);
    }
    return done;
}

void LockFile::read_exact(void* buf, std::size_t n, uint64_t offset) const {
    if (read_some(buf, n, offset) != n) throw CorruptFile(name_, "file is truncated");
}

void LockFile::write_all(const void* buf, std::size_t n, uint64_t offset) {
    const auto* p = static_cast<const char*>(buf);
    std::size_t done = 0;
    while (done < n) {
        ssize_t r = ::pwrite(fd_, p + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            fail(name_, "cannot write", errno);
        }
        done += static_cast<std::size_t>(r);
    }
}

uint64_t LockFile::size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) fail(name_, "cannot read the file size", errno);
    return static_cast<uint64_t>(st.st_size);
}

void LockFile::truncate(uint64_t size) {
    while (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
        if (errno != EINTR) fail(name_, "cannot truncate", errno);
    }
}

void LockFile::sync() {
    if (::fdatasync(fd_) != 0 && errno != EINVAL) fail(name_, "cannot write to disk", errno);
}

bool LockFile::try_lock(off_t start, off_t length, LockKind kind) {
    auto fl = region(kind == LockKind::Shared ? F_RDLCK : F_WRLCK, start, length);
    while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EACCES) return false;
        fail(name_, "cannot lock", errno);
    }
    return true;
}

void LockFile::wait_lock(off_t start, off_t length, LockKind kind) {
    auto fl = region(kind == LockKind::Shared ? F_RDLCK : F_WRLCK, start, length);
    while (::fcntl(fd_, F_OFD_SETLKW, &fl) != 0) {
        if (errno == EINTR) continue;
        fail(name_, "cannot lock", errno);
    }
}

void LockFile::unlock(off_t start, off_t length) {
    auto fl = region(F_UNLCK, start, length);
    while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
        if (errno == EINTR) continue;
        fail(name_, "cannot unlock", errno);
    }
}

}  // namespace platform::table
