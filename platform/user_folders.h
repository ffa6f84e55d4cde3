#pragma once
// Where the program and the player's files live.
#include <string>

// The folder holding the running program, with a trailing '/'.
std::string ProgramFolder();
// A folder name ending in '/', ready for a relative path to follow (an empty
// name stays empty: the working folder).
std::string WithTrailingSlash(std::string folder);

// The user's documents folder: $XDG_DOCUMENTS_DIR if set, else the
// XDG_DOCUMENTS_DIR entry of $XDG_CONFIG_HOME/user-dirs.dirs (default
// ~/.config), else $HOME/Documents. Without HOME, the account's home from the
// password database; with none there, throws std::runtime_error. No trailing '/'.
std::string DocumentsFolder();
