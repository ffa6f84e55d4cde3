// Soak play: many whole games with random input, every invariant checked on every
// tick. The CI run is short; a long run is one environment variable away:
//   TERAMON_SOAK_GAMES=5000 TERAMON_SOAK_SECONDS=300 build/test_soak
// TERAMON_SOAK_SEED moves the seeds; TERAMON_SOAK_KEEP_RECORDS=<folder> keeps
// every checked save (record + settings, the resume_play fuzz input format).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tests/soak/soak_session.h"

namespace {

long EnvNumber(const char* name, long def) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : def;
}

}  // namespace

TEST(Soak, RandomPlayKeepsEveryInvariant) {
    const long games = EnvNumber("TERAMON_SOAK_GAMES", 200);
    const uint32_t firstSeed = static_cast<uint32_t>(EnvNumber("TERAMON_SOAK_SEED", 1));
    SoakOptions options;
    options.virtualMs = static_cast<uint32_t>(EnvNumber("TERAMON_SOAK_SECONDS", 90) * 1000);
    if (const char* keep = std::getenv("TERAMON_SOAK_KEEP_RECORDS")) options.keepRecordsIn = keep;

    SoakTotals totals;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < games; ++i) SoakSession(firstSeed + static_cast<uint32_t>(i), options, totals).Play();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("soak: %ld games, %ld boards, %ld ticks (%.0f s of play), %ld saves checked, %ld continues "
                "checked, %ld restarts, %ld dialogs, %ld minimises, %zu violations, %.1f s real\n",
                totals.games, totals.boards, totals.ticks, totals.ticks / 100.0, totals.saves, totals.restores,
                totals.restarts, totals.dialogs, totals.minimises, totals.violations.size(), seconds);
    std::printf("soak: boards by stage: score challenge %ld/%ld/%ld, stroke challenge %ld/%ld/%ld\n",
                totals.boardsByStage[0][1], totals.boardsByStage[0][2], totals.boardsByStage[0][3],
                totals.boardsByStage[1][1], totals.boardsByStage[1][2], totals.boardsByStage[1][3]);
    std::string first;
    for (std::size_t i = 0; i < totals.violations.size() && i < 40; ++i) first += totals.violations[i] + "\n";
    EXPECT_TRUE(totals.violations.empty()) << first;
}
