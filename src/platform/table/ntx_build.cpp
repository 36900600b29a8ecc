// Bulk creation of NTX indexes: sort the (key, record) items within a memory budget, merging
// sorted runs from temporary files when they exceed it, then write a balanced tree bottom-up.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <queue>

#include "platform/table/errors.h"
#include "platform/table/ntx.h"
#include "platform/table/ntx_format.h"

namespace platform::table {

// A sorted run in a temporary file (removed when closed).
struct NtxBuilder::Run {
    std::FILE* file = nullptr;
    uint64_t items = 0;
    std::string buffer;
    Run() : file(std::tmpfile()) {
        if (!file) throw IoError("", "cannot make a temporary file for sorting keys", errno);
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    ~Run() {
        if (file) std::fclose(file);
    }
};

namespace {

// Items are the key bytes followed by the record number big-endian, so that comparing whole
// items byte-wise orders them by key and then by record.
void put_be32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (24 - 8 * i));
}
uint32_t get_be32(const char* p) {
    auto* u = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(u[0]) << 24 | uint32_t(u[1]) << 16 | uint32_t(u[2]) << 8 | uint32_t(u[3]);
}

class Source {
  public:
    virtual ~Source() = default;
    virtual const char* next() = 0;  // the next item in order, nullptr at the end
};

class MemorySource : public Source {
  public:
    MemorySource(const std::string& items, const std::vector<uint32_t>& order, std::size_t item)
        : items_(items), order_(order), item_(item) {}
    const char* next() override {
        if (i_ >= order_.size()) return nullptr;
        return items_.data() + std::size_t(order_[i_++]) * item_;
    }

  private:
    const std::string& items_;
    const std::vector<uint32_t>& order_;
    std::size_t item_;
    std::size_t i_ = 0;
};

// Reads one run back through a fixed buffer.
class RunReader {
  public:
    RunReader(std::FILE* f, std::size_t item, std::size_t buffer) : f_(f), item_(item), buf_(buffer / item * item, '\0') {
        std::rewind(f_);
    }
    const char* next() {
        if (pos_ >= len_) {
            len_ = std::fread(buf_.data(), 1, buf_.size(), f_) / item_ * item_;
            pos_ = 0;
            if (len_ == 0) return nullptr;
        }
        const char* p = buf_.data() + pos_;
        pos_ += item_;
        return p;
    }

  private:
    std::FILE* f_;
    std::size_t item_;
    std::string buf_;
    std::size_t pos_ = 0, len_ = 0;
};

class MergeSource : public Source {
  public:
    MergeSource(std::vector<std::unique_ptr<RunReader>> readers, std::size_t item) : readers_(std::move(readers)), item_(item) {
        for (std::size_t i = 0; i < readers_.size(); ++i)
            if (const char* p = readers_[i]->next()) heap_.push({p, i});
    }
    const char* next() override {
        if (heap_.empty()) return nullptr;
        Head h = heap_.top();
        heap_.pop();
        current_.assign(h.item, item_);
        if (const char* p = readers_[h.run]->next()) heap_.push({p, h.run});
        return current_.data();
    }

  private:
    struct Head {
        const char* item;
        std::size_t run;
    };
    struct Later {
        std::size_t n;
        bool operator()(const Head& a, const Head& b) const { return std::memcmp(a.item, b.item, n) > 0; }
    };
    std::vector<std::unique_ptr<RunReader>> readers_;
    std::size_t item_;
    std::priority_queue<Head, std::vector<Head>, Later> heap_{Later{item_}};
    std::string current_;
};

// Drops items whose key equals the one before (unique indexes keep the first record).
class UniqueSource : public Source {
  public:
    UniqueSource(Source& in, std::size_t key) : in_(in), key_(key) {}
    const char* next() override {
        while (const char* p = in_.next()) {
            if (have_ && std::memcmp(p, last_.data(), key_) == 0) continue;
            last_.assign(p, key_);
            have_ = true;
            return p;
        }
        return nullptr;
    }

