// The notice under the message: lines in a box of the help panel's colours,
// placed clear of the help panel and the logo, the type made smaller where the
// room asks for it.
#include "game/notice_box.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/clear_of_help_panel.h"

namespace {

constexpr float kNoticeFontSize = 18;
constexpr float kNoticePadding = 6;  // between the box's edge and its text
constexpr float kNoticeGap = 4;      // between the message and the box, and above the logo

std::vector<std::string> Paragraphs(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        out.push_back(text.substr(start, nl - start));
    out.push_back(text.substr(start));
    return out;
}

// Lines of a paragraph set in room units; a line is taken as 10% shorter than
// the room, since breaks fall between characters.
int LinesIn(const std::string& paragraph, float fontSize, bool bold, float room) {
    const float width = EstimatedTextWidth(paragraph, fontSize, bold);
    return std::max(1, static_cast<int>(std::ceil(width / (room * 0.9f))));
}

}  // namespace

void NoticeBox::Show(const std::string& text) {
    w_.LblNotice->Text = text;
    w_.RectNotice->Visible = true;
    w_.RectNotice->BringToFront();
    Fit();
}

void NoticeBox::Hide() { w_.RectNotice->Visible = false; }

void NoticeBox::Fit() {
    const float W = static_cast<float>(window_.ClientWidth()), H = static_cast<float>(window_.ClientHeight());
    if (W <= 0 || H <= 0 || !w_.RectNotice->Visible) return;

    // Under the message's box, or under its text where that runs over two lines and out of it.
    const int msgLines = LinesIn(w_.LblMsg->Text, w_.LblMsg->Font.Size, w_.LblMsg->Font.Bold, std::max(1.0f, w_.LblMsg->Width));
    const float msgTextHeight = EstimatedLinesHeight(msgLines, w_.LblMsg->Font.Size);
    const float msgTextBottom = w_.LblMsg->Position.Y + (w_.LblMsg->Height + msgTextHeight) / 2;
    const float msgTextTop = w_.LblMsg->Position.Y + (w_.LblMsg->Height - msgTextHeight) / 2;
    const float below = std::max(w_.LblMsg->Position.Y + w_.LblMsg->Height, msgTextBottom) + kNoticeGap;
    const float panelLeft = w_.RectSosaHoho->Position.X - kPanelClearance;
    const float panelTop = w_.RectSosaHoho->Position.Y - kPanelClearance;
    const std::vector<std::string> paragraphs = Paragraphs(w_.LblNotice->Text);

    struct Box {
        float top, width, height, size, right;
    };
    // The box at a font size with its top or its bottom edge given: beside the
    // panel where their bands meet, else across the window.
    const auto boxAt = [&](float size, float edge, bool growsUp) {
        const float oneLine = EstimatedLinesHeight(static_cast<int>(paragraphs.size()), size) + 2 * kNoticePadding;
        const bool besidePanel = growsUp ? edge > panelTop : edge + oneLine > panelTop;
        const float right = besidePanel ? panelLeft : W - kLeftEdgeInset;
        const float room = right - kLeftEdgeInset - 2 * kNoticePadding;
        int lines = 0;
        float widest = 0;
        for (const std::string& p : paragraphs) {
            lines += LinesIn(p, size, false, room);
            widest = std::max(widest, EstimatedTextWidth(p, size, false));
        }
        const float height = EstimatedLinesHeight(lines, size) + 2 * kNoticePadding;
        return Box{growsUp ? edge - height : edge, std::min(widest, room) + 2 * kNoticePadding, height, size, right};
    };
    // The largest type that fits between two heights, starting from one edge.
    const auto fitted = [&](float edge, bool growsUp, float limit, Box& box) {
        for (float size = kNoticeFontSize; size >= kSmallestFontSize; size -= 1.0f) {
            box = boxAt(size, edge, growsUp);
            if (growsUp ? box.top >= limit : box.top + box.height <= limit) return true;
        }
        return false;
    };

    // Under the message, above the logo on the title screen. Where the title has
    // no room there for every line (several files on a small window), above the
    // message over the title picture, clear of the block rows and the balls; only
    // when even that is too small, under the message over the logo to the window's edge.
    const bool title = w_.ImgLogo->Visible;
    Box box{};
    bool placed = fitted(below, false, title ? w_.ImgLogo->Position.Y - kNoticeGap : H - kNoticeGap, box);
    if (!placed && title) {
        float blocksBottom = 0;
        for (const TImage* block : w_.ImgBlock)
            if (block && block->Visible) blocksBottom = std::max(blocksBottom, block->Position.Y + block->Height);
        const float above = std::min(w_.LblMsg->Position.Y, msgTextTop) - kNoticeGap;
        // Across the window where the box can stay above the panel's band, else beside it.
        placed = fitted(std::min(above, panelTop), true, blocksBottom + kNoticeGap, box) ||
                 fitted(above, true, blocksBottom + kNoticeGap, box);
    }
    if (!placed) fitted(below, false, H - kNoticeGap, box);

    // Centred under or over the message, moved right of the balls and left of the panel as they ask.
    float ballsRight = 0;
    for (const TImage* ball : w_.ImgBall)
        if (ball && ball->Visible && ball->Position.Y < box.top + box.height && box.top < ball->Position.Y + ball->Height)
            ballsRight = std::max(ballsRight, ball->Position.X + ball->Width + kNoticeGap);
    const float x = std::max({kLeftEdgeInset, ballsRight, std::min((W - box.width) / 2, box.right - box.width)});
    w_.RectNotice->SetBounds(x, box.top, box.width, box.height);
    w_.LblNotice->SetBounds(kNoticePadding, kNoticePadding, box.width - 2 * kNoticePadding,
                         box.height - 2 * kNoticePadding);
    w_.LblNotice->Font.Size = box.size;
}
