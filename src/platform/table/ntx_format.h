#pragma once
// Byte layout of NTX files, shared by the index reader/writer and the bulk builder.
// Internal to the table engine.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/ntx.h"

namespace platform::table::ntx {

inline constexpr uint16_t kSignature = 0x0006;
inline constexpr std::size_t kPage = kNtxPageSize;
inline constexpr std::size_t kExprOffset = 22;
inline constexpr std::size_t kExprSize = 256;
inline constexpr std::size_t kUniqueOffset = 278;
inline constexpr std::size_t kCounterOffset = 1016;  // ours: spare bytes at the end of the header
// A page on our free list: empty, its first left pointer naming the next free page, and this mark
// at its end, so that a free list in another tool's own form is never taken for ours.
inline constexpr char kFreeMark[8] = {'F', 'R', 'E', 'E', 'P', 'A', 'G', 'E'};

inline uint16_t get16(const char* p) {
    auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<uint16_t>(u[0] | u[1] << 8);
}
inline uint32_t get32(const char* p) {
    auto* u = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(u[0]) | uint32_t(u[1]) << 8 | uint32_t(u[2]) << 16 | uint32_t(u[3]) << 24;
}
inline uint64_t get64(const char* p) { return uint64_t(get32(p)) | uint64_t(get32(p + 4)) << 32; }
inline void put16(char* p, uint16_t v) {
    p[0] = static_cast<char>(v);
    p[1] = static_cast<char>(v >> 8);
}
inline void put32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * i));
}
inline void put64(char* p, uint64_t v) {
    put32(p, static_cast<uint32_t>(v));
    put32(p + 4, static_cast<uint32_t>(v >> 32));
}

// Items per page for a key size: as many as fit with their offset entries, rounded down to even.
inline int max_items_for(int key_size) {
    int n = static_cast<int>((kPage - 4) / static_cast<std::size_t>(key_size + 10)) - 1;
    return n / 2 * 2;
}

// The fields of the header page.
struct Header {
    uint16_t version = 0;
    uint32_t root = 0;
    uint32_t free_head = 0;
    NtxInfo info;
    int max_items = 0;
    int half_page = 0;
    uint64_t counter = 0;
};

// Writes every field of `h` into a header page image (1024 bytes).
void encode_header(const Header& h, char* page);
// Reads and checks a header page; throws CorruptFile naming `file`.
Header decode_header(const char* page, const std::string& file);

// Unsigned byte order of two keys of equal size, then record number.
inline int compare(std::string_view a, uint32_t ra, std::string_view b, uint32_t rb) {
    int c = std::memcmp(a.data(), b.data(), a.size());
    if (c != 0) return c;
    return ra < rb ? -1 : ra > rb ? 1 : 0;
}

}  // namespace platform::table::ntx

namespace platform::table {

// A tree page in memory: child[i] is the left page of item i, child[count] the rightmost page;
// leaf pages have only zero children.
struct NtxFile::Page {
    uint32_t offset = 0;
    int key_size = 0;
    std::vector<uint32_t> child{0};
    std::vector<uint32_t> recno;
    std::string keys;
    bool dirty = false;
    bool free = false;  // on the free list: written with kFreeMark
    bool referenced = true;  // used since the clock hand last passed

    int count() const { return static_cast<int>(recno.size()); }
    bool leaf() const { return child[0] == 0; }
    std::string_view key(int i) const {
        return {keys.data() + std::size_t(i) * std::size_t(key_size), std::size_t(key_size)};
    }
    // Inserts item i with the page after it (`right`; 0 in a leaf).
    void insert(int i, std::string_view k, uint32_t r, uint32_t right) {
        keys.insert(std::size_t(i) * std::size_t(key_size), k.data(), std::size_t(key_size));
        recno.insert(recno.begin() + i, r);
        child.insert(child.begin() + i + 1, right);
    }
    // Removes item i and the page after it.
    void erase(int i) {
        keys.erase(std::size_t(i) * std::size_t(key_size), std::size_t(key_size));
        recno.erase(recno.begin() + i);
        child.erase(child.begin() + i + 1);
    }
    void clear() {
        child.assign(1, 0);
        recno.clear();
        keys.clear();
    }
    // From the 1024 bytes of a page; throws CorruptFile when counts or offsets are impossible.
    void decode(const char* bytes, int max_items, const std::string& file);
    void encode(char* bytes, int max_items) const;
    // A page of the free list that we wrote (see kFreeMark).
    static bool free_mark(const char* bytes);
};

}  // namespace platform::table
