// [X] and [C] on the title screen reach the settings file at once; in a game
// they wait for the game's save, as before.
#include <gtest/gtest.h>

#include <filesystem>

#include "persistence/settings_file.h"
#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

TEST(TitleSwitchesTest, MusicAndSoundSwitchedOnTheTitleAreKept) {
    GameFixture fx;
    const std::string settings = fx.DataFile("Settei.ini");
    ASSERT_TRUE(fx.f().Screens().Title);
    EXPECT_FALSE(std::filesystem::exists(settings)) << "the title screen writes nothing by itself";

    fx.Char(u'x');
    GameSettings kept = ReadGameSettings(settings);
    EXPECT_FALSE(kept.isMusic);
    EXPECT_TRUE(kept.isSound);

    fx.Char(u'c');
    kept = ReadGameSettings(settings);
    EXPECT_FALSE(kept.isMusic);
    EXPECT_FALSE(kept.isSound);
}

TEST(TitleSwitchesTest, InAGameTheSwitchWaitsForTheSave) {
    GameFixture fx;
    fx.StartQuestion();
    ASSERT_FALSE(fx.f().Screens().Title);
    fx.Char(u'x');
    fx.Char(u'c');
    EXPECT_FALSE(std::filesystem::exists(fx.DataFile("Settei.ini")));
}

}  // namespace
