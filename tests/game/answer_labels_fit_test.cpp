// Where the meaning and the reading stand beside the help panel: moved and
// broken over lines only where the panel is in their way.
#include <gtest/gtest.h>

#include "game/clear_of_help_panel.h"
#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

struct Box { float x, y, w, h, size; };

Box Of(const TLabel* l) { return {l->Position.X, l->Position.Y, l->Width, l->Height, l->Font.Size}; }

// On a large window every built-in meaning fits beside the panel: the labels
// keep their design place, centred across the width, at their design size,
// during play and under the answer.
TEST(AnswerLabelsFit, OnALargeWindowNothingMoves) {
    GameFixture fx;
    TForm1& f = fx.f();
    f.SetClientSize(1920, 1080);
    const Box design = Of(f.Scene().LblImi);
    for (int q = 0; q < kBuiltInQuestions; ++q) {
        f.Scene().LblImi->Text = f.Questions().At(q).Imi;
        f.FitAnswerLabels();
        const Box now = Of(f.Scene().LblImi);
        EXPECT_FLOAT_EQ(now.x, design.x) << f.Questions().At(q).Imi;
        EXPECT_FLOAT_EQ(now.w, design.w) << f.Questions().At(q).Imi;
        EXPECT_FLOAT_EQ(now.h, design.h) << f.Questions().At(q).Imi;
        EXPECT_FLOAT_EQ(now.size, 24) << f.Questions().At(q).Imi;
    }
    for (int q = 0; q < kBuiltInQuestions; ++q) {
        f.Scene().LblImi->Text = f.Questions().At(q).Imi;
        f.Scene().LblYomi->Text = f.Questions().At(q).Yomi;
        f.ShowAnswerLabels();
        EXPECT_FLOAT_EQ(f.Scene().LblImi->Position.X, 0) << f.Questions().At(q).Imi;
        EXPECT_FLOAT_EQ(f.Scene().LblImi->Width, 1920) << f.Questions().At(q).Imi;
        EXPECT_FLOAT_EQ(f.Scene().LblYomi->Width, 1920) << f.Questions().At(q).Yomi;
    }
}

// Left of the panel a long meaning takes more lines: it keeps its top edge
// (below the idiom) and grows downwards; the reading above the idiom keeps its
// bottom edge and grows upwards. Type gets smaller only when lines run out of window.
TEST(AnswerLabelsFit, LongTextsTakeMoreLinesThenSmallerType) {
    const PanelBox panel{644, 350, 380, 250};  // at 1024 x 600
    std::string longMeaning;
    for (int i = 0; i < 60; ++i) longMeaning += "あ";
    const LabelBox wide{0, 497, 1024, 57, 24};

    const LabelBox meaning = FitClearOfPanel(longMeaning, true, wide, panel, 600);
    EXPECT_FLOAT_EQ(meaning.x, kLeftEdgeInset);
    EXPECT_FLOAT_EQ(meaning.x + meaning.width, panel.x - kPanelClearance);
    EXPECT_FLOAT_EQ(meaning.y, wide.y);
    EXPECT_GE(meaning.height, EstimatedLinesHeight(2, meaning.fontSize));
    EXPECT_LE(meaning.y + meaning.height, 600);

    const LabelBox readingWide{0, 415, 1024, 33, 24};
    const LabelBox reading = FitClearOfPanel(longMeaning, true, readingWide, panel, 600, true);
    EXPECT_FLOAT_EQ(reading.y + reading.height, readingWide.y + readingWide.height);
    EXPECT_GT(reading.height, readingWide.height);

    // Too little room below for the lines at the design size: smaller, but never below the floor.
    const LabelBox low{0, 560, 1024, 30, 24};
    const LabelBox squeezed = FitClearOfPanel(longMeaning, true, low, panel, 600);
    EXPECT_LT(squeezed.fontSize, 24);
    EXPECT_GE(squeezed.fontSize, kSmallestFontSize);
}

}  // namespace
