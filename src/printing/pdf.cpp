#include "printing/pdf.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/drives.h"
#include "common/format.h"
#include "data/access.h"
#include "data/session.h"
#include "platform/printer/pdf.h"
#include "platform/text/cp852.h"
#include "platform/text/overstrike.h"
#include "printing/kody.h"
#include "printing/pliki.h"
#include "printing/pytania.h"
#include "printing/session.h"
#include "printing/tekst.h"

namespace sklad {

namespace pp = platform::printer;
namespace fs = std::filesystem;

namespace {

// Page geometry: A4, 60 lines a page from (22, 820) down in steps of 13 points.
constexpr int kLinesPerPage = 60;
constexpr double kLeft = 22, kTop = 820, kStep = 13, kBottom = 40;
// The fonts' sizes and advances (thousandths of the size) that the page layout is made for.
constexpr double kHeadSize = 16, kHeadAdvance = 775, kNormSize = 8, kNormAdvance = 467;
constexpr double kBuyerShift = 145;
constexpr int kLogoWidth = 659, kLogoHeight = 144;

// A PCL font string (PCL_FONT) at `at`: its length and point size.
struct PclFont {
    std::size_t length;
    int points;
};
std::optional<PclFont> pcl_font_at(std::string_view s, std::size_t at) {
    static constexpr std::string_view kParts[] = {"&l0O", "(10U", "(s0P", "(s#H", "(s#V", "(s0S", "(s#B", "(s4101T", "(s2Q"};
    std::size_t i = at;
    int points = 0;
    for (std::size_t part = 0; part < std::size(kParts); ++part) {
        if (i >= s.size() || s[i] != ESC) return std::nullopt;
        ++i;
        for (char p : kParts[part]) {
            if (p != '#') {
                if (i >= s.size() || s[i] != p) return std::nullopt;
                ++i;
                continue;
            }
            int value = 0, digits = 0;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 4) {
                value = value * 10 + (s[i++] - '0');
                ++digits;
            }
            if (digits == 0) return std::nullopt;
            if (part == 4) points = value;
        }
    }
    return PclFont{i - at, points};
}

// The length of any other control sequence at `at` (which holds ESC).
std::size_t escape_length(std::string_view s, std::size_t at) {
    if (at + 1 >= s.size()) return s.size() - at;
    const unsigned char c = static_cast<unsigned char>(s[at + 1]);
    if (c >= 0x21 && c <= 0x2F && c != '!' && c != '-') {  // PCL: up to an upper-case letter
        std::size_t i = at + 2;
        while (i < s.size() && !(s[i] >= 0x40 && s[i] <= 0x5E)) ++i;
        return std::min(i + 1, s.size()) - at;
    }
    if (c == '!' || c == '3' || c == '-' || c == 'A' || c == 'W' || c == 'J' || c == 'x')
        return std::min<std::size_t>(3, s.size() - at);
    return 2;
}

// ESC/P font codes as the PCL strings the PDF reads (dot-matrix printer kinds).
std::string escp_to_pcl(std::string_view in) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != ESC || i + 2 >= in.size() || (in[i + 1] != '3' && in[i + 1] != '!')) {
            out += in[i];
            continue;
        }
        const char code = in[i + 1], n = in[i + 2];
        i += 2;
        if (code == '3') continue;
        if (n == '!') {
            out += PCL_NAGLOWEK();
        } else if (n == '\x01') {
            if (in.substr(i + 1, 3) == std::string_view("\x1b!\x05", 3)) {
                out += PCL_NORMALNY();
                i += 3;
            }
        } else {
            out += PCL_NORMALNY();
        }
    }
    return out;
}

bool in_rob(std::string_view file) {
    std::string f = UPPER(file);
    return f.starts_with("ROB\\") || f.starts_with("ROB/");
}

std::u32string unicode(char c) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b == 0xC4) return U"\u2014";
    if (b == 0xFF) return U" ";
    if (b == 0xAE || b == 0xAF || b < 0x20 || b == 0x7F) return U"";
    return std::u32string(1, platform::text::to_unicode(b));
}

