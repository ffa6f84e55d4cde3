// The title screen, drawn by the real renderer with the real fonts: the help
// panel's [R] row tells how many idioms are due for review today (and nothing
// when none are), kept up to date after a question and after the learning
// window; the row stays inside the panel and the message (the resume question
// too) stays clear of the panel, at the usual screen sizes and at scale 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/help_panel.h"
#include "persistence/learning_file.h"
#include "tests/scenes/scene_output.h"
#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;
using scene_test::Display;
using scene_test::Output;

constexpr const char* kToday = "2026-12-10";
const std::string kPlainRow = "学習記録....................[R]キー\r\n";

std::string Describe(const SDL_Rect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" + std::to_string(r.h);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string LastLine(const std::string& text) {
    const std::size_t end = text.rfind("\r\n");
    const std::size_t start = text.rfind("\r\n", end - 1);
    return text.substr(start == std::string::npos ? 0 : start + 2);
}

// The main window on the title with a learning record read at start-up, as the
// program starts it: the record file first, then the record opened and shown.
struct RecordedTitle {
    GameFixture fx;
    FixedCalendar calendar{kToday};
    std::string written;  // the record file as the test wrote it

    // Due dates for the first `count` built-in questions (none: no record file).
    RecordedTitle(int count, const std::string& due) {
        fx.services->calendar = &calendar;
        if (count > 0) {
            LearningTable t;
            for (int q = 0; q < count; ++q) {
                LearningRow r;
                r.idiom = fx.f().Questions().At(q).Jukugo;
                r.reading = fx.f().Questions().At(q).Yomi;
                r.dealt = r.missed = 1;
                r.box = 1;
                r.last = kToday;
                r.due = due;
                t.rows.push_back(r);
            }
            EXPECT_TRUE(WriteLearningFile(fx.DataFile("Gakushu.tsv"), t));
            written = ReadBytes(fx.DataFile("Gakushu.tsv"));
        }
        fx.f().OpenLearningRecord();
        fx.f().ShowDueReviews();
    }
    const std::string& Help() { return fx.f().Scene().LblSosaHoho->Text; }
};

TEST(TitleHelpPanel, TheRRowTellsTodaysReviewsOnlyWhenSomeAreDue) {
    RecordedTitle yesterday(1, "2026-12-09");
    RecordedTitle nextMonth(1, "2027-01-10");
    RecordedTitle today(3, kToday);
    RecordedTitle none(0, "");
    EXPECT_EQ(LastLine(yesterday.Help()), "学習記録（今日の復習 1）....[R]キー\r\n");
    EXPECT_EQ(LastLine(today.Help()), "学習記録（今日の復習 3）....[R]キー\r\n");
    EXPECT_EQ(LastLine(nextMonth.Help()), kPlainRow);
    EXPECT_EQ(LastLine(none.Help()), kPlainRow);
    // The other twelve rows are the command list as always.
    EXPECT_EQ(yesterday.Help().substr(0, yesterday.Help().size() - LastLine(yesterday.Help()).size()),
              none.Help().substr(0, none.Help().size() - kPlainRow.size()));

    // The same record on the same screen draws a different panel.
    const Display d{1280, 720, 1};
    std::vector<uint32_t> drawn[2];
    int i = 0;
    for (RecordedTitle* t : {&yesterday, &nextMonth}) {
        t->fx.f().SetClientSize(d.clientW, d.clientH);
        Output out(d);
        out.Draw(t->fx.f());
        drawn[i++] = out.Pixels(out.InPixels(*t->fx.f().Scene().RectSosaHoho));
    }
    ASSERT_FALSE(drawn[0].empty());
    EXPECT_NE(drawn[0], drawn[1]);

    // Counting them on the title writes nothing.
    EXPECT_EQ(ReadBytes(yesterday.fx.DataFile("Gakushu.tsv")), yesterday.written);
    EXPECT_FALSE(std::filesystem::exists(none.fx.DataFile("Gakushu.tsv")));
}

