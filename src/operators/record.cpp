#include "operators/record.h"

#include "common/console.h"
#include "data/access.h"

namespace sklad::operators_detail {

std::string trim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

std::string rtrim(std::string_view s) {
    const std::size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string pad(std::string_view s, std::size_t n) {
    std::string out(s.substr(0, n));
    out.resize(n, ' ');
    return out;
}

std::string pole(std::string_view field) { return FIELDPOS(field) > 0 ? FC(field) : std::string(); }

bool zapisz(std::initializer_list<std::pair<std::string_view, Value>> fields, double seconds) {
    if (EOF() || !REC_LOCK(seconds)) return false;
    for (const auto& [name, value] : fields)
        if (FIELDPOS(name) > 0) FIELDPUT(name, value);
    DBCOMMIT();
    DBUNLOCK();
    return true;
}

void ton(double frequency, double duration) {
    if (!FILE_X("TONE.---")) TONE(frequency, duration);
}

int wiersz(BrowseList& list) { return list.browse->screen_row(list.browse->row_pos()); }

}  // namespace sklad::operators_detail
