#include "app/single_copy.h"

#include <signal.h>

#include <atomic>

namespace {

volatile sig_atomic_t raiseRequested = 0;

void OnRaiseRequest(int) { raiseRequested = 1; }

}  // namespace

void ListenForRaiseRequests() {
    struct sigaction action {};
    action.sa_handler = OnRaiseRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

bool TakeRaiseRequest() {
    if (!raiseRequested) return false;
    raiseRequested = 0;
    return true;
}

bool AskToRaise(pid_t runningCopy) { return runningCopy > 0 && kill(runningCopy, SIGUSR1) == 0; }