  private:
    Source& in_;
    std::size_t key_;
    std::string last_;
    bool have_ = false;
};

// Writes a balanced tree of a known number of items, page by page in file order: every page
// is written after the pages below it, so one pass over the sorted items suffices.
class TreeWriter {
  public:
    TreeWriter(LockFile& file, Source& source, int key_size, int max_items)
        : file_(file), source_(source), ks_(key_size), max_(max_items) {}

    uint32_t write_tree(uint64_t n) {
        // Height: the least h whose full tree ((max+1)^h - 1 items) holds n.
        capacity_.push_back(0);
        int h = 1;
        capacity_.push_back(uint64_t(max_));
        while (capacity_.back() < n) {
            capacity_.push_back(capacity_.back() * uint64_t(max_ + 1) + uint64_t(max_));
            ++h;
        }
        const uint32_t root = build(n, h);
        flush_out();
        return root;
    }

    uint64_t end() const { return next_; }

  private:
    uint32_t build(uint64_t n, int h) {
        NtxFile::Page page;
        page.key_size = ks_;
        if (h == 1) {
            for (uint64_t i = 0; i < n; ++i) take(page, 0);
        } else {
            const uint64_t child_cap = capacity_[std::size_t(h - 1)];
            const uint64_t children = (n + 1 + child_cap) / (child_cap + 1);  // ceil((n+1)/(cap+1))
            const uint64_t rest = n - (children - 1);
            for (uint64_t i = 0; i < children; ++i) {
                const uint64_t size = rest / children + (i < rest % children ? 1 : 0);
                const uint32_t child = build(size, h - 1);
                if (i + 1 < children)
                    take(page, child);
                else
                    page.child.back() = child;
            }
        }
        return emit(page);
    }

    // Next item from the source into the page, with `left` as its left page.
    void take(NtxFile::Page& page, uint32_t left) {
        const char* item = source_.next();
        if (!item) throw TableError(file_.name(), "fewer keys than counted while building the index");
        page.child.back() = left;
        page.insert(page.count(), std::string_view(item, std::size_t(ks_)), get_be32(item + ks_), 0);
    }

    uint32_t emit(const NtxFile::Page& page) {
        const uint64_t off = next_;
        if (off + ntx::kPage > UINT32_MAX) throw TableError(file_.name(), "the index would pass 4 GB");
        next_ += ntx::kPage;
        const std::size_t at = out_.size();
        out_.resize(at + ntx::kPage);
        page.encode(out_.data() + at, max_);
        if (out_.size() >= (1u << 20)) flush_out();
        return static_cast<uint32_t>(off);
    }

    void flush_out() {
        if (out_.empty()) return;
        file_.write_all(out_.data(), out_.size(), out_start_);
        out_start_ += out_.size();
        out_.clear();
    }

    LockFile& file_;
    Source& source_;
    int ks_;
    int max_;
    std::vector<uint64_t> capacity_;  // capacity_[h]: items a full tree of height h holds
    uint64_t next_ = ntx::kPage;
    uint64_t out_start_ = ntx::kPage;
    std::string out_;
};

}  // namespace

NtxBuilder::NtxBuilder(NtxInfo info, std::size_t memory_budget)
    : info_(std::move(info)), budget_(std::max<std::size_t>(memory_budget, 1u << 16)), item_bytes_(std::size_t(info_.key_size) + 4) {
    if (info_.key_size < 1 || info_.key_size > 256)
        throw TableError("", "key size " + std::to_string(info_.key_size) + " is out of range (1..256)");
    if (info_.key_text.empty() || info_.key_text.size() >= ntx::kExprSize)
        throw TableError("", "key expression must have 1 to 255 characters");
}

NtxBuilder::~NtxBuilder() = default;

void NtxBuilder::add(std::string_view key, uint32_t recno) {
    const std::size_t ks = std::size_t(info_.key_size);
    const std::size_t at = buffer_.size();
    buffer_.resize(at + item_bytes_, ' ');
    std::memcpy(buffer_.data() + at, key.data(), std::min(ks, key.size()));
    put_be32(buffer_.data() + at + ks, recno);
    ++added_;
    // The sort needs 4 more bytes per item for its order vector.
    const std::size_t items = buffer_.size() / item_bytes_;
    const std::size_t memory = buffer_.capacity() + items * 4;
    peak_memory_ = std::max(peak_memory_, memory);
    if (memory >= budget_ || items >= UINT32_MAX) spill();
}

