#pragma once
// The data folder and its files.
#include <cstddef>
#include <string>
#include <string_view>

namespace korva {

// Login name of the built-in administrator (account id 1).
constexpr const char* kAdminLoginName = "admin";

// $XDG_DATA_HOME/korva, else $HOME/.local/share/korva.
std::string DefaultDataFolder();

// The folder the program runs from, where the image folder and the blank
// meet template sit; "." when it can't be read.
std::string ProgramFolder();

// Path of the base file inside folder.
std::string BaseFilePath(const std::string& folder);

// Makes folder the data folder (Model().DataFolder): creates it and, on
// first run, the base file with its default catalogue and the built-in
// administrator, whose new random password is returned in
// new_admin_password (empty when the base file already existed). Opens
// BaseConnection and reads the stored organiser's name into OrganiserName.
// 0 done, non-zero on failure (a line is logged).
[[nodiscard]] int OpenDataFolder(const std::string& folder, std::string* new_admin_password);

// The longest organiser's name, in GBK bytes.
constexpr std::size_t kOrganiserNameBytes = 100;

// Stores the organiser's name (GBK, 1 to kOrganiserNameBytes bytes) in the
// base file, which OpenDataFolder reads into OrganiserName at every start,
// and makes it OrganiserName now. 0 done, 1 an empty or too long name, 2
// database error.
[[nodiscard]] int SaveOrganiserName(std::string_view gbk_name);

// Makes folder/name hold exactly text: written to a temporary file of the
// folder, synced, and renamed over name, so that name never holds a
// partial text. false on failure, with nothing of it left in the folder.
[[nodiscard]] bool WriteWholeDataFile(const std::string& folder, const std::string& name, std::string_view text);

// Syncs the folder holding path, so that a file created there keeps its
// name through a power cut. False on failure.
bool SyncFolderOf(const std::string& path);

// 1 when no file matches path, else 0.
[[nodiscard]] int IsFileMissing(const std::string& path);

}  // namespace korva
