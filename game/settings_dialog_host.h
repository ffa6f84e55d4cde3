#pragma once
// What the settings dialog reads and changes of the main window, and nothing
// more: the folders its files live in, the voice, the readings for its reading
// button, and handing the cursor and the game's timer back when it closes. The
// main window implements it (settings_dialog_host.cpp); the dialog, which sits
// above the game, sees only this.
#include <string>

class ReadingService;

class SettingsDialogHost {
public:
    // The program folder, with a trailing '/' (where Data/tuikamondai.txt ships).
    virtual std::string ProgramFolderPath() const = 0;
    // The player's file of additional questions, in the data folder.
    virtual std::string QuestionFilePath() const = 0;
    // 0: the female voice, 1: the male voice.
    virtual int SpeakingVoice() const = 0;
    // The game keeps the voice in its settings file and speaks with it from now
    // on; false (the voice unchanged) when the file could not be written.
    virtual bool SaveSpeakingVoice(int voice) = 0;
    virtual ReadingService& Readings() = 0;
    // The dialog is shown or comes to the front: the cursor must show.
    virtual void SettingsDialogShown() = 0;
    // The dialog has closed: the game takes the window back.
    virtual void SettingsDialogClosed() = 0;

protected:
    ~SettingsDialogHost() = default;
};
