#pragma once
// Windows-style paths as the program writes them ("A:\KOPIA\24", "rob\d03", "PDF\FV_1.PDF") on this
// host. A drive letter stands for a folder set per computer: the environment variable
// SKLAD_DRIVE_<letter> (e.g. SKLAD_DRIVE_A=/media/pen), else a line "<letter>=<folder>" in
// ~/.config/sklad/drives; C: defaults to ~/sklad-c. Below the drive, backslashes become slashes and
// names are folded to lower case, as the tables' own file names are.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sklad {

// The folder a drive letter stands for, or nullopt when this computer has none set.
std::optional<std::filesystem::path> DRIVE_FOLDER(char letter);
// Whether the drive's folder exists now (a pen drive may be out).
bool DRIVE_READY(char letter);
// The host path of a program path; a drive without a folder gives an empty path.
std::filesystem::path HOST_PATH(std::string_view path);
// Creates every folder along the path; false (after "Dysk X nie gotowy" for 2 seconds) when its drive
// is not ready.
bool FUN_FOLDER(std::string_view path);

}  // namespace sklad