namespace {
std::vector<uint32_t> sorted_order(const std::string& items, std::size_t item) {
    std::vector<uint32_t> order(items.size() / item);
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
    const char* base = items.data();
    std::sort(order.begin(), order.end(),
              [base, item](uint32_t a, uint32_t b) { return std::memcmp(base + a * item, base + b * item, item) < 0; });
    return order;
}
}  // namespace

void NtxBuilder::spill() {
    if (buffer_.empty()) return;
    const auto order = sorted_order(buffer_, item_bytes_);
    peak_memory_ = std::max(peak_memory_, buffer_.capacity() + order.capacity() * 4);
    auto run = std::make_unique<Run>();
    std::string out;
    out.reserve(1u << 20);
    auto write_out = [&] {
        if (!out.empty() && std::fwrite(out.data(), 1, out.size(), run->file) != out.size())
            throw IoError("", "cannot write a temporary file for sorting keys", errno);
        out.clear();
    };
    for (uint32_t i : order) {
        out.append(buffer_, std::size_t(i) * item_bytes_, item_bytes_);
        if (out.size() >= (1u << 20)) write_out();
    }
    write_out();
    if (std::fflush(run->file) != 0) throw IoError("", "cannot write a temporary file for sorting keys", errno);
    run->items = order.size();
    runs_.push_back(std::move(run));
    buffer_.clear();
}

void NtxBuilder::write(LockFile& file, uint64_t counter) {
    const std::size_t ks = std::size_t(info_.key_size);
    std::vector<uint32_t> order;
    std::unique_ptr<Source> base;
    if (runs_.empty()) {
        order = sorted_order(buffer_, item_bytes_);
        peak_memory_ = std::max(peak_memory_, buffer_.capacity() + order.capacity() * 4);
        base = std::make_unique<MemorySource>(buffer_, order, item_bytes_);
    } else {
        spill();
        std::vector<std::unique_ptr<RunReader>> readers;
        // Each run reads through an equal share of the budget (at least 64 KB).
        const std::size_t share = std::max<std::size_t>(budget_ / runs_.size(), 1u << 16);
        for (auto& r : runs_) readers.push_back(std::make_unique<RunReader>(r->file, item_bytes_, share));
        peak_memory_ = std::max(peak_memory_, share * runs_.size());
        base = std::make_unique<MergeSource>(std::move(readers), item_bytes_);
    }

    uint64_t count = added_;
    std::unique_ptr<Source> unique;
    std::unique_ptr<Run> deduplicated;
    Source* source = base.get();
    if (info_.unique) {
        // The tree writer needs the count first: drop repeated keys into one more run.
        UniqueSource u(*base, ks);
        deduplicated = std::make_unique<Run>();
        count = 0;
        while (const char* p = u.next()) {
            if (std::fwrite(p, 1, item_bytes_, deduplicated->file) != item_bytes_)
                throw IoError("", "cannot write a temporary file for sorting keys", errno);
            ++count;
        }
        if (std::fflush(deduplicated->file) != 0) throw IoError("", "cannot write a temporary file for sorting keys", errno);
        std::vector<std::unique_ptr<RunReader>> one;
        one.push_back(std::make_unique<RunReader>(deduplicated->file, item_bytes_, 1u << 20));
        unique = std::make_unique<MergeSource>(std::move(one), item_bytes_);
        source = unique.get();
    }

    ntx::Header h;
    h.info = info_;
    h.max_items = ntx::max_items_for(info_.key_size);
    h.half_page = h.max_items / 2;
    h.counter = counter;
    h.version = 1;

    file.truncate(0);
    TreeWriter writer(file, *source, info_.key_size, h.max_items);
    h.root = writer.write_tree(count);
    char page[ntx::kPage];
    ntx::encode_header(h, page);
    file.write_all(page, ntx::kPage, 0);

    buffer_.clear();
    buffer_.shrink_to_fit();
    runs_.clear();
    added_ = 0;
}

}  // namespace platform::table
