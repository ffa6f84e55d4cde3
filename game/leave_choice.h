#pragma once
// A save on the way out ([Esc], closing the window, [D]) that failed: the player
// stays, told which file and why, and chooses between going back to the game
// ([B]) and leaving without saving ([Q]).
#include <string>

enum class LeaveAfterFailedSave { None, Close, Minimise };

struct LeaveChoice {
    LeaveAfterFailedSave pending = LeaveAfterFailedSave::None;
    std::string messageBefore;  // LblMsg as it was before the save, for [B]
    bool messageBeforeVisible = false;
    bool unsaved = false;  // the close that follows [Q] does not save again
};
