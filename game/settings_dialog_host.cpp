// The main window as the settings dialog's host.
#include "game/tform1.h"

std::string TForm1::ProgramFolderPath() const { return Folda; }

std::string TForm1::QuestionFilePath() const { return files.Path(PlayerFile::AdditionalQuestions); }

int TForm1::SpeakingVoice() const { return sound.VoiceMode; }

bool TForm1::SaveSpeakingVoice(int voice) {
    if (!files.WriteVoice(voice)) return false;
    sound.VoiceMode = voice;
    return true;
}

ReadingService& TForm1::Readings() { return svc.reading; }

void TForm1::SettingsDialogShown() { ShowCursorUntilVisible(); }

void TForm1::SettingsDialogClosed() {
    // A question the opening paused stays paused until the player resumes it.
    if (!Pause) Timer1->SetEnabled(true);
    HideCursor();
    GameSetting = false;
}
