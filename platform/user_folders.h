#pragma once
// Where the program and the player's files live.
#include <string>

// The folder holding the running program, with a trailing '/'.
std::string ProgramFolder();

// The user's documents folder: $XDG_DOCUMENTS_DIR if set, else the
// XDG_DOCUMENTS_DIR entry of $XDG_CONFIG_HOME/user-dirs.dirs (default
// ~/.config), else $HOME/Documents. No trailing '/'.
std::string DocumentsFolder();