std::string base_name(std::string_view file) {
    std::size_t slash = file.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? file : file.substr(slash + 1);
    return std::string(name.substr(0, name.rfind('.')));
}

// Kind and number as they go into a file name: trimmed, no separators.
std::string name_part(std::string_view s) {
    std::string out = ALLTRIM(s);
    for (char& c : out)
        if (c == '\\' || c == '/' || c == ':' || static_cast<unsigned char>(c) < 32) c = '_';
    return out;
}

std::string creation_date() {
    std::string t = TIME();
    t.erase(std::remove(t.begin(), t.end(), ':'), t.end());
    return "D:" + DATE().dtos() + t + "+01'00'";
}

}  // namespace

std::vector<PdfRun> KODUJ(std::string_view line, bool& headline) {
    std::vector<PdfRun> runs;
    if (line.substr(0, 3) == "\x1bI;") return runs;
    bool text_seen = false;
    bool buyer = false;  // the buyer's headline: the rest of the line goes further right
    if (auto head = pcl_font_at(line, 0); head && head->points >= 14) {
        std::string_view label = line.substr(head->length, 12);
        buyer = (label == "Nabywca   : " || label == "Odbiorca  : ") && pcl_font_at(line, head->length + 12);
    }
    auto font = [&](bool h) {
        if (!runs.empty() && runs.back().headline == h) return;
        headline = h;
        if (!runs.empty() && runs.back().text.empty()) {
            runs.back().headline = h;
            return;
        }
        runs.push_back({h, {}, std::nullopt});
    };
    font(headline);
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == ESC) {
            if (auto pcl = pcl_font_at(line, i)) {
                const bool was_text = text_seen;
                font(text_seen ? false : pcl->points >= 14);
                if (buyer && was_text) {
                    runs.push_back({false, {}, kBuyerShift});
                    buyer = false;
                }
                i += pcl->length;
                continue;
            }
            if (!text_seen && i + 2 < line.size() && (line[i + 1] == '3' || line[i + 1] == '!')) {
                const char n = line[i + 2];
                if (line[i + 1] == '3' && (n == ' ' || n == '\x1c')) font(true);
                if (line[i + 1] == '!' && (n == '!' || n == '\x11' || n == '\x01')) font(true);
                if (line[i + 1] == '!' && n == '\x05') font(false);
            }
            i += escape_length(line, i);
            continue;
        }
        if (c == '\b') {
            // letter, backspace, mark: the letter the overstrike table gives, or the bare letter
            if (i + 1 < line.size()) {
                std::u32string& text = runs.back().text;
                if (!text.empty()) {
                    int b = platform::text::from_unicode(text.back());
                    if (b >= 0)
                        if (auto letter = platform::text::compose_overstrike(static_cast<char>(b), line[i + 1]))
                            text.back() = platform::text::to_unicode(static_cast<unsigned char>(*letter));
                }
                ++i;
            }
            ++i;
            continue;
        }
        std::u32string u = unicode(c);
        if (!u.empty()) {
            runs.back().text += u;
            text_seen = true;
        }
        ++i;
    }
    std::erase_if(runs, [](const PdfRun& r) { return r.text.empty(); });
    return runs;
}