TEST(TitleHelpPanel, OnlyIdiomsOfTheQuestionListCountAndTheKeyNamesStayInTheirColumn) {
    // A row of an idiom no longer in any question list is kept in the file but is
    // not in the learning window either.
    LearningRow gone;
    gone.idiom = "消えた熟語";
    gone.reading = "きえたじゅくご";
    gone.missed = gone.box = 1;
    gone.last = gone.due = kToday;
    LearningRecord record(LearningTable{{}, {gone}});
    GameFixture fx;
    EXPECT_EQ(DueReviewCount(record, fx.f().Questions(), kToday), 0);
    EXPECT_EQ(DueReviewCount(record, fx.f().Questions(), ""), 0) << "without a date nothing is due";
    // The fixed-pitch key names start at the 29th column whatever the count's digits.
    for (int due : {7, 42, 170}) {
        const std::string row = LastLine(HelpPanelText(due));
        const std::size_t key = row.find("[R]キー");
        ASSERT_NE(key, std::string::npos);
        int columns = 0;
        for (std::size_t b = 0; b < key; ++b) {
            const auto c = static_cast<unsigned char>(row[b]);
            if (c < 0x80) columns += 1;
            else if ((c & 0xC0) != 0x80) columns += 2;
        }
        EXPECT_EQ(columns, 28) << row;
    }
}

TEST(TitleHelpPanel, TheCountFollowsAnAnsweredQuestionAndAClearedRecord) {
    RecordedTitle title(kBuiltInQuestions, "2026-12-01");  // every built-in idiom overdue
    TForm1& f = title.fx.f();
    ASSERT_EQ(LastLine(title.Help()), "学習記録（今日の復習 170）..[R]キー\r\n");
    title.fx.steering = true;
    title.fx.StartQuestion();
    ASSERT_TRUE(title.fx.PlayUntil([&] { return f.GameProgress().Clear(); }, 120000));
    EXPECT_EQ(LastLine(title.Help()), "学習記録（今日の復習 169）..[R]キー\r\n") << "the answered idiom is due later";

    // The learning window clears the record: the row is plain once it closes.
    struct ClearingWindow : LearningWindow {
        TForm1* form;
        void ShowModal() override { form->LearningRecordLog().Clear(); }
    } window;
    window.form = &f;
    f.SetLearningWindow(&window);
    title.fx.Run(4000);  // the points land
    title.fx.Char(u'r');
    EXPECT_EQ(LastLine(title.Help()), kPlainRow);
}

// The help text stays inside its panel, and the question whether to continue a
// suspended game stays clear of the panel and the title picture, on the screen,
// over as many lines as it needs.
class TitlePlacement : public testing::TestWithParam<Display> {};

TEST_P(TitlePlacement, HelpRowInsideThePanelAndTheMessageClearOfIt) {
    const Display d = GetParam();
    const std::string size =
        std::to_string(d.clientW) + "x" + std::to_string(d.clientH) + " at scale " + std::to_string(d.scale);
    for (const char* message : {Msg::ResumeQuestion}) {
        RecordedTitle title(kBuiltInQuestions, kToday);
        TForm1& f = title.fx.f();
        f.SetClientSize(d.clientW, d.clientH);
        f.Scene().LblMsg->Text = message;
        f.FitMessage();
        Output out(d);
        out.Draw(f);
        const SDL_Rect panel = out.InPixels(*f.Scene().RectSosaHoho);
        const SDL_Rect help = out.DrawnArea(*f.Scene().LblSosaHoho);
        const SDL_Rect msg = out.DrawnArea(*f.Scene().LblMsg);
        const SDL_Rect titlePicture = out.DrawnArea(*f.Scene().ImgTitle);
        ASSERT_FALSE(SDL_RectEmpty(&help)) << size;
        ASSERT_FALSE(SDL_RectEmpty(&msg)) << size;
        SDL_Rect inside;
        SDL_IntersectRect(&help, &panel, &inside);
        EXPECT_TRUE(SDL_RectEquals(&inside, &help))
            << size << ": help text at " << Describe(help) << " runs out of the panel at " << Describe(panel);
        EXPECT_FALSE(SDL_HasIntersection(&msg, &panel))
            << size << ": '" << message << "' drawn at " << Describe(msg) << " meets the help panel at "
            << Describe(panel);
        EXPECT_FALSE(SDL_HasIntersection(&msg, &titlePicture)) << size << ": " << Describe(msg);
        EXPECT_GE(msg.x, -1) << size;
        EXPECT_LE(msg.x + msg.w, out.Width() + 1) << size << ": " << Describe(msg);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, TitlePlacement,
                         testing::Values(Display{1024, 600, 1}, Display{1280, 720, 1}, Display{1920, 1080, 1},
                                         Display{1920, 1080, 2}),
                         [](const auto& info) {
                             return std::to_string(info.param.clientW) + "x" + std::to_string(info.param.clientH) +
                                    "_scale" + std::to_string(info.param.scale);
                         });

}  // namespace
