#pragma once
// In-memory files for the fuzz targets: the engine opens them by path like any table or index,
// without touching the disk.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class MemFile {
  public:
    MemFile(const char* name, const uint8_t* data, std::size_t size) : fd_(::memfd_create(name, MFD_CLOEXEC)) {
        if (fd_ < 0) std::abort();
        std::size_t done = 0;
        while (done < size) {
            ssize_t n = ::write(fd_, data + done, size - done);
            if (n <= 0) std::abort();
            done += std::size_t(n);
        }
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    MemFile(const MemFile&) = delete;
    MemFile& operator=(const MemFile&) = delete;
    ~MemFile() { ::close(fd_); }
    const std::string& path() const { return path_; }

  private:
    int fd_;
    std::string path_;
};

inline std::string read_all(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// When SKLAD_FUZZ_SEEDS names a folder, the targets write sound sample files there to start from.
inline const char* seed_folder() { return std::getenv("SKLAD_FUZZ_SEEDS"); }
