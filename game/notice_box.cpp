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
    const float msgTextBottom =
        w_.LblMsg->Position.Y + (w_.LblMsg->Height + EstimatedLinesHeight(msgLines, w_.LblMsg->Font.Size)) / 2;
    const float top = std::max(w_.LblMsg->Position.Y + w_.LblMsg->Height, msgTextBottom) + kNoticeGap;
    const float panelLeft = w_.RectSosaHoho->Position.X - kPanelClearance;
    const float panelTop = w_.RectSosaHoho->Position.Y - kPanelClearance;
    const std::vector<std::string> paragraphs = Paragraphs(w_.LblNotice->Text);

    struct Box {
        float width, height, size;
    };
    // The box at a font size: beside the panel where their bands meet, else across the window.
    const auto boxAt = [&](float size) {
        const float oneLine = EstimatedLinesHeight(static_cast<int>(paragraphs.size()), size) + 2 * kNoticePadding;
        const float right = top + oneLine > panelTop ? panelLeft : W - kLeftEdgeInset;
        const float room = right - kLeftEdgeInset - 2 * kNoticePadding;
        int lines = 0;
        float widest = 0;
        for (const std::string& p : paragraphs) {
            lines += LinesIn(p, size, false, room);
            widest = std::max(widest, EstimatedTextWidth(p, size, false));
        }
        return Box{std::min(widest, room) + 2 * kNoticePadding, EstimatedLinesHeight(lines, size) + 2 * kNoticePadding,
                   size};
    };
    // Above the logo on the title screen; only when even the smallest type does not
    // fit there (several files at once on a small window) over it, to the window's edge.
    const float aboveLogo = w_.ImgLogo->Visible ? w_.ImgLogo->Position.Y - kNoticeGap : H - kNoticeGap;
    Box box = boxAt(kNoticeFontSize);
    for (const float limit : {aboveLogo, H - kNoticeGap}) {
        bool fits = false;
        for (float size = kNoticeFontSize; size >= kSmallestFontSize && !fits; size -= 1.0f) {
            box = boxAt(size);
            fits = top + box.height <= limit;
        }
        if (fits) break;
    }

    // Centred under the message, moved left as far as the panel asks.
    const float right = top + box.height > panelTop ? panelLeft : W - kLeftEdgeInset;
    const float x = std::max(kLeftEdgeInset, std::min((W - box.width) / 2, right - box.width));
    w_.RectNotice->SetBounds(x, top, box.width, box.height);
    w_.LblNotice->SetBounds(kNoticePadding, kNoticePadding, box.width - 2 * kNoticePadding,
                         box.height - 2 * kNoticePadding);
    w_.LblNotice->Font.Size = box.size;
}
