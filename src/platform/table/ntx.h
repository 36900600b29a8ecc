#pragma once
// Single-key NTX index files in the standard layout, so that other NTX readers read ours and
// we read theirs:
//   page 0 (header): signature 6, version, root page offset, free-page list head, item size,
//   key size, key decimals, items per page, half page, the key expression text, unique flag;
//   our change counter sits in the spare tail of the header (offset 1016, 8 bytes);
//   tree pages of 1024 bytes: item count, a table of item offsets, items of
//   (left page offset, record number, key bytes); the item after the last key carries only the
//   rightmost page. Keys are unique in the tree: equal keys are ordered by record number, so
//   maintenance finds the exact item of a record.
// Reading happens under a shared lock of the index file and changing under an exclusive one;
// each change raises the counter, and a copy that sees another counter drops its cached pages.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/lockfile.h"

namespace platform::table {

struct NtxEntry {
    std::string key;
    uint32_t recno = 0;
    friend bool operator==(const NtxEntry&, const NtxEntry&) = default;
};

struct NtxInfo {
    std::string key_text;  // the key expression as stored in the header
    int key_size = 0;      // 1..256
    int key_decimals = 0;
    bool unique = false;   // only the first record of each key is kept
};

inline constexpr std::size_t kNtxPageSize = 1024;
inline constexpr std::size_t kDefaultBuildMemory = 64u << 20;

// Bulk creation: collect every (key, record) pair, then write the tree bottom-up in one pass.
// Keys are sorted in memory up to `memory_budget` bytes; beyond that sorted runs go to
// temporary files and are merged, so memory stays bounded whatever the table size.
class NtxBuilder {
  public:
    explicit NtxBuilder(NtxInfo info, std::size_t memory_budget = kDefaultBuildMemory);
    NtxBuilder(const NtxBuilder&) = delete;
    NtxBuilder& operator=(const NtxBuilder&) = delete;
    ~NtxBuilder();

    // The key is cut or padded with blanks to the key size.
    void add(std::string_view key, uint32_t recno);
    uint64_t size() const { return added_; }
    std::size_t peak_memory() const { return peak_memory_; }
    // Sorts, merges and writes the index into `file` (emptied first; the caller holds the
    // exclusive index lock). `counter` is the change counter the new header starts with.
    void write(LockFile& file, uint64_t counter);

  private:
    struct Run;
    void spill();
    NtxInfo info_;
    std::size_t budget_;
    std::size_t item_bytes_;
    std::string buffer_;  // items: key bytes then recno (little-endian)
    std::vector<std::unique_ptr<Run>> runs_;
    uint64_t added_ = 0;
    std::size_t peak_memory_ = 0;
};

class NtxFile {
  public:
    // Builds a new index file (replacing any old one in place, under its exclusive lock so
    // that copies that have it open drop their caches) from a filled builder.
    static void create(const std::filesystem::path& path, NtxBuilder& builder);

    // Opens an index. With `exclusive` (the table is open exclusively, so no other copy can
    // use the index) pages are cached and written back without locks until flush().
    // Throws CorruptFile for a bad header, IoError when it cannot be opened.
    NtxFile(const std::filesystem::path& path, bool exclusive, bool read_only);
    NtxFile(const NtxFile&) = delete;
    NtxFile& operator=(const NtxFile&) = delete;
    ~NtxFile();

    const std::string& name() const { return file_.name(); }
    const std::filesystem::path& path() const { return path_; }
    const NtxInfo& info() const { return info_; }

    // Navigation; each call sees the index as it is on disk now.
    std::optional<NtxEntry> first();
    std::optional<NtxEntry> last();
    std::optional<NtxEntry> next(const NtxEntry& after);   // first entry above (key, recno)
    std::optional<NtxEntry> prev(const NtxEntry& before);  // last entry below (key, recno)
    // First entry whose key begins with at least `key`, comparing only key.size() bytes as the
    // xBase seek does with a shorter search key (a longer key is cut to the key size). The
    // caller checks whether it matches.
    std::optional<NtxEntry> lower_bound(std::string_view key);

    // Maintenance. insert() of an entry already there does nothing; remove() of an entry not
    // there returns false. The key is cut or padded with blanks to the key size.
    void insert(std::string_view key, uint32_t recno);
    bool remove(std::string_view key, uint32_t recno);

    // Replaces the whole index with a new build (same expression), in place.
    void rebuild(NtxBuilder& builder);
    void flush();  // writes pages cached by an exclusive user
    void sync();   // flush() and force to disk

    // Walks every entry in order, checking the tree on the way (pages inside the file, no
    // page reached twice, leaves at one depth, keys in order). Throws CorruptFile.
    void walk(const std::function<void(const NtxEntry&)>& visit);

    uint64_t counter() const { return counter_; }
    // Most pages kept decoded in memory (default 32768); with exclusive use, changed pages
    // beyond it are written out early.
    void set_cache_limit(std::size_t pages) { cache_limit_ = std::max<std::size_t>(pages, 1); }

    struct Page;  // decoded tree page (ntx_page.cpp)

  private:
    class Session;
    friend class Session;
    std::string pad(std::string_view key) const;
    void read_header(bool first_time);
    void write_header();
    Page& page(uint32_t offset);
    uint32_t allocate_page();
    void free_page(uint32_t offset);
    void drop_cache();
    void write_dirty();
    void evict_if_needed();
    std::optional<NtxEntry> find_next(std::string_view key, uint32_t recno, bool inclusive);
    std::optional<NtxEntry> find_prev(std::string_view key, uint32_t recno);
    std::optional<NtxEntry> edge(bool last);
    bool locate(std::string_view key, uint32_t recno, std::vector<std::pair<uint32_t, int>>& path);
    void insert_locked(std::string_view key, uint32_t recno);
    bool remove_locked(std::string_view key, uint32_t recno);
    void fix_underflow(std::vector<std::pair<uint32_t, int>>& path, uint32_t current);

    std::filesystem::path path_;
    LockFile file_;
    bool exclusive_;
    bool read_only_;
    NtxInfo info_;
    int max_items_ = 0;
    int half_page_ = 0;
    uint16_t version_ = 0;
    uint32_t root_ = 0;
    uint32_t free_head_ = 0;
    uint64_t counter_ = 0;
    uint64_t file_size_ = 0;
    bool header_dirty_ = false;
    std::string header_image_;  // the header page as read, so fields of other tools survive
    int depth_limit_ = 32;

    // Cache of decoded pages by page number; `ring_` lists the cached ones for the clock
    // sweep that evicts pages not referenced since the hand last passed.
    void insert_cached(std::unique_ptr<Page> page);
    std::vector<std::unique_ptr<Page>> slots_;
    std::vector<uint32_t> ring_;
    std::size_t hand_ = 0;
    std::size_t cache_limit_ = 32768;
};

}  // namespace platform::table
