// What the notice under the message tells: the files the start-up could not
// read, which file a save could not write and why, and, when that save was on
// the way out, the choice between going back to the game and leaving without saving.
#include "game/tform1.h"

namespace {

const char* const kQuitUnsaved = "保存せずに終了...[Q]キー\u3000ゲームに戻る...[B]キー";
const char* const kMinimiseUnsaved = "保存せずに最小化...[Q]キー\u3000ゲームに戻る...[B]キー";

}  // namespace

std::string TForm1::FileNotice(PlayerFile file, const char* whatHappens) {
    return std::string(DataFiles::Name(file)) + whatHappens;
}

void TForm1::ShowStartupNotices() {
    if (StartupNotices.empty()) return;
    std::string text;
    for (const std::string& line : StartupNotices) text += (text.empty() ? "" : "\n") + line;
    notice.Show(text);
}

bool TForm1::SavedBeforeLeaving() {
    // Asked again while the question is open (a second close request), [B] still
    // goes back to what was shown before the first.
    if (leaving.pending == LeaveAfterFailedSave::None) {
        leaving.messageBefore = LblMsg->Text;
        leaving.messageBeforeVisible = LblMsg->Visible;
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
        leaving.messageBefore = Msg::Paused;
        leaving.messageBeforeVisible = true;
    }
    LblMsg->Text = failure;
    LblMsg->Visible = true;
    leaving.pending = leave;
    notice.Show(SaveFailureDetail + "\n" + (leave == LeaveAfterFailedSave::Close ? kQuitUnsaved : kMinimiseUnsaved));
    // Closed from outside while minimised: the player must see the question.
    if (IsMinimized) svc.host.BringToForeground();
}

bool TForm1::LeaveChoiceKey(char16_t keyChar) {
    if (leaving.pending == LeaveAfterFailedSave::None) return false;
    const LeaveAfterFailedSave leave = leaving.pending;
    if (keyChar == u'q') {
        leaving.pending = LeaveAfterFailedSave::None;
        notice.Hide();
        if (leave == LeaveAfterFailedSave::Close) {
            leaving.unsaved = true;
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
    leaving.pending = LeaveAfterFailedSave::None;
    notice.Hide();
    LblMsg->Text = leaving.messageBefore;
    LblMsg->Visible = leaving.messageBeforeVisible;
    if (!Pause && !GameSetting) Timer1->SetEnabled(true);
}

void TForm1::FinishMinimising() {
    sound.PauseMusicForMinimise();
    WindowState = TWindowState::wsMinimized;
    svc.host.Minimize();
    IsMinimized = true;
    ShowCursorUntilVisible();
}
