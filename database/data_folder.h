#pragma once
// The data folder and its files.
#include <string>

namespace korva {

// Login name of the built-in administrator (account id 1).
constexpr const char* kAdminLoginName = "admin";

// $XDG_DATA_HOME/korva, else $HOME/.local/share/korva.
std::string DefaultDataFolder();

// Path of the base file inside folder.
std::string BaseFilePath(const std::string& folder);

// Makes folder the data folder (Model().DataFolder): creates it and, on
// first run, the base file with its default catalogue and the built-in
// administrator, whose new random password is returned in new_admin_password
// (empty when the base file already existed). Opens BaseConnection. 0 done,
// non-zero on failure (a line is logged).
int OpenDataFolder(const std::string& folder, std::string* new_admin_password);

// 1 when no file matches path, else 0.
int IsFileMissing(const std::string& path);

}  // namespace korva
