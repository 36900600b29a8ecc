#include "platform/console/get.h"

#include <utility>

#include "platform/console/keys.h"

namespace platform::console {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

constexpr std::string_view kDateMask = "99.99.9999";

std::string digits_of(std::string_view s) {
    std::string out;
    for (char c : s)
        if (is_digit(c)) out += c;
    return out;
}

// A date typed as "dd.mm.yyyy" (or with a two-digit year); blanks inside the parts are ignored.
std::optional<Date> date_from_buffer(std::string_view b) {
    std::string dd = digits_of(b.substr(0, 2)), mm = digits_of(b.substr(3, 2)), yy = digits_of(b.substr(6));
    if (dd.empty() && mm.empty() && yy.empty()) return Date();
    if (dd.empty() || mm.empty() || (yy.size() != 2 && yy.size() != 4)) return std::nullopt;
    if (dd.size() == 1) dd = "0" + dd;
    if (mm.size() == 1) mm = "0" + mm;
    return Date::from_dmy(dd + "." + mm + "." + yy);
}

}  // namespace

Get::Get(int row_, int col_, std::string name_, Getter getter, Setter setter, std::string picture, std::string colour_)
    : row(row_), col(col_), name(std::move(name_)), colour(std::move(colour_)), getter_(std::move(getter)),
      setter_(std::move(setter)), picture_text_(std::move(picture)), picture_(Picture::parse(picture_text_)) {}

void Get::load_buffer(const Value& v) {
    mask_.clear();
    dot_ = -1;
    if (auto s = std::get_if<std::string>(&v)) {
        type_ = 'C';
        if (picture_.mask.empty()) {
            mask_ = std::string(s->size(), picture_.upper ? '!' : 'X');
            buffer_ = picture_.upper ? to_upper(*s) : *s;
        } else {
            mask_ = picture_.mask;
            buffer_ = format_value(v, picture_);
        }
    } else if (auto n = std::get_if<Decimal>(&v)) {
        type_ = 'N';
        Picture edit;
        edit.mask = picture_.mask.empty() ? default_number_mask(*n) : picture_.mask;
        mask_ = edit.mask;
        buffer_ = format_number(*n, edit);
        auto dot = mask_.find('.');
        dot_ = dot == std::string::npos ? -1 : static_cast<int>(dot);
    } else if (auto d = std::get_if<Date>(&v)) {
        type_ = 'D';
        mask_ = std::string(kDateMask);
        buffer_ = d->dmy();
    } else if (std::holds_alternative<bool>(v)) {
        type_ = 'L';
        mask_ = !picture_.mask.empty() && picture_.mask[0] == 'Y' ? "Y" : "L";
        buffer_ = format_value(v, picture_);
    } else {
        type_ = 'U';
        buffer_.clear();
    }
    slots_.clear();
    for (int i = 0; i < static_cast<int>(mask_.size()); ++i) {
        char m = mask_[static_cast<std::size_t>(i)];
        if (type_ == 'N' ? (m == '9' || m == '#') : is_mask_slot(m)) slots_.push_back(i);
    }
    // A number that is zero and shown blank edits from blank places, its literals still in place.
    if (type_ == 'N' && picture_.zero_blank) {
        auto n = std::get<Decimal>(v);
        int decimals = dot_ < 0 ? 0 : static_cast<int>(mask_.size()) - dot_ - 1;
        if (n.round(decimals).is_zero()) clear_slots();
    }
}

void Get::set_focus() {
    original_ = var_get();
    focus_ = true;
    reset();
}

void Get::reset() {
    load_buffer(var_get());
    changed_ = false;
    type_out_ = false;
    offset_ = 0;
    pos_ = slots_.empty() ? 0 : slots_[0];
    // Typing into a number, or a field with @K, starts from an empty field.
    clear_pending_ = type_ == 'N' || picture_.clear_first;
}

void Get::kill_focus() {
    focus_ = false;
    type_out_ = false;
    clear_pending_ = false;
    offset_ = 0;
}

int Get::slot_index(int pos) const {
    for (int i = 0; i < static_cast<int>(slots_.size()); ++i)
        if (slots_[static_cast<std::size_t>(i)] == pos) return i;
    return -1;
}

