#pragma once
// Long texts beside the help panel. The panel keeps its size in the bottom-right
// corner whatever the window size, while the meaning and reading labels are
// centred across the width: on a small window a long meaning would run into it.
// Such a text is set in the room left of the panel instead, broken over more
// lines (the renderer breaks Japanese text where a line may break), and made
// smaller only when even that would leave the window.
#include <string_view>

struct LabelBox {
    float x = 0, y = 0, width = 0, height = 0;
    float fontSize = 0;
};

struct PanelBox {
    float x = 0, y = 0, width = 0, height = 0;
};

// Room kept free between a text and the panel: the glow around a label's text
// reaches some 15 units out, and a little gap stays beyond it.
constexpr float kPanelClearance = 20.0f;
// A text set in the room left of the panel keeps its glow inside the window.
constexpr float kLeftEdgeInset = 16.0f;
// Smallest size a meaning is reduced to.
constexpr float kSmallestFontSize = 14.0f;

// A generous estimate of the drawn width of one line of text: full-width
// characters take a little more than the font size (bold adds to every glyph),
// ASCII ones less. Never smaller than what the proportional gothic draws.
float EstimatedTextWidth(std::string_view utf8, float fontSize, bool bold);

// A generous estimate of the height of n lines.
float EstimatedLinesHeight(int lines, float fontSize);

// Where a centred label with this text must stand to stay clear of the panel.
// `wide` is the label's place without the panel; `growUp` keeps its bottom edge
// (a reading above the answer) instead of its top edge when it needs more lines.
LabelBox FitClearOfPanel(std::string_view text, bool bold, const LabelBox& wide, const PanelBox& panel,
                         float clientHeight, bool growUp = false);
