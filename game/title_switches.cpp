// Music and sound switched on the title screen. Nothing else is saved there
// (a game's save keeps the switches along with it), so the settings file alone
// is written at once: otherwise quitting from the title forgets the choice.
#include "game/tform1.h"
#include "persistence/settings_file.h"

void TForm1::KeepSwitchesFromTitle() {
    if (!Title) return;
    // The suspended game's question texts stay as its last save left them.
    if (!files.WriteSettings(sound.Settings(), nullptr)) {
        LblMsg->Text = Msg::SettingsSaveFailed;
        LblMsg->Visible = true;
    }
}
