#pragma once
// A second copy of the game asks the first to come to the front instead of
// playing beside it: both would write the same files.
#include <sys/types.h>

// Installed before the lock is taken, so that no request can end this copy.
void ListenForRaiseRequests();
// True once for each request that arrived since the last call.
bool TakeRaiseRequest();
// Asks the copy with this process id to raise its window; false when it cannot be asked.
bool AskToRaise(pid_t runningCopy);