std::pair<int, int> Get::section(int pos) const {
    int n = static_cast<int>(slots_.size());
    if (type_ != 'N' || dot_ < 0) return {0, n};
    int first_dec = 0;
    while (first_dec < n && slots_[static_cast<std::size_t>(first_dec)] < dot_) ++first_dec;
    return pos < dot_ ? std::pair{0, first_dec} : std::pair{first_dec, n};
}

void Get::move_to_slot(int index) {
    pos_ = slots_[static_cast<std::size_t>(index)];
    type_out_ = false;
    int width = picture_.scroll;
    if (width > 0) {
        if (pos_ < offset_) offset_ = pos_;
        if (pos_ >= offset_ + width) offset_ = pos_ - width + 1;
    }
}

void Get::clear_slots() {
    for (int p : slots_) buffer_[static_cast<std::size_t>(p)] = ' ';
    changed_ = true;
}

void Get::touched() { clear_pending_ = false; }

bool Get::type_char(char c, bool insert) {
    if (!focus_ || slots_.empty() || type_out_) return false;
    int si = slot_index(pos_);
    bool first = clear_pending_ && si == 0;
    if (type_ == 'N') {
        if (c == '.' || c == ',') {
            if (dot_ < 0) return false;
            if (first) clear_slots();
            to_dec_pos();
            return true;
        }
        bool ok = is_digit(c) || (c == '-' && (dot_ < 0 || pos_ < dot_)) ||
                  (c == ' ' && mask_[static_cast<std::size_t>(pos_)] == '#');
        if (!ok) return false;
        if (c == '-')
            for (char& b : buffer_) b = b == '-' ? ' ' : b;
    } else if (type_ == 'D') {
        if (!is_digit(c)) return false;
    } else {
        char m = mask_[static_cast<std::size_t>(pos_)];
        if (!mask_accepts(m, c)) return false;
        if (picture_.upper || m == '!' || type_ == 'L') c = to_upper(c);
    }
    if (first) clear_slots();
    clear_pending_ = false;
    auto [a, b] = section(pos_);
    (void)a;
    if (insert)
        for (int k = b - 1; k > si; --k)
            buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(k)])] =
                buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(k - 1)])];
    buffer_[static_cast<std::size_t>(pos_)] = c;
    changed_ = true;
    if (si + 1 < static_cast<int>(slots_.size())) move_to_slot(si + 1);
    else type_out_ = true;
    return true;
}

void Get::left() {
    touched();
    int si = slot_index(pos_);
    if (type_out_) type_out_ = false;
    else if (si > 0) move_to_slot(si - 1);
}

void Get::right() {
    touched();
    int si = slot_index(pos_);
    if (si >= 0 && si + 1 < static_cast<int>(slots_.size())) move_to_slot(si + 1);
}

void Get::home() {
    touched();
    if (!slots_.empty()) move_to_slot(0);
}

void Get::end() {
    touched();
    if (slots_.empty()) return;
    int n = static_cast<int>(slots_.size());
    int last = -1;
    for (int k = 0; k < n; ++k)
        if (buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(k)])] != ' ') last = k;
    move_to_slot(last + 1 < n ? last + 1 : n - 1);
}

void Get::del() {
    touched();
    int si = slot_index(pos_);
    if (si < 0) return;
    auto [a, b] = section(pos_);
    (void)a;
    for (int k = si; k + 1 < b; ++k)
        buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(k)])] =
            buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(k + 1)])];
    buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(b - 1)])] = ' ';
    changed_ = true;
}

void Get::backspace() {
    touched();
    if (type_out_) {
        // The cursor stands past the last character typed: that one goes.
        type_out_ = false;
        del();
        return;
    }
    int si = slot_index(pos_);
    if (si <= 0) return;
    move_to_slot(si - 1);
    del();
}

void Get::del_end() {
    touched();
    int si = slot_index(pos_);
    if (si < 0) return;
    for (std::size_t k = static_cast<std::size_t>(si); k < slots_.size(); ++k)
        buffer_[static_cast<std::size_t>(slots_[k])] = ' ';
    type_out_ = false;
    changed_ = true;
}

