#pragma once
// PDF files of printouts: A4 pages of 60 spool lines each, the headline font F1 (16 points) and
// the normal font F2 (8 points) chosen by the font strings in the lines, in an embedded
// monospaced TrueType font so that Polish letters are real letters that read and extract as
// themselves.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sklad {

// A line of a spool file translated for the PDF: runs of text, each in F1 or F2, one after the
// other unless a run gives its own position (points right of the line's start).
struct PdfRun {
    bool headline = false;  // F1 16 points; otherwise F2 8 points
    std::u32string text;
    std::optional<double> x;
};
// Translates one spool line (without its line end). `headline` is the font in force before the
// line and is left as the font in force after it. Font strings at the start of a line pick the
// font (PCL headline F1, PCL normal F2; ESC/P ESC "3" space, ESC "3" 0x1C, ESC "!" "!",
// ESC "!" 0x11, ESC "!" 0x01 F1, ESC "!" 0x05 F2); one inside the line goes back to F2. Other
// control sequences, form feeds, 0xAE and 0xAF are dropped, 0xFF is a blank, the box line 0xC4
// an em dash, and every overstruck letter is composed through the one overstrike table. A line
// with a picture (ESC "I;") is empty. The buyer and recipient headlines ("Nabywca   : ",
// "Odbiorca  : ") put the rest of the line in F2 145 points further right.
std::vector<PdfRun> KODUJ(std::string_view line, bool& headline);

// The PDF of `source` written to `pdf` (program paths). On a dot-matrix printer kind a spool
// file from rob is first copied to rob\pdfNN.txt with its ESC/P font codes as PCL ones. False,
// after "Brak " and the name, when the source is missing; after a message when the PDF cannot
// be written.
bool TWORZ_PDF(std::string_view source, std::string_view pdf);

// The PDF of a spool file under a name the operator gives ("nazwa pliku PDF:"; empty keeps the
// spool file's own name) in the folder PDF. Returns the PDF's name, "" when none was made.
std::string PDF_WYDRUKU(std::string_view spool);
// The PDF of a document: <folder>\<kind>_<number>.PDF from `source` (default: PLIK).
std::string PDF_WYDRUKU(std::string_view kind, std::string_view number, std::string_view folder,
                        std::string_view source = {});

// After a document printout: when the kind's option words `opis` hold "PDF", its PDF is made in
// PDF and copied to OFERTA, or, when the printer kind or the option words name a drive as
// "X:\PDF", to X:\PDF\YY\MM of the current period. Returns the PDF's name, "" when none was made.
std::string PDF_DOKUMENTU(std::string_view kind, std::string_view number, std::string_view opis,
                          std::string_view source = {});

}  // namespace sklad
