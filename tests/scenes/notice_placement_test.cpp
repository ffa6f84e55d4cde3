// The notice under the message, drawn by the real renderer with the real fonts:
// on the title screen (files the start-up could not read) it stays clear of the
// help panel, the message, the title picture, the logo and the paddle; over a
// paused game (a failed save and its two keys) and at the end of a game it stays
// clear of the panel and the message; its text always fits its box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/clear_of_help_panel.h"
#include "tests/scenes/scene_output.h"
#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;
using scene_test::Output;

std::string Describe(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" + std::to_string(r.h);
}

// The notice's box is on screen, holds its text, and meets none of the others.
void ExpectPlaced(TForm1& f, Output& out, const std::vector<std::pair<const char*, SDL_Rect>>& others,
                  const std::string& what) {
    out.Draw(f);
    const SDL_Rect box = out.DrawnArea(*f.Scene().RectNotice);
    const SDL_Rect text = out.DrawnArea(*f.Scene().LblNotice);
    ASSERT_FALSE(SDL_RectEmpty(&box)) << what << ": no notice drawn";
    ASSERT_FALSE(SDL_RectEmpty(&text)) << what << ": no notice text drawn";
    SDL_Rect inside;
    SDL_IntersectRect(&text, &box, &inside);
    EXPECT_TRUE(SDL_RectEquals(&inside, &text))
        << what << ": text at " << Describe(text) << " runs out of its box at " << Describe(box);
    EXPECT_GE(box.x, 0) << what;
    EXPECT_GE(box.y, 0) << what;
    EXPECT_LE(box.x + box.w, out.Width()) << what << ": " << Describe(box);
    EXPECT_LE(box.y + box.h, out.Height()) << what << ": " << Describe(box);
    for (const auto& [name, r] : others) {
        if (SDL_RectEmpty(&r)) continue;
        EXPECT_FALSE(SDL_HasIntersection(&box, &r))
            << what << ": the notice at " << Describe(box) << " meets " << name << " at " << Describe(r);
    }
}

const std::vector<std::string> kOneFile = {
    "NewTuikamondai.txt を読めないので、追加問題なしで始めます。"};
const std::vector<std::string> kTwoFiles = {
    "newrecord.dat を読めないので、中断したゲームとハイスコアなしで始めます（上書きしません）。",
    "Settei.ini を読めないので、初めの設定で始めます（上書きしません）。"};
const std::vector<std::string> kQuestionsAndRecord = {
    kOneFile[0],
    "newrecord.dat を読めないので、中断したゲームとハイスコアなしで始めます（上書きしません）。"};

// Every file at once, the learning files too; and the data folder alone.
const std::vector<std::string> kEveryFile = {
    "newrecord.dat を読めないので、中断したゲームとハイスコアなしで始めます（上書きしません）。",
    "record2.dat を読めないので、最小打数は030から始めます。",
    "Settei.ini を読めないので、初めの設定で始めます（上書きしません）。",
    kOneFile[0],
    "Gakushu.tsv の形式が正しくないので、学習を記録せずに始めます（上書きしません）。",
    "Rireki.tsv の形式が正しくないので、ゲームの結果を記録せずに始めます（上書きしません）。"};
const std::vector<std::string> kThreeFiles = {kTwoFiles[0], kTwoFiles[1], kOneFile[0]};
const std::vector<std::string> kDataFolder = {
    "データフォルダー TeramonData を読めないので、中断したゲーム・記録・設定・追加問題なしで始めます。"};

struct Size {
    int w, h;
};

class NoticePlacement : public testing::TestWithParam<Size> {};

TEST_P(NoticePlacement, OnTheTitleScreen) {
    const Size s = GetParam();
    for (const char* message : {Msg::Start, Msg::ResumeQuestion}) {
        for (const auto& lines : {kOneFile, kTwoFiles, kQuestionsAndRecord, kThreeFiles, kEveryFile, kDataFolder}) {
            GameFixture fx;
            TForm1& f = fx.f();
            f.SetClientSize(s.w, s.h);
            Output out({s.w, s.h, 1});
            f.Scene().LblMsg->Text = message;
            f.FitMessage();
            ASSERT_TRUE(f.StartupNoticeLines().empty());
            f.AddStartupNotices(lines);
            f.ShowStartupNotices();
            out.Draw(f);
            std::vector<std::pair<const char*, SDL_Rect>> others = {
                {"the help panel", out.InPixels(*f.Scene().RectSosaHoho)},
                {"the message", out.DrawnArea(*f.Scene().LblMsg)},
                {"the logo", out.DrawnArea(*f.Scene().ImgLogo)},
                {"the paddle", out.DrawnArea(*f.Scene().ImgPad)},
                {"the music switch", out.DrawnArea(*f.Scene().ImgMusic)},
                {"the high score", out.DrawnArea(*f.Scene().LblHighScore)}};
            for (const TImage* block : f.Scene().ImgBlock) others.push_back({"a block", out.DrawnArea(*block)});
            for (const TImage* ball : f.Scene().ImgBall) others.push_back({"a ball", out.DrawnArea(*ball)});
            // Every file at once may cover the title picture where the room under
            // the message cannot hold them all at a size one can read.
            if (lines.size() <= kQuestionsAndRecord.size() || s.w >= 1920)
                others.push_back({"the title picture", out.DrawnArea(*f.Scene().ImgTitle)});
            ExpectPlaced(f, out, others,
                         std::to_string(s.w) + "x" + std::to_string(s.h) + " under " + message + " with " +
                             std::to_string(lines.size()) + " line(s)");
            EXPECT_GE(f.Scene().LblNotice->Font.Size, kSmallestFontSize);
        }
    }
}

TEST_P(NoticePlacement, AFailedSaveOverAPausedGameAndAtTheEnd) {
    const Size s = GetParam();
    GameFixture fx;
    TForm1& f = fx.f();
    f.SetClientSize(s.w, s.h);
    Output out({s.w, s.h, 1});
    fx.StartQuestion();
    fx.Char(u'a');
    f.Scene().LblMsg->Text = Msg::SaveFailed;
    // Two reasons, a line each, above the two keys.
    f.SetSaveFailureDetail(
        "newrecord.dat と Settei.ini を保存できませんでした（保存先のフォルダーがありません）。\n"
        "Gakushu.tsv と Rireki.tsv を保存できませんでした（読めないファイルなので上書きしません）。");
    f.OfferLeavingUnsaved(LeaveAfterFailedSave::Close);
    out.Draw(f);
    const std::string size = std::to_string(s.w) + "x" + std::to_string(s.h);
    ExpectPlaced(f, out, {{"the help panel", out.InPixels(*f.Scene().RectSosaHoho)}, {"the message", out.DrawnArea(*f.Scene().LblMsg)}},
                 size + " paused");

    // The end of a game: the longer message that follows the title's zoom.
    f.Scene().LblMsg->Text = std::string(Msg::SaveFailed) + Msg::GameClearRestart;
    f.FitNotice();
    out.Draw(f);
    ExpectPlaced(f, out, {{"the help panel", out.InPixels(*f.Scene().RectSosaHoho)}, {"the message", out.DrawnArea(*f.Scene().LblMsg)}},
                 size + " at the end");
}

INSTANTIATE_TEST_SUITE_P(Scenes, NoticePlacement, testing::Values(Size{1920, 1080}, Size{1280, 720}, Size{1024, 600}),
                         [](const auto& info) {
                             return std::to_string(info.param.w) + "x" + std::to_string(info.param.h);
                         });

}  // namespace
