// Runs every fuzz target over its committed seed corpus and its regression
// inputs (inputs that once crashed or broke a property), in the ordinary test
// suite, so a fixed fault stays fixed without a fuzzing build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/fuzz/fuzz_target.h"

namespace fs = std::filesystem;

namespace {

int RunFolder(const std::string& target, FuzzEntry entry, const fs::path& folder) {
    if (!fs::is_directory(folder)) return 0;
    int inputs = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        if (!file.is_regular_file()) continue;
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(file.path().string());
        entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        ++inputs;
    }
    return inputs;
}

}  // namespace

TEST(FuzzReplay, EveryTargetRunsItsSeedsAndRegressions) {
    const fs::path root = fs::path(TERAMON_SOURCE_DIR) / "tests" / "fuzz";
    ASSERT_FALSE(FuzzTargets().empty());
    for (const auto& [name, entry] : FuzzTargets()) {
        const int seeds = RunFolder(name, entry, root / "corpus" / name);
        RunFolder(name, entry, root / "regressions" / name);
        EXPECT_GT(seeds, 0) << name << " has no seed corpus";
    }
}
