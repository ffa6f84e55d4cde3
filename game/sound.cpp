// The game's two sound channels and its voice, each behind the player's switch.
#include "game/tform1.h"

void TForm1::PlayEffect(const std::string& relativePath, bool synchronous) {
    if (!IsSound) return;
    // A blocking sound holds the thread: what led to it stays on screen meanwhile.
    if (synchronous) svc.app.PaintFrameNow();
    svc.effects.PlayEffect(AssetPath(relativePath), synchronous);
}

void TForm1::StartMusic(const std::string& relativePath) {
    MediaPlayer1->Stop();
    MediaPlayer1->SetFileName(AssetPath(relativePath));
    MusicStartTime = timeGetTime();
    MediaPlayer1->Play();
}

void TForm1::Speak(const std::string& cp932Text, int speed) {
    if (!IsSound) return;
    // A hand-edited settings file may name a voice that does not exist: stay silent.
    if (VoiceMode != 0 && VoiceMode != 1) return;
    if (!VoiceReady[VoiceMode]) return;
    svc.speech.Speak(VoiceMode, cp932Text, speed);
}
