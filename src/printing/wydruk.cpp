#include "printing/wydruk.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "common/console.h"
#include "common/format.h"
#include "data/engine.h"
#include "data/session.h"
#include "printing/kody.h"
#include "printing/pliki.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

// The spool file as the console's printer: counts the head's row and column as a printer would.
class SpoolSink : public platform::console::DeviceSink {
  public:
    explicit SpoolSink(std::FILE* f) : file_(f) {}
    ~SpoolSink() override {
        if (file_) std::fclose(file_);
    }
    SpoolSink(const SpoolSink&) = delete;
    SpoolSink& operator=(const SpoolSink&) = delete;

    void devpos(int row, int col) override {
        if (row < row_) eject();
        for (; row_ < row; ++row_) {
            write("\r\n");
            col_ = 0;
        }
        if (col < col_) {
            write("\r");
            col_ = 0;
        }
        if (col > col_) write(std::string(static_cast<std::size_t>(col - col_), ' '));
        col_ = std::max(col, col_);
    }
    void devout(std::string_view text) override { qqout(text); }
    void qout(std::string_view text) override {
        write("\r\n");
        ++row_;
        col_ = 0;
        qqout(text);
    }
    void qqout(std::string_view text) override {
        write(text);
        col_ += static_cast<int>(text.size());
    }
    void eject() {
        write(std::string(1, FF));
        row_ = col_ = 0;
    }

    int row_ = 0, col_ = 0;

    // False when anything failed to reach the file.
    bool close() {
        bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
        ok = std::fclose(file_) == 0 && ok;
        file_ = nullptr;
        return ok;
    }

  private:
    std::FILE* file_;
    bool failed_ = false;

    void write(std::string_view bytes) {
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
    }
};

struct Redirection {
    std::unique_ptr<SpoolSink> sink;
    platform::console::DeviceSink* device_before;
    platform::console::DeviceSink* line_before;
};

std::vector<Redirection>& redirections() {
    static std::vector<Redirection> stack;
    return stack;
}

// Whether slot `n` (1-based) belongs to a copy that runs now. Only the firm record knows; without
// the firm table open every slot counts as taken.
bool live_slot(int n) {
    const int area = SELECT("FIRMA");
    if (area == 0) return true;
    const int before = SELECT();
    DBSELECTAREA(area);
    std::string st;
    if (FIELDPOS("ST") > 0 && !EOF()) st = FC("ST");
    DBSELECTAREA(before);
    if (static_cast<std::size_t>(n) > st.size()) return false;
    char c = st[static_cast<std::size_t>(n) - 1];
    return c != '0' && c != ' ';
}

bool create_exclusively(const fs::path& p) {
    std::FILE* f = std::fopen(p.c_str(), "wbx");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

std::string PLIK_WYDRUKU(std::string_view stem) { return "rob\\" + std::string(stem) + STR2(STACJA) + ".prn"; }
std::string PLIK_DRUKU() { return PLIK_WYDRUKU("druk"); }
std::string PLIK_ZEBRY() { return PLIK_WYDRUKU("zebra"); }

std::string PRZYGOTUJ_WYDRUK(std::string_view file) {
    if (FERASE(file)) return std::string(file);
    std::string name(file);
    std::size_t dot = name.rfind('.');
    std::size_t slash = name.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = name.size();
    if (dot < 2 + (slash == std::string::npos ? 0 : slash + 1)) return {};
    for (int n = 51; n <= 99; ++n) {
        if (live_slot(n)) continue;
        std::string candidate = name.substr(0, dot - 2) + std::to_string(n) + name.substr(dot);
        fs::path p = SCIEZKA(candidate);
        if (!p.empty() && create_exclusively(p)) return candidate;
    }
    return {};
}

bool INITDRUK(std::string_view file) {
    fs::path p = SCIEZKA(file);
    if (p.empty()) return false;
    std::error_code ec;
    if (p.has_parent_path()) fs::create_directories(p.parent_path(), ec);
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (!f) return false;
    Console& c = CONSOLE();
    redirections().push_back({std::make_unique<SpoolSink>(f), c.device_sink(), c.line_sink()});
    SpoolSink* sink = redirections().back().sink.get();
    c.set_device_sink(sink);
    c.set_line_sink(sink, false);
    return true;
}

bool CLOSEDRUK() {
    if (redirections().empty()) return true;
    Redirection r = std::move(redirections().back());
    redirections().pop_back();
    Console& c = CONSOLE();
    c.set_device_sink(r.device_before);
    c.set_line_sink(r.line_before, false);
    return r.sink->close();
}

bool DRUK_WLACZONY() { return !redirections().empty(); }

int PROW() { return redirections().empty() ? 0 : redirections().back().sink->row_; }
int PCOL() { return redirections().empty() ? 0 : redirections().back().sink->col_; }

void SETPRC(int row, int col) {
    if (redirections().empty()) return;
    redirections().back().sink->row_ = row;
    redirections().back().sink->col_ = col;
}

void EJECT() {
    if (!redirections().empty()) redirections().back().sink->eject();
}

}  // namespace sklad
