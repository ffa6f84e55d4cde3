// The main window as the settings dialog's host.
#include "game/tform1.h"

std::string TForm1::ProgramFolderPath() const { return Folda; }

std::string TForm1::PlayerDataFile(const std::string& name) const { return DataFile(name); }

int TForm1::SpeakingVoice() const { return VoiceMode; }

void TForm1::SetSpeakingVoice(int voice) { VoiceMode = voice; }

ReadingService& TForm1::Readings() { return svc.reading; }

void TForm1::SettingsDialogShown() { ShowCursorUntilVisible(); }

void TForm1::SettingsDialogClosed() {
    // A question the opening paused stays paused until the player resumes it.
    if (!Pause) Timer1->SetEnabled(true);
    HideCursor();
    GameSetting = false;
}
