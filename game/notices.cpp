// The notice under the message: what the title screen could not read, which
// file a save could not write and why, and, when that save was on the way out,
// the choice between going back to the game and leaving without saving.
#include <algorithm>
#include <cmath>

#include "game/clear_of_help_panel.h"
#include "game/tform1.h"

namespace {

constexpr float kNoticeFontSize = 18;
constexpr float kNoticePadding = 6;  // between the box's edge and its text
constexpr float kNoticeGap = 4;      // between the message and the box, and above the logo

const char* const kQuitUnsaved = "保存せずに終了...[Q]キー\u3000ゲームに戻る...[B]キー";
const char* const kMinimiseUnsaved = "保存せずに最小化...[Q]キー\u3000ゲームに戻る...[B]キー";

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

std::string TForm1::FileNotice(PlayerFile file, const char* whatHappens) {
    return std::string(DataFiles::Name(file)) + whatHappens;
}

void TForm1::ShowStartupNotices() {
    if (StartupNotices.empty()) return;
    std::string text;
    for (const std::string& line : StartupNotices) text += (text.empty() ? "" : "\n") + line;
    ShowNotice(text);
}

void TForm1::ShowNotice(const std::string& text) {
    LblNotice->Text = text;
    RectNotice->Visible = true;
    RectNotice->BringToFront();
    FitNotice();
}

void TForm1::HideNotice() { RectNotice->Visible = false; }

void TForm1::FitNotice() {
    const float W = static_cast<float>(ClientWidth()), H = static_cast<float>(ClientHeight());
    if (W <= 0 || H <= 0 || !RectNotice->Visible) return;

    // Under the message's box, or under its text where that runs over two lines and out of it.
    const int msgLines = LinesIn(LblMsg->Text, LblMsg->Font.Size, LblMsg->Font.Bold, std::max(1.0f, LblMsg->Width));
    const float msgTextBottom =
        LblMsg->Position.Y + (LblMsg->Height + EstimatedLinesHeight(msgLines, LblMsg->Font.Size)) / 2;
    const float top = std::max(LblMsg->Position.Y + LblMsg->Height, msgTextBottom) + kNoticeGap;
    const float panelLeft = RectSosaHoho->Position.X - kPanelClearance;
    const float panelTop = RectSosaHoho->Position.Y - kPanelClearance;
    const std::vector<std::string> paragraphs = Paragraphs(LblNotice->Text);

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
    const float aboveLogo = ImgLogo->Visible ? ImgLogo->Position.Y - kNoticeGap : H - kNoticeGap;
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
    RectNotice->SetBounds(x, top, box.width, box.height);
    LblNotice->SetBounds(kNoticePadding, kNoticePadding, box.width - 2 * kNoticePadding,
                         box.height - 2 * kNoticePadding);
    LblNotice->Font.Size = box.size;
}

bool TForm1::SavedBeforeLeaving() {
    // Asked again while the question is open (a second close request), [B] still
    // goes back to what was shown before the first.
    if (PendingLeave == LeaveAfterFailedSave::None) {
        MessageBeforeFailedSave = LblMsg->Text;
        MessageBeforeFailedSaveVisible = LblMsg->Visible;
    }
    SaveGame();
    return SaveFailure.empty();
}

void TForm1::OfferLeavingUnsaved(LeaveAfterFailedSave leave) {
    // The game stays, paused where it was playing; the save's message stays in view.
    const std::string failure = LblMsg->Text;
    const bool wasPlaying = !Pause && !progress.Clear && !progress.GameOver && !Title;
    PauseForLeaving();
    if (wasPlaying) {
        MessageBeforeFailedSave = Msg::Paused;
        MessageBeforeFailedSaveVisible = true;
    }
    LblMsg->Text = failure;
    LblMsg->Visible = true;
    PendingLeave = leave;
    ShowNotice(SaveFailureDetail + "\n" + (leave == LeaveAfterFailedSave::Close ? kQuitUnsaved : kMinimiseUnsaved));
    // Closed from outside while minimised: the player must see the question.
    if (IsMinimized) svc.host.BringToForeground();
}

bool TForm1::LeaveChoiceKey(char16_t keyChar) {
    if (PendingLeave == LeaveAfterFailedSave::None) return false;
    const LeaveAfterFailedSave leave = PendingLeave;
    if (keyChar == u'q') {
        PendingLeave = LeaveAfterFailedSave::None;
        HideNotice();
        if (leave == LeaveAfterFailedSave::Close) {
            LeavingUnsaved = true;
            Close();
        } else {
            FinishMinimising();
        }
        return true;
    }
    // [B], and any other key, go back to the game; another key then does what it does.
    BackFromFailedSave();
    return keyChar == u'b';
}

void TForm1::BackFromFailedSave() {
    PendingLeave = LeaveAfterFailedSave::None;
    HideNotice();
    LblMsg->Text = MessageBeforeFailedSave;
    LblMsg->Visible = MessageBeforeFailedSaveVisible;
    if (!Pause && !GameSetting) Timer1->SetEnabled(true);
}

void TForm1::FinishMinimising() {
    sound.PauseMusicForMinimise();
    WindowState = TWindowState::wsMinimized;
    svc.host.Minimize();
    IsMinimized = true;
    ShowCursorUntilVisible();
}
