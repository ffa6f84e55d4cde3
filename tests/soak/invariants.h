#pragma once
// What must hold on every tick of any game, and what a saved record must give
// back when it is continued. Each check appends a readable line per broken rule.
#include <string>
#include <vector>

#include "game/tform1.h"

// The board and counters of a live game.
void CheckGameInvariants(const TForm1& g, std::vector<std::string>& broken);

// The file just written by a save holds exactly the record the game built, and
// the game itself would accept it when asked to continue.
void CheckSavedRecord(const TForm1& g, const std::string& recordPath, std::vector<std::string>& broken);

// After a continue ([Y]) the game shows the board of the record it read (same
// window size, so positions are unscaled).
void CheckRestoredFrom(const TForm1& g, const TDataRec& saved, std::vector<std::string>& broken);
