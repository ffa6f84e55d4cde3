// The meaning and the reading stay clear of the help panel: during play (the
// hint), under the answer and under the game-over picture; so does the message
// on the title (the resume question is long enough to reach it on a small screen).
#include "game/clear_of_help_panel.h"
#include "game/tform1.h"

namespace {

// The two labels' design: full width less a margin, at the design window of 800 x 600.
constexpr float kDesignWidth = 800, kDesignHeight = 600;
constexpr float kLabelDesignWidth = 793;
constexpr float kMeaningDesignHeight = 57, kReadingDesignHeight = 33;
constexpr float kDesignFontSize = 24;
constexpr float kMessageDesignY = 344, kMessageDesignHeight = 65;
constexpr float kTitleGap = 4;  // between the title picture and a message grown up towards it

void Place(TLabel* label, const LabelBox& box) {
    label->Position.X = box.x;
    label->Position.Y = box.y;
    label->Width = box.width;
    label->Height = box.height;
    label->Font.Size = box.fontSize;
}

PanelBox HelpPanelBox(const TRectangle& r) { return {r.Position.X, r.Position.Y, r.Width, r.Height}; }

}  // namespace

void TForm1::PlaceMessageAtDesign() {
    const float W = static_cast<float>(ClientWidth()), H = static_cast<float>(ClientHeight());
    LblMsg->SetBounds(0, kMessageDesignY * H / kDesignHeight, kLabelDesignWidth * W / kDesignWidth,
                      kMessageDesignHeight * H / kDesignHeight);
}

void TForm1::FitMessage() {
    PlaceMessageAtDesign();
    const float H = static_cast<float>(ClientHeight());
    // Only the resume question: the shorter messages leave the notice under them its room above the logo.
    if (ClientWidth() <= 0 || H <= 0 || LblMsg->Text != Msg::ResumeQuestion) return;
    const LabelBox design{LblMsg->Position.X, LblMsg->Position.Y, LblMsg->Width, LblMsg->Height, LblMsg->Font.Size};
    // Grown upwards, into the free band under the title picture: below it the
    // notice of a file not read needs its room above the logo.
    LabelBox fitted = FitClearOfPanel(LblMsg->Text, LblMsg->Font.Bold, design, HelpPanelBox(*RectSosaHoho), H, true);
    // Not up into the title picture: the estimate of the lines is generous, the text is centred in its box.
    const float titleBottom = ImgTitle->Visible ? ImgTitle->Position.Y + ImgTitle->Height + kTitleGap : 0;
    const float bottom = fitted.y + fitted.height;
    if (fitted.y < titleBottom && bottom - titleBottom >= design.height) {
        fitted.y = titleBottom;
        fitted.height = bottom - titleBottom;
    }
    // The message keeps its size of type: it is set over more lines instead.
    LblMsg->SetBounds(fitted.x, fitted.y, fitted.width, fitted.height);
}

void TForm1::FitAnswerLabels() {
    const float W = static_cast<float>(ClientWidth()), H = static_cast<float>(ClientHeight());
    if (W <= 0 || H <= 0) return;
    const PanelBox panel = HelpPanelBox(*RectSosaHoho);
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
