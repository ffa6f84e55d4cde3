#pragma once
// One soak game: the whole main window on the virtual clock (the game fixture),
// driven by a seeded stream of random player input: every key command, the
// paddle (mostly under the ball, sometimes anywhere), mouse buttons and [Ctrl],
// minimising and coming back, the settings dialog, saving and continuing both
// through the mode switch and by closing and starting the program again.
// Invariants are checked after every 10 ms step.
#include <cstdint>
#include <deque>
#include <set>
#include <random>
#include <string>
#include <vector>

#include "tests/test_support/game_fixture.h"

struct SoakTotals {
    long games = 0;
    long boards = 0;      // boards dealt ([Shift] accepted)
    long boardsByStage[2][4] = {};  // [mode][stage]
    long ticks = 0;       // 10 ms steps, each followed by the invariant checks
    long saves = 0;       // records written and checked against the game
    long restores = 0;    // continued games checked against their record
    long restarts = 0;    // program closed with [Esc] and started again
    long dialogs = 0;
    long minimises = 0;
    std::vector<std::string> violations;  // "seed S, t=... ms: rule"
};

struct SoakOptions {
    uint32_t virtualMs = 120000;       // play time of one game
    std::string keepRecordsIn;         // when set, every checked record is copied here
};

class SoakSession {
public:
    SoakSession(uint32_t seed, const SoakOptions& options, SoakTotals& totals);
    ~SoakSession();
    void Play();

private:
    class FakeSettingsDialog;

    void StartProgram();
    void WriteAdditionalQuestions();
    void Step();
    void PressRandomKey();
    void MovePaddle();
    void AfterSave();
    void ContinueIfAsked();
    void RestartProgram();
    void Check(const char* when);
    void Broken(const char* when, const std::string& rule);
    void Note(const std::string& event);
    void CountBoard();
    bool Chance(int perThousand) { return std::uniform_int_distribution<int>(0, 999)(rng_) < perThousand; }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    uint32_t seed_;
    SoakOptions options_;
    SoakTotals& totals_;
    std::mt19937 rng_;
    game_test::GameFixture g_;
    std::unique_ptr<FakeSettingsDialog> dialog_;
    std::function<std::optional<int>(int)> aimAtTarget_;
    bool followBall_ = true;
    bool calm_ = false;  // a calm player: few commands, the ball aimed, so later stages are reached
    float wanderX_ = 400;
    uint32_t elapsedMs_ = 0;
    uint32_t minimisedUntil_ = 0;
    bool minimised_ = false;
    TDataRec lastSaved_{};
    bool haveSaved_ = false;
    std::deque<std::string> recent_;     // the last events, told with a violation
    std::set<std::string> seenRules_;    // each rule is told once per game
};
