// The operator log: session entries, audit events and the rotations into archives.
#include "shell/operator_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/pending.h"
#include "data/session.h"
#include "operators/rights.h"
#include "shell/settings.h"
#include "shell/value_files.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCrLf = "\r\n";

// Appends `text` in one write, creating the file; 0 or the error number.
int append(const fs::path& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    int error = 0;
    if (!text.empty() && ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) error = errno;
    ::close(fd);
    return error;
}

// The log as it is on disk (any letter case), or the name a new one gets.
fs::path log_path() { return settings_detail::find_file("OPERATOR.TXT").value_or(fs::path("operator.txt")); }

int year_written(const fs::path& p) {
    std::error_code ec;
    const auto t = fs::last_write_time(p, ec);
    if (ec) return 0;
    const std::time_t tt = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(t)));
    std::tm local{};
    localtime_r(&tt, &local);
    return local.tm_year + 1900;
}

// Moves the log to `target`, appending when the archive exists. Only the copy whose rename of
// the log succeeds moves it; the others find no log and leave it to that one.
bool move_log(const fs::path& log, const fs::path& target) {
    const fs::path taken = log.parent_path() / ("operator." + std::to_string(::getpid()) + ".tmp");
    std::error_code ec;
    fs::rename(log, taken, ec);
    if (ec) return false;
    if (!target.parent_path().empty()) fs::create_directories(target.parent_path(), ec);
    std::ifstream in(taken, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || append(target, text) != 0) {
        fs::rename(taken, log, ec);  // the log stays where it was rather than be lost
        return false;
    }
    fs::remove(taken, ec);
    return true;
}

// Rereads the settings so that a save below keeps what other copies changed meanwhile.
void reread_settings() {
    std::error_code ec;
    if (fs::exists(PARAMETR_MEM, ec)) CZYTAJ_PARAMETR(ModelDrukarki::Z_PLIKU);
}

void remember_log_time(const fs::path& log) {
    J_OPE_Z_PLIKU(log.string());
    ZAPISZ_PARAMETR({"J_DAT_OPE", "J_TIM_OPE"});
}

std::string name30() {
    std::string name = M_NAZWISKO;
    name.resize(30, ' ');
    return name;
}

std::string trimmed_name() {
    std::string name = M_NAZWISKO;
    name.erase(0, name.find_first_not_of(' ') == std::string::npos ? name.size() : name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

std::string program_path() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("sklad") : exe.string();
}

// The lines of a session entry; "" for a mode that has none.
std::string session_entry(std::string_view mode) {
    const std::string when = DATE().dmy() + "  " + TIME().substr(0, 5) + "  ";
    auto rule = [](char c) { return std::string(80, c) + kCrLf; };
    if (mode == "P") return rule('=') + when + name30() + " wlaczyl  komputer" + kCrLf;
    if (mode == "K") return when + name30() + " wylaczyl komputer" + kCrLf + rule('=');
    if (mode == "3") return rule('*') + when + trimmed_name() + " kombinowal z karta stalego klienta" + kCrLf + rule('*');
    if (mode == "E") return rule('E') + when + trimmed_name() + " uruchamial " + program_path() + kCrLf + rule('E');
    return "";
}

}  // namespace

bool DOKLEJ_TXT(std::string_view file, std::string_view line) {
    return append(TABLE_FILE(file, ""), std::string(line) + kCrLf) == 0;
}

bool CZAS_PRACY(std::string_view mode) {
    reread_settings();
    if (mode != "3" && mode != "E" && J_KANTY == "N") return true;
    if (mode != "E" && !FILE_X("SESJE.TXT")) return true;
    const std::string entry = session_entry(mode);
    if (entry.empty()) return true;

    const fs::path log = log_path();
    const int written = year_written(log);
    std::error_code ec;
    if (fs::exists(log, ec) && written > 0 && written < DATE().year())
        move_log(log, settings_detail::find_file("OPER" + std::to_string(written) + ".TXT")
                          .value_or(fs::path("oper" + std::to_string(written) + ".txt")));

    const fs::path current = log_path();
    if (const int error = append(current, entry); error != 0) {
        std::string number = std::to_string(error);
        _OKNO_("Problem_" + std::string(number.size() < 6 ? 6 - number.size() : 0, '0') + number, 3.0);
        return false;
    }
    remember_log_time(current);
    return true;
}

bool TWORZ_KANT(int event, std::string_view text) {
    reread_settings();
    if (J_KANTY != "T") return true;
    std::string entry(text);
    if (event != 0 && (entry.size() < 2 || entry.substr(entry.size() - 2) != kCrLf)) entry += kCrLf;
    const fs::path log = log_path();
    if (append(log, event == 0 ? std::string() : entry) != 0) return false;
    remember_log_time(log);
    return true;
}

bool KAS_KANTY(std::string_view target) {
    reread_settings();
    const fs::path log = log_path();
    std::error_code ec;
    if (fs::exists(log, ec) && move_log(log, TABLE_FILE(target, ""))) append(log, "");
    remember_log_time(log_path());
    return true;
}

void ARCHIWUM_OPERATORA() {
    const std::optional<fs::path> log = settings_detail::find_file("OPERATOR.TXT");
    std::error_code ec;
    if (!log || fs::file_size(*log, ec) == 0 || ec) return;
    const Date today = DATE();
    if (HH != STR2(today.year() % 100) + "\\" + STR2(today.month())) return;
    const int month = today.month() == 1 ? 12 : today.month() - 1;
    const int year = today.month() == 1 ? today.year() - 1 : today.year();
    const std::string target = "OPERATOR\\20" + STR2(year % 100) + "_" + STR2(month) + ".TXT";
    if (FILE_X(target)) return;
    KAS_KANTY(target);
}

namespace {
// The full index rebuild of the catalogue archives the log through this.
const bool archive_installed = (KAS_KANTY_ROUTINE(ARCHIWUM_OPERATORA), true);
}  // namespace

}  // namespace sklad
