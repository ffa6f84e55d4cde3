// The meaning and the reading stay clear of the help panel: during play (the
// hint), under the answer and under the game-over picture.
#include "game/clear_of_help_panel.h"
#include "game/tform1.h"

namespace {

// The two labels' design: full width less a margin, at the design window of 800 x 600.
constexpr float kDesignWidth = 800, kDesignHeight = 600;
constexpr float kLabelDesignWidth = 793;
constexpr float kMeaningDesignHeight = 57, kReadingDesignHeight = 33;
constexpr float kDesignFontSize = 24;

void Place(TLabel* label, const LabelBox& box) {
    label->Position.X = box.x;
    label->Position.Y = box.y;
    label->Width = box.width;
    label->Height = box.height;
    label->Font.Size = box.fontSize;
}

}  // namespace

void TForm1::FitAnswerLabels() {
    const float W = static_cast<float>(ClientWidth()), H = static_cast<float>(ClientHeight());
    if (W <= 0 || H <= 0) return;
    const PanelBox panel{RectSosaHoho->Position.X, RectSosaHoho->Position.Y, RectSosaHoho->Width,
                         RectSosaHoho->Height};
    const float width = AnswerLabelsAcross ? W : kLabelDesignWidth * W / kDesignWidth;

    // The meaning keeps its top edge and grows downwards, the reading (above the
    // answer) keeps its bottom edge and grows upwards.
    const LabelBox meaning{0, LblImi->Position.Y, width, kMeaningDesignHeight * H / kDesignHeight,
                           kDesignFontSize};
    Place(LblImi, FitClearOfPanel(LblImi->Text, LblImi->Font.Bold, meaning, panel, H));

    const float readingHeight = kReadingDesignHeight * H / kDesignHeight;
    const float readingBottom = LblYomi->Position.Y + LblYomi->Height;
    const LabelBox reading{0, readingBottom - readingHeight, width, readingHeight, kDesignFontSize};
    Place(LblYomi, FitClearOfPanel(LblYomi->Text, LblYomi->Font.Bold, reading, panel, H, true));
}
