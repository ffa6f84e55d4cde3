#include "game/clear_of_help_panel.h"

#include <algorithm>
#include <cmath>

namespace {

// The widest run of ASCII letters, digits and symbols: the renderer keeps such a run
// on one line, so a line may end that much short of the room.
float LongestUnbrokenRun(std::string_view s, float fontSize, bool bold) {
    float widest = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        const bool inRun = i < s.size() && static_cast<unsigned char>(s[i]) < 0x80 && s[i] != ' ';
        if (inRun) continue;
        widest = std::max(widest, EstimatedTextWidth(s.substr(start, i - start), fontSize, bold));
        start = i + 1;
    }
    return widest;
}

int LinesFor(float textWidth, float room, float unbrokenRun = 0) {
    if (room <= 0) return 1;
    // A line cannot always be filled to the last unit: breaks fall between characters
    // and some characters may not start a line, so every line is taken as 10% shorter.
    const float line = std::max(room * 0.9f - unbrokenRun, room * 0.5f);
    return std::max(1, static_cast<int>(std::ceil(textWidth / line)));
}

bool BandsMeet(float top, float bottom, float otherTop, float otherBottom) {
    return top < otherBottom && otherTop < bottom;
}

}  // namespace

float EstimatedTextWidth(std::string_view s, float fontSize, bool bold) {
    float ems = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) ems += 0.62f;          // ASCII: at most this wide in the gothic
        else if ((b & 0xC0) != 0x80) ems += 1.0f;  // the lead byte of a wider character
    }
    return ems * fontSize * (bold ? 1.12f : 1.02f);
}

float EstimatedLinesHeight(int lines, float fontSize) { return lines * fontSize * 1.3f; }

LabelBox FitClearOfPanel(std::string_view text, bool bold, const LabelBox& wide, const PanelBox& panel,
                         float clientHeight, bool growUp) {
    const float oneLine = EstimatedTextWidth(text, wide.fontSize, bold);
    const float textRight = wide.x + (wide.width + std::min(oneLine, wide.width)) / 2;
    const int wideLines = LinesFor(oneLine, wide.width);
    const float wideHeight = std::max(wide.height, EstimatedLinesHeight(wideLines, wide.fontSize));
    const float wideTop = growUp ? wide.y + wide.height - wideHeight : wide.y;
    const bool meetsPanel =
        textRight > panel.x - kPanelClearance &&
        BandsMeet(wideTop, wideTop + wideHeight, panel.y - kPanelClearance, panel.y + panel.height);
    if (!meetsPanel && wideLines == 1) return wide;

    // Left of the panel where they share a band, else the whole width.
    LabelBox fitted = wide;
    if (meetsPanel) fitted.x = wide.x + kLeftEdgeInset;
    const float room = meetsPanel ? panel.x - kPanelClearance - fitted.x : wide.width;
    fitted.width = room;
    for (float size = wide.fontSize; size >= kSmallestFontSize; size -= 1.0f) {
        const int lines = LinesFor(EstimatedTextWidth(text, size, bold), room, LongestUnbrokenRun(text, size, bold));
        const float height = std::max(wide.height, EstimatedLinesHeight(lines, size));
        fitted.fontSize = size;
        fitted.height = height;
        fitted.y = growUp ? wide.y + wide.height - height : wide.y;
        if (fitted.y >= 0 && fitted.y + height <= clientHeight) break;
    }
    return fitted;
}
