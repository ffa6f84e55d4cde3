// A temporary file in the data folder may be another copy's save in flight:
// only the copy that holds the folder's lock removes it at start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

TEST(DataFolderTidyingTest, StartUpRemovesTemporaryFilesOnlyWhenHoldingTheLock) {
    struct Case {
        bool holdsDataFolder;
        bool tempFileRemains;
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        GameFixture fx;
        fx.form.reset();
        const std::string inFlight = fx.DataFile("newrecord.dat.a1B2c3.tmp");
        std::ofstream(inFlight) << "another copy's save";
        fx.services->holdsDataFolder = c.holdsDataFolder;
        fx.form = std::make_unique<TForm1>(*fx.services);
        fx.form->FormCreate();
        EXPECT_EQ(std::filesystem::exists(inFlight), c.tempFileRemains) << "holds the lock: " << c.holdsDataFolder;
    }
}

}  // namespace
