#pragma once
// Copies of the program may run under different Unix accounts on one data folder. Whatever one
// copy creates (tables, indexes, logs, scratch files) the others must be able to write: the
// accounts share a group, the folders pass that group on to new files (set-group-ID folders),
// and files are created group-writable. A folder that is writable by its group is taken as
// meant for sharing; this copy's umask is then widened to keep group write, and anything in
// the folder that another account of the group could not write is reported.

#include <filesystem>
#include <string>
#include <vector>

namespace sklad {

struct StanFolderu {
    bool mozna_pracowac = true;          // false: this account cannot write the folder at all
    std::vector<std::string> problemy;  // one line each, ready to show
};

// Checks `folder` and everything in it (symbolic links are not followed).
StanFolderu UPRAWNIENIA_FOLDERU(const std::filesystem::path& folder = ".");

// At start: the check of the working folder, its problems shown on the screen (until a key, at
// most 15 seconds). False when this copy cannot work in the folder.
bool SPRAWDZ_FOLDER_DANYCH();

}  // namespace sklad
