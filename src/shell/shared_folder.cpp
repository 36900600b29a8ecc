// The permission check of a data folder shared by several Unix accounts.
#include "shell/shared_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include "common/console.h"
#include "platform/text/cp852.h"

namespace sklad {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kShown = 12;       // problems listed by name; the rest are counted
constexpr std::size_t kVisited = 50000;  // a data folder is never this large; stop looking then

struct Walk {
    gid_t group;
    bool shared;
    std::vector<std::string> found;
    std::size_t more = 0;

    void report(std::string line) {
        if (found.size() < kShown)
            found.push_back(std::move(line));
        else
            ++more;
    }

    void check(const fs::path& path, const std::string& shown) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return;
        const bool folder = S_ISDIR(st.st_mode);
        if (::access(path.c_str(), folder ? (W_OK | X_OK) : W_OK) != 0)
            report(shown + ": brak prawa zapisu dla tego konta");
        if (!shared) return;
        if (st.st_gid != group)
            report(shown + ": inna grupa niz folder danych (chgrp)");
        else if (!(st.st_mode & S_IWGRP))
            report(shown + ": grupa nie moze zapisywac (chmod g+w)");
        else if (folder && !(st.st_mode & S_ISGID))
            report(shown + ": folder nie przekazuje grupy nowym plikom (chmod g+s)");
    }
};

}  // namespace

StanFolderu UPRAWNIENIA_FOLDERU(const fs::path& folder) {
    StanFolderu result;
    struct stat top {};
    std::error_code ec;
    const std::string where = fs::weakly_canonical(fs::absolute(folder, ec), ec).string();
    if (::stat(folder.c_str(), &top) != 0 || ::access(folder.c_str(), W_OK | X_OK) != 0) {
        result.mozna_pracowac = false;
        result.problemy.push_back("Brak prawa zapisu w folderze danych " + where);
        return result;
    }
    Walk walk{top.st_gid, (top.st_mode & S_IWGRP) != 0, {}, 0};
    if (walk.shared) {
        // Files this copy creates must stay writable for the group.
        const mode_t mask = ::umask(0);
        ::umask(mask & ~mode_t(S_IRWXG));
        if (!(top.st_mode & S_ISGID)) walk.report(where + ": folder nie przekazuje grupy nowym plikom (chmod g+s)");
    }
    std::size_t visited = 0;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end && visited < kVisited; it.increment(ec), ++visited)
        walk.check(it->path(), it->path().lexically_relative(folder).string());
    result.problemy = std::move(walk.found);
    if (walk.more > 0) result.problemy.push_back("... i jeszcze " + std::to_string(walk.more));
    return result;
}

bool SPRAWDZ_FOLDER_DANYCH() {
    const StanFolderu state = UPRAWNIENIA_FOLDERU(".");
    if (state.problemy.empty()) return true;
    const ScreenImage screen = SAVESCREEN();
    CLS();
    DISPOUTAT(1, 1, state.mozna_pracowac ? "Folder danych nie jest gotowy do pracy kilku kont:"
                                         : "Program nie moze pracowac w tym folderze:",
              "W+/N");
    int row = 3;
    for (const std::string& line : state.problemy) {
        std::string shown = platform::text::from_utf8(line);
        if (shown.size() > 78) shown = "..." + shown.substr(shown.size() - 75);
        DISPOUTAT(row++, 1, shown);
    }
    DISPOUTAT(22, 1, "Jak przygotowac folder: README.md, \"Several copies on one data folder\"");
    DISPOUTAT(23, 1, "Nacisnij dowolny klawisz ...");
    INKEY(15);
    RESTSCREEN(screen);
    return state.mozna_pracowac;
}

}  // namespace sklad
