// NTX index files: page cache with change-counter checks, navigation and maintenance.
#include "platform/table/ntx.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "platform/table/errors.h"
#include "platform/table/ntx_format.h"

namespace platform::table {

using ntx::kPage;

// One operation on the index: holds the index lock of the file (shared to read, exclusive to
// change) and brings the header, and with it the cache, up to date. Unused with exclusive use.
class NtxFile::Session {
  public:
    Session(NtxFile& f, bool write) : f_(f), write_(write) {
        if (write && f.read_only_) throw TableError(f.name(), "the index is open read-only");
        if (f.exclusive_) return;
        f.file_.wait_lock(lock_layout::kIndex, 1, write ? LockKind::Exclusive : LockKind::Shared);
        locked_ = true;
        try {
            f.read_header(false);
        } catch (...) {
            release();
            throw;
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The change is complete: write it out (shared use) or keep it for flush() (exclusive use).
    void commit() {
        committed_ = true;
        if (f_.exclusive_) {
            f_.header_dirty_ = true;
            return;
        }
        f_.write_dirty();
        ++f_.version_;
        ++f_.counter_;
        f_.write_header();
    }

    ~Session() {
        // A change that failed half-way must not survive in the cache of a shared index.
        if (write_ && !committed_ && !f_.exclusive_) f_.drop_cache();
        release();
        try {
            f_.evict_if_needed();
        } catch (...) {
            // eviction writes only with exclusive use; a failure there resurfaces at flush()
        }
    }

  private:
    void release() {
        if (!locked_) return;
        locked_ = false;
        try {
            f_.file_.unlock(lock_layout::kIndex, 1);
        } catch (...) {
            // the lock ends with the file anyway
        }
    }
    NtxFile& f_;
    bool write_;
    bool locked_ = false;
    bool committed_ = false;
};

namespace {

uint64_t fresh_counter() {
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           (static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) << 1);
}

}  // namespace

void NtxFile::create(const std::filesystem::path& path, NtxBuilder& builder) {
    LockFile file(path, LockFile::Access::Create);
    RegionGuard guard(file, lock_layout::kIndex, 1, LockKind::Exclusive);
    uint64_t counter = fresh_counter();
    char old[kPage];
    if (file.read_some(old, kPage, 0) == kPage) {
        try {
            counter = ntx::decode_header(old, file.name()).counter + 1;
        } catch (const CorruptFile&) {
            // a damaged old file: start afresh
        }
    }
    builder.write(file, counter);
}

NtxFile::NtxFile(const std::filesystem::path& path, bool exclusive, bool read_only)
    : path_(path),
      file_(path, read_only ? LockFile::Access::ReadOnly : LockFile::Access::ReadWrite),
      exclusive_(exclusive),
      read_only_(read_only) {
    if (exclusive_) {
        read_header(true);
        return;
    }
    RegionGuard guard(file_, lock_layout::kIndex, 1, LockKind::Shared);
    read_header(true);
}

NtxFile::~NtxFile() {
    try {
        flush();
    } catch (...) {
        // a destructor cannot report; commit() is where write failures surface
    }
}

std::string NtxFile::pad(std::string_view key) const {
    std::string k(key.substr(0, std::size_t(info_.key_size)));
    k.resize(std::size_t(info_.key_size), ' ');
    return k;
}

void NtxFile::read_header(bool first_time) {
    char buf[kPage];
    if (file_.read_some(buf, kPage, 0) != kPage) throw CorruptFile(name(), "index header is truncated");
    ntx::Header h = ntx::decode_header(buf, name());
    file_size_ = file_.size();
    if (first_time) {
        info_ = h.info;
        max_items_ = h.max_items;
        half_page_ = h.half_page;
    } else {
        if (h.info.key_size != info_.key_size || h.info.key_text != info_.key_text || h.max_items != max_items_)
            throw CorruptFile(name(), "the index was replaced by one with another key");
        if (h.counter != counter_ || h.version != version_) drop_cache();
    }
    version_ = h.version;
    root_ = h.root;
    free_head_ = h.free_head;
    counter_ = h.counter;
    header_image_.assign(buf, kPage);
    if (root_ + kPage > file_size_) throw CorruptFile(name(), "root page lies past the end of the file");
}

void NtxFile::write_header() {
    char* p = header_image_.data();
    ntx::put16(p + 2, version_);
    ntx::put32(p + 4, root_);
    ntx::put32(p + 8, free_head_);
    ntx::put64(p + ntx::kCounterOffset, counter_);
    file_.write_all(p, kPage, 0);
    header_dirty_ = false;
}

NtxFile::Page& NtxFile::page(uint32_t offset) {
    const std::size_t slot = offset / kPage;
    if (offset % kPage == 0 && slot < slots_.size() && slots_[slot]) {
        slots_[slot]->referenced = true;
        return *slots_[slot];
    }
    if (offset < kPage || offset % kPage != 0 || uint64_t(offset) + kPage > file_size_)
        throw CorruptFile(name(), "index page offset " + std::to_string(offset) + " lies outside the file");
    char buf[kPage];
    file_.read_exact(buf, kPage, offset);
    auto p = std::make_unique<Page>();
    p->offset = offset;
    p->key_size = info_.key_size;
    p->decode(buf, max_items_, name());
    p->free = Page::free_mark(buf);
    Page& ref = *p;
    insert_cached(std::move(p));
    return ref;
}

void NtxFile::insert_cached(std::unique_ptr<Page> page) {
    const std::size_t slot = page->offset / kPage;
    if (slot >= slots_.size()) slots_.resize(std::max(slot + 1, slots_.size() * 2));
    ring_.push_back(static_cast<uint32_t>(slot));
    slots_[slot] = std::move(page);
}

uint32_t NtxFile::allocate_page() {
    if (free_head_ != 0) {
        const uint32_t off = free_head_;
        free_head_ = 0;
        header_dirty_ = true;
        if (off != root_ && off % kPage == 0 && uint64_t(off) + kPage <= file_size_) {
            Page& p = page(off);
            if (p.free && p.count() == 0) {
                free_head_ = p.child[0];
                p.free = false;
                p.clear();
                p.dirty = true;
                return off;
            }
        }
        // Not a free list of ours: leave those pages alone.
    }
    const uint64_t end = (file_size_ + kPage - 1) / kPage * kPage;
    if (end + kPage > UINT32_MAX) throw TableError(name(), "the index file is full");
    file_size_ = end + kPage;
    auto p = std::make_unique<Page>();
    p->offset = static_cast<uint32_t>(end);
    p->key_size = info_.key_size;
    p->dirty = true;
    insert_cached(std::move(p));
    header_dirty_ = true;
    return static_cast<uint32_t>(end);
}

void NtxFile::free_page(uint32_t offset) {
    Page& p = page(offset);
    p.clear();
    p.child[0] = free_head_;
    p.free = true;
    p.dirty = true;
    free_head_ = offset;
    header_dirty_ = true;
}

void NtxFile::drop_cache() {
    for (uint32_t slot : ring_) slots_[slot].reset();
    ring_.clear();
    hand_ = 0;
}

void NtxFile::write_dirty() {
    std::vector<Page*> dirty;
    for (uint32_t slot : ring_)
        if (slots_[slot]->dirty) dirty.push_back(slots_[slot].get());
    std::sort(dirty.begin(), dirty.end(), [](const Page* a, const Page* b) { return a->offset < b->offset; });
    char buf[kPage];
    for (Page* p : dirty) {
        p->encode(buf, max_items_);
        file_.write_all(buf, kPage, p->offset);
        p->dirty = false;
    }
}

void NtxFile::evict_if_needed() {
    while (ring_.size() > cache_limit_) {
        if (hand_ >= ring_.size()) hand_ = 0;
        Page& p = *slots_[ring_[hand_]];
        if (p.referenced) {
            p.referenced = false;
            ++hand_;
            continue;
        }
        if (p.dirty) {
            char buf[kPage];
            p.encode(buf, max_items_);
            file_.write_all(buf, kPage, p.offset);
        }
        const uint32_t slot = ring_[hand_];
        ring_[hand_] = ring_.back();
        ring_.pop_back();
        slots_[slot].reset();
    }
}

void NtxFile::flush() {
    if (!exclusive_ || read_only_) return;
    bool any = header_dirty_;
    for (uint32_t slot : ring_) any = any || slots_[slot]->dirty;
    if (!any) return;
    write_dirty();
    ++version_;
    ++counter_;
    write_header();
}

void NtxFile::sync() {
    flush();
    if (!read_only_) file_.sync();
}

// ---- navigation -------------------------------------------------------------------------

namespace {
[[noreturn]] void too_deep(const std::string& file) { throw CorruptFile(file, "index tree loops or is too deep"); }
}  // namespace

std::optional<NtxEntry> NtxFile::find_next(std::string_view key, uint32_t recno, bool inclusive) {
    std::optional<NtxEntry> best;
    uint32_t off = root_;
    for (int depth = 0; off != 0; ++depth) {
        if (depth > depth_limit_) too_deep(name());
        Page& p = page(off);
        int lo = 0, hi = p.count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            const int c = ntx::compare(p.key(mid), p.recno[std::size_t(mid)], key, recno);
            if (c > 0 || (inclusive && c == 0))
                hi = mid;
            else
                lo = mid + 1;
        }
        if (lo < p.count()) best = NtxEntry{std::string(p.key(lo)), p.recno[std::size_t(lo)]};
        off = p.child[std::size_t(lo)];
    }
    return best;
}

std::optional<NtxEntry> NtxFile::find_prev(std::string_view key, uint32_t recno) {
    std::optional<NtxEntry> best;
    uint32_t off = root_;
    for (int depth = 0; off != 0; ++depth) {
        if (depth > depth_limit_) too_deep(name());
        Page& p = page(off);
        int lo = 0, hi = p.count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (ntx::compare(p.key(mid), p.recno[std::size_t(mid)], key, recno) >= 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        if (lo > 0) best = NtxEntry{std::string(p.key(lo - 1)), p.recno[std::size_t(lo - 1)]};
        off = p.child[std::size_t(lo)];
    }
    return best;
}

std::optional<NtxEntry> NtxFile::edge(bool last) {
    if (last) return find_prev(std::string(std::size_t(info_.key_size), '\xFF'), UINT32_MAX);
    return find_next(std::string(std::size_t(info_.key_size), '\0'), 0, true);
}

std::optional<NtxEntry> NtxFile::first() {
    Session s(*this, false);
    return edge(false);
}

std::optional<NtxEntry> NtxFile::last() {
    Session s(*this, false);
    return edge(true);
}

std::optional<NtxEntry> NtxFile::next(const NtxEntry& after) {
    Session s(*this, false);
    return find_next(pad(after.key), after.recno, false);
}

std::optional<NtxEntry> NtxFile::prev(const NtxEntry& before) {
    Session s(*this, false);
    return find_prev(pad(before.key), before.recno);
}

std::optional<NtxEntry> NtxFile::lower_bound(std::string_view key) {
    Session s(*this, false);
    key = key.substr(0, std::size_t(info_.key_size));
    std::optional<NtxEntry> best;
    uint32_t off = root_;
    for (int depth = 0; off != 0; ++depth) {
        if (depth > depth_limit_) too_deep(name());
        Page& p = page(off);
        int lo = 0, hi = p.count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (p.key(mid).substr(0, key.size()) >= key)
                hi = mid;
            else
                lo = mid + 1;
        }
        if (lo < p.count()) best = NtxEntry{std::string(p.key(lo)), p.recno[std::size_t(lo)]};
        off = p.child[std::size_t(lo)];
    }
    return best;
}

// ---- maintenance ------------------------------------------------------------------------

// Ordered descent to the item (key, recno). `path` gets (page, child taken) for each page above
// and (page, item or insertion point) for the last one. true when the item is there.
bool NtxFile::locate(std::string_view key, uint32_t recno, std::vector<std::pair<uint32_t, int>>& path) {
    path.clear();
    uint32_t off = root_;
    for (int depth = 0;; ++depth) {
        if (depth > depth_limit_) too_deep(name());
        Page& p = page(off);
        int lo = 0, hi = p.count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (ntx::compare(p.key(mid), p.recno[std::size_t(mid)], key, recno) >= 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        path.emplace_back(off, lo);
        if (lo < p.count() && ntx::compare(p.key(lo), p.recno[std::size_t(lo)], key, recno) == 0) return true;
        if (p.leaf()) return false;
        off = p.child[std::size_t(lo)];
    }
}

namespace {

// Searches the items equal to `key` in any order of record numbers (indexes written by other
// tools need not order equal keys by record), keeping the path as locate() does.
bool locate_any(NtxFile::Page& (*get)(void*, uint32_t), void* ctx, uint32_t off, std::string_view key, uint32_t recno,
                std::vector<std::pair<uint32_t, int>>& path, int depth, int limit, const std::string& file) {
    if (depth > limit) too_deep(file);
    NtxFile::Page& p = get(ctx, off);
    int lo = 0;
    while (lo < p.count() && p.key(lo) < key) ++lo;
    int hi = lo;
    while (hi < p.count() && p.key(hi) == key) ++hi;
    for (int i = lo; i <= hi; ++i) {
        path.emplace_back(off, i);
        if (!p.leaf() && locate_any(get, ctx, p.child[std::size_t(i)], key, recno, path, depth + 1, limit, file)) return true;
        if (i < hi && p.recno[std::size_t(i)] == recno) return true;
        path.pop_back();
    }
    return false;
}

}  // namespace

void NtxFile::insert_locked(std::string_view key, uint32_t recno) {
    if (info_.unique) {
        auto e = find_next(key, 0, true);
        if (e && e->key == key) return;
    }
    std::vector<std::pair<uint32_t, int>> path;
    if (locate(key, recno, path)) return;
    const auto [leaf, pos] = path.back();
    path.pop_back();
    Page* p = &page(leaf);
    p->insert(pos, key, recno, 0);
    p->dirty = true;
    const std::size_t ks = std::size_t(info_.key_size);
    while (p->count() > max_items_) {
        const int h = p->count() / 2;
        const uint32_t roff = allocate_page();
        Page& r = page(roff);
        r.keys.assign(p->keys, std::size_t(h + 1) * ks);
        r.recno.assign(p->recno.begin() + h + 1, p->recno.end());
        r.child.assign(p->child.begin() + h + 1, p->child.end());
        r.dirty = true;
        const std::string mid_key(p->key(h));
        const uint32_t mid_rec = p->recno[std::size_t(h)];
        p->keys.resize(std::size_t(h) * ks);
        p->recno.resize(std::size_t(h));
        p->child.resize(std::size_t(h) + 1);
        p->dirty = true;
        if (path.empty()) {
            const uint32_t noff = allocate_page();
            Page& nr = page(noff);
            nr.clear();
            nr.child[0] = p->offset;
            nr.insert(0, mid_key, mid_rec, roff);
            nr.dirty = true;
            root_ = noff;
            header_dirty_ = true;
            break;
        }
        const auto [poff, ci] = path.back();
        path.pop_back();
        Page& parent = page(poff);
        parent.insert(ci, mid_key, mid_rec, roff);
        parent.dirty = true;
        p = &parent;
    }
}

bool NtxFile::remove_locked(std::string_view key, uint32_t recno) {
    std::vector<std::pair<uint32_t, int>> path;
    if (!locate(key, recno, path)) {
        path.clear();
        auto get = [](void* ctx, uint32_t off) -> Page& { return static_cast<NtxFile*>(ctx)->page(off); };
        if (!locate_any(get, this, root_, key, recno, path, 0, depth_limit_, name())) return false;
    }
    auto [off, i] = path.back();
    Page* p = &page(off);
    Page* leaf = p;
    if (p->leaf()) {
        p->erase(i);
        p->dirty = true;
    } else {
        // Take the item's predecessor (the last item of the rightmost leaf on its left) in its place.
        uint32_t c = p->child[std::size_t(i)];
        for (int depth = 0;; ++depth) {
            if (depth > depth_limit_) too_deep(name());
            Page& q = page(c);
            if (q.leaf()) {
                leaf = &q;
                break;
            }
            path.emplace_back(c, q.count());
            c = q.child[std::size_t(q.count())];
        }
        if (leaf->count() == 0) throw CorruptFile(name(), "index page at " + std::to_string(leaf->offset) + " is empty");
        const int last = leaf->count() - 1;
        std::memcpy(p->keys.data() + std::size_t(i) * std::size_t(info_.key_size), leaf->key(last).data(),
                    std::size_t(info_.key_size));
        p->recno[std::size_t(i)] = leaf->recno[std::size_t(last)];
        p->dirty = true;
        leaf->erase(last);
        leaf->dirty = true;
        path.emplace_back(leaf->offset, last);
    }
    path.pop_back();
    fix_underflow(path, leaf->offset);
    return true;
}

void NtxFile::fix_underflow(std::vector<std::pair<uint32_t, int>>& path, uint32_t current) {
    const int min = max_items_ / 2;
    const std::size_t ks = std::size_t(info_.key_size);
    auto set_item = [&](Page& dst, int i, std::string_view k, uint32_t r) {
        std::memcpy(dst.keys.data() + std::size_t(i) * ks, k.data(), ks);
        dst.recno[std::size_t(i)] = r;
    };
    while (!path.empty()) {
        Page& cur = page(current);
        if (cur.count() >= min) return;
        const auto [poff, ci] = path.back();
        path.pop_back();
        Page& parent = page(poff);
        if (ci > 0) {
            Page& left = page(parent.child[std::size_t(ci - 1)]);
            if (left.count() > min) {
                // Rotate one item through the parent from the left sibling.
                cur.keys.insert(0, parent.key(ci - 1).data(), ks);
                cur.recno.insert(cur.recno.begin(), parent.recno[std::size_t(ci - 1)]);
                cur.child.insert(cur.child.begin(), left.child.back());
                const int l = left.count() - 1;
                set_item(parent, ci - 1, left.key(l), left.recno[std::size_t(l)]);
                left.keys.resize(std::size_t(l) * ks);
                left.recno.pop_back();
                left.child.pop_back();
                cur.dirty = left.dirty = parent.dirty = true;
                return;
            }
        }
        if (ci < parent.count()) {
            Page& right = page(parent.child[std::size_t(ci + 1)]);
            if (right.count() > min) {
                cur.insert(cur.count(), parent.key(ci), parent.recno[std::size_t(ci)], right.child[0]);
                set_item(parent, ci, right.key(0), right.recno[0]);
                right.keys.erase(0, ks);
                right.recno.erase(right.recno.begin());
                right.child.erase(right.child.begin());
                cur.dirty = right.dirty = parent.dirty = true;
                return;
            }
        }
        // Merge with a sibling and the item between them.
        const int s = ci > 0 ? ci - 1 : ci;
        if (s >= parent.count()) return;  // a parent without items: nothing to merge with
        Page& a = page(parent.child[std::size_t(s)]);
        Page& b = page(parent.child[std::size_t(s + 1)]);
        a.keys.append(parent.key(s));
        a.recno.push_back(parent.recno[std::size_t(s)]);
        a.keys.append(b.keys);
        a.recno.insert(a.recno.end(), b.recno.begin(), b.recno.end());
        a.child.insert(a.child.end(), b.child.begin(), b.child.end());
        a.dirty = true;
        const uint32_t gone = b.offset;
        parent.erase(s);
        parent.dirty = true;
        free_page(gone);
        current = poff;
    }
    Page& root = page(root_);
    if (root.count() == 0 && !root.leaf()) {
        const uint32_t old = root_;
        root_ = root.child[0];
        header_dirty_ = true;
        free_page(old);
    }
}

void NtxFile::insert(std::string_view key, uint32_t recno) {
    Session s(*this, true);
    insert_locked(pad(key), recno);
    s.commit();
}

bool NtxFile::remove(std::string_view key, uint32_t recno) {
    Session s(*this, true);
    const bool found = remove_locked(pad(key), recno);
    s.commit();
    return found;
}

void NtxFile::rebuild(NtxBuilder& builder) {
    if (read_only_) throw TableError(name(), "the index is open read-only");
    std::optional<RegionGuard> guard;
    if (!exclusive_) {
        guard.emplace(file_, lock_layout::kIndex, 1, LockKind::Exclusive);
        read_header(false);
    }
    drop_cache();
    header_dirty_ = false;
    builder.write(file_, counter_ + 1);
    read_header(true);
}

// ---- checking -----------------------------------------------------------------------------

void NtxFile::walk(const std::function<void(const NtxEntry&)>& visit) {
    Session s(*this, false);
    std::set<uint32_t> seen;
    int leaf_depth = -1;
    std::optional<NtxEntry> prev;
    std::function<void(uint32_t, int)> go = [&](uint32_t off, int depth) {
        if (depth > depth_limit_) too_deep(name());
        if (!seen.insert(off).second) throw CorruptFile(name(), "index page at " + std::to_string(off) + " is reached twice");
        // Copy what we need: visiting children may evict nothing (no session ends), but stay simple.
        Page& p = page(off);
        const std::vector<uint32_t> child = p.child;
        const std::vector<uint32_t> recno = p.recno;
        const std::string keys = p.keys;
        const bool leaf = p.leaf();
        const std::size_t ks = std::size_t(info_.key_size);
        if (leaf) {
            if (leaf_depth < 0) leaf_depth = depth;
            if (leaf_depth != depth) throw CorruptFile(name(), "index leaves lie at different depths");
        }
        for (std::size_t i = 0; i <= recno.size(); ++i) {
            if (!leaf) go(child[i], depth + 1);
            if (i == recno.size()) break;
            NtxEntry e{keys.substr(i * ks, ks), recno[i]};
            if (prev && prev->key > e.key)
                throw CorruptFile(name(), "index keys out of order at record " + std::to_string(e.recno));
            visit(e);
            prev = std::move(e);
        }
    };
    go(root_, 0);
}

}  // namespace platform::table
