// Encoding and checking of NTX header and tree pages.
#include "platform/table/ntx_format.h"

#include "platform/table/errors.h"

namespace platform::table {

namespace ntx {

void encode_header(const Header& h, char* p) {
    std::memset(p, 0, kPage);
    put16(p, kSignature);
    put16(p + 2, h.version);
    put32(p + 4, h.root);
    put32(p + 8, h.free_head);
    put16(p + 12, static_cast<uint16_t>(h.info.key_size + 8));
    put16(p + 14, static_cast<uint16_t>(h.info.key_size));
    put16(p + 16, static_cast<uint16_t>(h.info.key_decimals));
    put16(p + 18, static_cast<uint16_t>(h.max_items));
    put16(p + 20, static_cast<uint16_t>(h.half_page));
    std::memcpy(p + kExprOffset, h.info.key_text.data(), std::min(h.info.key_text.size(), kExprSize - 1));
    p[kUniqueOffset] = h.info.unique ? 1 : 0;
    put64(p + kCounterOffset, h.counter);
}

Header decode_header(const char* p, const std::string& file) {
    Header h;
    const uint16_t sig = get16(p);
    if (sig != kSignature) throw CorruptFile(file, "not an NTX index (signature " + std::to_string(sig) + ")");
    h.version = get16(p + 2);
    h.root = get32(p + 4);
    h.free_head = get32(p + 8);
    const int item_size = get16(p + 12);
    h.info.key_size = get16(p + 14);
    h.info.key_decimals = get16(p + 16);
    h.max_items = get16(p + 18);
    h.half_page = get16(p + 20);
    if (h.info.key_size < 1 || h.info.key_size > 256)
        throw CorruptFile(file, "key size " + std::to_string(h.info.key_size) + " is out of range");
    if (item_size != h.info.key_size + 8) throw CorruptFile(file, "item size does not match the key size");
    if (h.max_items < 2 || 2 + (h.max_items + 1) * (item_size + 2) > static_cast<int>(kPage))
        throw CorruptFile(file, "items per page (" + std::to_string(h.max_items) + ") do not fit a page");
    if (h.half_page < 1 || h.half_page > h.max_items) throw CorruptFile(file, "half page is out of range");
    const char* expr = p + kExprOffset;
    std::size_t n = 0;
    while (n < kExprSize && expr[n] != 0) ++n;
    if (n == kExprSize) throw CorruptFile(file, "key expression has no end");
    h.info.key_text.assign(expr, n);
    while (!h.info.key_text.empty() && h.info.key_text.back() == ' ') h.info.key_text.pop_back();
    if (h.info.key_text.empty()) throw CorruptFile(file, "key expression is empty");
    h.info.unique = p[kUniqueOffset] != 0;
    h.counter = get64(p + kCounterOffset);
    if (h.root < kPage || h.root % kPage != 0) throw CorruptFile(file, "root page offset " + std::to_string(h.root) + " is bad");
    return h;
}

}  // namespace ntx

void NtxFile::Page::decode(const char* b, int max_items, const std::string& file) {
    const int n = ntx::get16(b);
    const auto where = [&] { return "index page at " + std::to_string(offset); };
    if (n > max_items) throw CorruptFile(file, where() + " holds " + std::to_string(n) + " items, more than a page takes");
    const std::size_t item = std::size_t(key_size) + 8;
    child.resize(std::size_t(n) + 1);
    recno.resize(std::size_t(n));
    keys.resize(std::size_t(n) * std::size_t(key_size));
    for (int i = 0; i <= n; ++i) {
        const std::size_t at = ntx::get16(b + 2 + 2 * i);
        const std::size_t need = i < n ? item : 4;
        if (at < 2 || at + need > ntx::kPage) throw CorruptFile(file, where() + " has an item outside the page");
        child[std::size_t(i)] = ntx::get32(b + at);
        if (i < n) {
            recno[std::size_t(i)] = ntx::get32(b + at + 4);
            std::memcpy(keys.data() + std::size_t(i) * std::size_t(key_size), b + at + 8, std::size_t(key_size));
        }
    }
    const bool is_leaf = child[0] == 0;
    for (int i = 0; i <= n; ++i) {
        const uint32_t c = child[std::size_t(i)];
        if ((c == 0) != is_leaf) throw CorruptFile(file, where() + " mixes leaf and branch items");
        if (c != 0 && (c < ntx::kPage || c % ntx::kPage != 0))
            throw CorruptFile(file, where() + " points to a bad page offset " + std::to_string(c));
    }
    for (int i = 1; i < n; ++i)
        if (key(i - 1) > key(i)) throw CorruptFile(file, where() + " has keys out of order");
}

void NtxFile::Page::encode(char* b, int max_items) const {
    std::memset(b, 0, ntx::kPage);
    const int n = count();
    const std::size_t item = std::size_t(key_size) + 8;
    const std::size_t base = 2 + 2 * std::size_t(max_items + 1);
    ntx::put16(b, static_cast<uint16_t>(n));
    for (int i = 0; i <= max_items; ++i) ntx::put16(b + 2 + 2 * i, static_cast<uint16_t>(base + std::size_t(i) * item));
    for (int i = 0; i <= n; ++i) {
        char* at = b + base + std::size_t(i) * item;
        ntx::put32(at, child[std::size_t(i)]);
        if (i < n) {
            ntx::put32(at + 4, recno[std::size_t(i)]);
            std::memcpy(at + 8, keys.data() + std::size_t(i) * std::size_t(key_size), std::size_t(key_size));
        }
    }
    if (free) std::memcpy(b + ntx::kPage - sizeof ntx::kFreeMark, ntx::kFreeMark, sizeof ntx::kFreeMark);
}

bool NtxFile::Page::free_mark(const char* b) {
    return ntx::get16(b) == 0 && std::memcmp(b + ntx::kPage - sizeof ntx::kFreeMark, ntx::kFreeMark, sizeof ntx::kFreeMark) == 0;
}

}  // namespace platform::table