void Get::to_dec_pos() {
    touched();
    if (type_ != 'N' || dot_ < 0) return;
    auto [a, first_dec] = section(0);
    std::string digits;
    bool negative = false;
    for (int k = a; k < first_dec; ++k) {
        char c = buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(k)])];
        if (is_digit(c)) digits += c;
        if (c == '-') negative = true;
    }
    if (negative) digits.insert(digits.begin(), '-');
    for (int k = first_dec - 1; k >= a; --k) {
        char c = ' ';
        if (!digits.empty()) {
            c = digits.back();
            digits.pop_back();
        }
        buffer_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(k)])] = c;
    }
    changed_ = true;
    if (first_dec < static_cast<int>(slots_.size())) move_to_slot(first_dec);
}

bool Get::edit_key(int key, bool insert) {
    switch (key) {
        case K_LEFT: left(); return true;
        case K_RIGHT: right(); return true;
        case K_HOME: home(); return true;
        case K_END: end(); return true;
        case K_DEL: del(); return true;
        case K_BS: backspace(); return true;
        case K_CTRL_Y: del_end(); return true;
        default: break;
    }
    if (key >= 32 && key <= 255) {
        type_char(static_cast<char>(key), insert);
        return true;
    }
    return false;
}

namespace {

// The number typed in a numeric buffer; blank decimals count as zeros.
std::optional<Decimal> number_from_buffer(const std::string& buffer, const std::vector<int>& slots, int dot) {
    std::string int_part, dec_part;
    bool negative = false;
    for (int p : slots) {
        char c = buffer[static_cast<std::size_t>(p)];
        bool decimal = dot >= 0 && p > dot;
        if (c == '-' && !decimal && !negative) negative = true;
        else if (is_digit(c)) (decimal ? dec_part : int_part) += c;
        else if (c == ' ') {
            if (decimal) dec_part += '0';
        } else {
            return std::nullopt;
        }
    }
    std::string text = (negative ? "-" : "") + (int_part.empty() ? std::string("0") : int_part);
    if (!dec_part.empty()) text += "." + dec_part;
    return Decimal::parse(text);
}

}  // namespace

bool Get::bad_input() const {
    switch (type_) {
        case 'N': return !number_from_buffer(buffer_, slots_, dot_).has_value();
        case 'D': return !date_from_buffer(buffer_).has_value();
        default: return false;
    }
}

Value Get::buffer_value() const {
    switch (type_) {
        case 'C': {
            std::string s;
            if (picture_.literals_out)
                for (int p : slots_) s += buffer_[static_cast<std::size_t>(p)];
            else
                s = buffer_;
            // A value longer than its template keeps the part the template does not show.
            if (auto o = std::get_if<std::string>(&original_); o && o->size() > s.size()) s += o->substr(s.size());
            return s;
        }
        case 'N': {
            auto n = number_from_buffer(buffer_, slots_, dot_);
            return n ? Value(*n) : original_;
        }
        case 'D': {
            auto d = date_from_buffer(buffer_);
            return d ? Value(*d) : original_;
        }
        case 'L': return !slots_.empty() && (buffer_[0] == 'T' || buffer_[0] == 'Y');
        default: return original_;
    }
}

void Get::assign() {
    if (!bad_input()) var_put(buffer_value());
}

void Get::undo() {
    var_put(original_);
    reset();
}

void Get::update_buffer() {
    int si = slot_index(pos_);
    load_buffer(var_get());
    type_out_ = false;
    if (!slots_.empty()) move_to_slot(si >= 0 && si < static_cast<int>(slots_.size()) ? si : 0);
}

std::string Get::text() const {
    std::string t = focus_ ? buffer_ : format_value(var_get(), picture_);
    int width = picture_.scroll;
    if (width <= 0) return t;
    std::size_t from = focus_ ? static_cast<std::size_t>(offset_) : 0;
    t = from < t.size() ? t.substr(from, static_cast<std::size_t>(width)) : "";
    t.resize(static_cast<std::size_t>(width), ' ');
    return t;
}

}  // namespace platform::console