bool TWORZ_PDF(std::string_view source, std::string_view pdf) {
    auto bytes = MEMOREAD(source);
    if (!bytes) {
        _OKNO_("Brak " + std::string(source));
        return false;
    }
    const ScreenImage area = SAVESCREEN(15, 30, 20, 72);
    if (!JEST_PCL() && in_rob(source)) {
        _OKNO_("Tworze " + std::string(pdf) + " z " + std::string(source), "...");
        *bytes = escp_to_pcl(*bytes);
        MEMOWRIT("rob\\pdf" + STR2(STACJA) + ".txt", *bytes);
    } else {
        _OKNO_("Tworze " + std::string(pdf), "...");
    }
    bool ok = false;
    try {
        pp::PdfDocument doc;
        doc.set_info({"Faktura w formacie PDF", "TOLBERG", "TOLBERG", "VAT TO PDF", creation_date()});
        const double head_stretch = kHeadAdvance * kHeadSize / 10 / doc.char_width(pp::PdfFont::Regular, kHeadSize);
        const double norm_stretch = kNormAdvance * kNormSize / 10 / doc.char_width(pp::PdfFont::Regular, kNormSize);
        const std::vector<Wiersz> lines = WIERSZE(*bytes);
        bool headline = false;
        double y = kBottom;
        for (std::size_t n = 0; n < lines.size() || n == 0; ++n) {
            if (n % kLinesPerPage == 0 || y <= kBottom) {
                doc.add_page();
                y = kTop;
                if (doc.page_count() == 1) {
                    auto logo = FILE_X("LOGO.data") ? MEMOREAD("LOGO.data") : std::nullopt;
                    if (logo && logo->size() == static_cast<std::size_t>(kLogoWidth * kLogoHeight * 3))
                        doc.picture_rgb(7.5, pp::kA4Height - 127 - 7.5, 580, 127, kLogoWidth, kLogoHeight, *logo);
                }
            }
            if (n >= lines.size()) break;
            std::string_view text = std::string_view(*bytes).substr(lines[n].start, lines[n].length);
            double x = kLeft;
            for (const PdfRun& run : KODUJ(text, headline)) {
                if (run.x) x = kLeft + *run.x;
                const double size = run.headline ? kHeadSize : kNormSize;
                doc.text(x, y, pp::PdfFont::Regular, size, run.text, run.headline ? head_stretch : norm_stretch);
                x += static_cast<double>(run.text.size()) * (run.headline ? kHeadAdvance : kNormAdvance) * size / 1000;
            }
            y -= kStep;
        }
        fs::path target = SCIEZKA(pdf);
        std::error_code ec;
        if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
        doc.save(target);
        ok = true;
    } catch (const std::exception& e) {
        RESTSCREEN(15, 30, 20, 72, area);
        _OKNO_("Nie utworzono " + std::string(pdf), 3);
        _OKNO_(platform::text::from_utf8(e.what()).substr(0, 41), 3);
    }
    RESTSCREEN(15, 30, 20, 72, area);
    return ok;
}

std::string PDF_WYDRUKU(std::string_view spool) {
    std::string name = PYTAJ(24, 0, "nazwa pliku PDF:", "", 30);
    if (LASTKEY() == K_ESC) return {};
    if (name.empty()) name = base_name(spool);
    std::string pdf = PLIK_EKSPORTU("PDF", name, ".PDF");
    if (pdf.empty() || !TWORZ_PDF(spool, pdf)) return {};
    return pdf;
}

std::string PDF_WYDRUKU(std::string_view kind, std::string_view number, std::string_view folder,
                        std::string_view source) {
    const std::string dir = folder.empty() ? std::string("PDF") : std::string(folder);
    const std::string pdf = dir + "\\" + name_part(kind) + "_" + name_part(number) + ".PDF";
    if (!FUN_FOLDER(dir)) return {};
    return TWORZ_PDF(source.empty() ? std::string_view(PLIK) : source, pdf) ? pdf : std::string();
}

std::string PDF_DOKUMENTU(std::string_view kind, std::string_view number, std::string_view opis,
                          std::string_view source) {
    if (!ZAWIERA(opis, "PDF")) return {};
    const std::string pdf = PDF_WYDRUKU(kind, number, "PDF", source);
    if (pdf.empty()) return {};
    const std::string name = name_part(kind) + "_" + name_part(number) + ".PDF";
    std::optional<char> drive = DYSK_PDF(M_DRUKARKA);
    if (!drive) drive = DYSK_PDF(UPPER(opis));
    const std::string dir = drive ? std::string(1, *drive) + ":\\PDF\\" + HH : std::string("OFERTA");
    if (!FUN_FOLDER(dir)) return pdf;
    std::error_code ec;
    fs::copy_file(SCIEZKA(pdf), SCIEZKA(dir + "\\" + name), fs::copy_options::overwrite_existing, ec);
    if (ec) _OKNO_("Nie skopiowano " + name, 3);
    return pdf;
}

}  // namespace sklad
