#pragma once
// Runs an outside program that must never hold up the game: it gets a deadline
// and is killed (with everything it started) when it overruns it.
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

enum class ChildOutcome {
    Exited,      // ran to its end; exitCode holds its status
    Killed,      // overran its deadline or was cancelled, and was killed
    NotStarted,  // could not be started
};

struct ChildResult {
    ChildOutcome outcome = ChildOutcome::NotStarted;
    int exitCode = -1;  // -1 unless it exited normally
};

// Runs argv[0] (a path; PATH is not searched) with stdin read from stdinFile and
// stdout/stderr discarded. Waits until it ends, the timeout passes or `cancel`
// becomes true.
ChildResult RunChild(const std::vector<std::string>& argv, const std::string& stdinFile,
                     std::chrono::milliseconds timeout, const std::atomic<bool>& cancel);
