#pragma once
// A spool document drawn on PDF pages as a page printer would print it: every run in its
// pitch and type size, bold, italic, underline, landscape pages, and a page that runs full
// continuing on the next sheet.

#include <filesystem>

#include "platform/printer/pdf.h"
#include "platform/printer/spool.h"

namespace platform::printer {

struct RenderOptions {
    double margin = 36;       // points kept blank on every side of the sheet
    double left_indent = 0;   // further points on the left (the workstation's left margin)
    FontFiles fonts = FontFiles::standard();
    PdfInfo info;
};

// Throws FontError when a font file cannot be loaded.
PdfDocument render_pdf(const SpoolDocument& doc, const RenderOptions& options = {});

// The spool file `spool` printed into the PDF file `pdf`. Throws SpoolError, FontError or
// PdfError; nothing is left behind at `pdf` when it fails.
void spool_file_to_pdf(const std::filesystem::path& spool, const std::filesystem::path& pdf,
                       const RenderOptions& options = {}, const ParseOptions& lines = {});

}  // namespace platform::printer
