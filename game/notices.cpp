// What the notice under the message tells: the files the start-up could not
// read, which file a save could not write and why, and, when that save was on
// the way out, the choice between going back to the game and leaving without saving.
#include "game/tform1.h"

#include <algorithm>

namespace {

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

// What the game does without a refused learning file.
const char* LearningFileNotice(PlayerFile file, LearningFileStatus status) {
    const bool record = file == PlayerFile::LearningRecord;
    switch (status) {
        case LearningFileStatus::Unreadable: return record ? Msg::RecordUnreadable : Msg::HistoryUnreadable;
        case LearningFileStatus::NotText: return record ? Msg::RecordNotText : Msg::HistoryNotText;
        case LearningFileStatus::TooLarge: return record ? Msg::RecordTooLarge : Msg::HistoryTooLarge;
        default: return nullptr;
    }
}

}  // namespace

std::string TForm1::FileNotice(PlayerFile file, const char* whatHappens) {
    return Format(whatHappens, {{"file", DataFiles::Name(file)}});
}

void TForm1::ShowStartupNotices() {
    if (!StartupNotices.empty()) notice.Show(Lines(StartupNotices));
}

void TForm1::NoteLearningFiles() {
    const bool shown = RectNotice->Visible && LblNotice->Text == Lines(StartupNotices);
    const std::pair<PlayerFile, LearningFileStatus> learningFiles[] = {
        {PlayerFile::LearningRecord, Learning.RecordStatus()}, {PlayerFile::ScoreHistory, Learning.HistoryStatus()}};
    for (const auto& [file, status] : learningFiles) {
        const std::string name = std::string(DataFiles::Name(file)) + " ";
        std::erase_if(StartupNotices, [&](const std::string& line) { return line.rfind(name, 0) == 0; });
        if (const char* what = LearningFileNotice(file, status)) StartupNotices.push_back(FileNotice(file, what));
    }
    if (!shown) return;
    if (StartupNotices.empty())
        notice.Hide();
    else
        ShowStartupNotices();
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
    const bool wasPlaying = !Pause && !progress.Clear() && !progress.GameOver() && !Title;
    PauseForLeaving();
    if (wasPlaying) {
        leaving.messageBefore = Msg::Paused;
        leaving.messageBeforeVisible = true;
    }
    LblMsg->Text = failure;
    LblMsg->Visible = true;
    leaving.pending = leave;
    notice.Show(SaveFailureDetail + "\n" + (leave == LeaveAfterFailedSave::Close ? Msg::QuitUnsaved : Msg::MinimiseUnsaved));
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
