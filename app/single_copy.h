#pragma once
// A second copy of the game asks the first to come to the front instead of
// playing beside it: both would write the same files.
#include <string>

// The lock holder listens for such requests for its data folder.
void ListenForRaiseRequests(const std::string& dataFolder);
// True once for each round of requests that arrived since the last call.
bool TakeRaiseRequest();
// Asks the copy that holds this data folder to raise its window; false when no
// copy of the game answered.
bool AskToRaise(const std::string& dataFolder);
