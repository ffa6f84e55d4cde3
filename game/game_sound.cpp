#include "game/game_sound.h"

#include "platform/timer.h"

GameSound::GameSound(GameServices& services)
    : MediaPlayer1(std::make_unique<TMediaPlayer>(services.music)), svc_(services) {}

std::string GameSound::AssetPath(const std::string& relativePath) const {
    return AssetFolder(svc_) + relativePath;
}

void GameSound::TakeSettings(const GameSettings& settings) {
    IsSound = settings.isSound;
    IsMusic = settings.isMusic;
    VoiceMode = settings.voiceMode;
}

void GameSound::FindVoices() {
    for (int v = 0; v < kVoiceCount; ++v) VoiceReady[v] = svc_.speech.VoiceAvailable(v);
}

void GameSound::PlayEffect(const std::string& relativePath, bool synchronous) {
    if (!IsSound) return;
    if (synchronous) svc_.app.PaintFrameNow();
    svc_.effects.PlayEffect(AssetPath(relativePath), synchronous);
}

void GameSound::Say(const std::string& cp932Text, int speed) {
    if (!IsSound) return;
    // A hand-edited settings file may name a voice that does not exist: stay silent.
    if (!IsVoice(VoiceMode) || !VoiceReady[VoiceMode]) return;
    svc_.speech.Speak(VoiceMode, cp932Text, speed);
}

void GameSound::ForEachVoiceChosenFirst(const std::function<void(int)>& each) const {
    const int chosen = IsVoice(VoiceMode) ? VoiceMode : 0;
    if (VoiceReady[chosen]) each(chosen);
    for (int v = 0; v < kVoiceCount; ++v)
        if (v != chosen && VoiceReady[v]) each(v);
}

void GameSound::StartTrack(const std::string& relativePath) {
    MediaPlayer1->SetFileName(AssetPath(relativePath));
    MusicStartTime = svc_.app.clock().NowMs();
    MediaPlayer1->Play();
}

void GameSound::StartStageMusic(int stage) {
    if (!IsMusic) return;
    MediaPlayer1->Stop();
    StartTrack("Data/Sound/Stage" + std::to_string(stage) + ".mp3");
}

void GameSound::StartMusicEvenWhenOff(const std::string& relativePath) {
    MediaPlayer1->Stop();
    StartTrack(relativePath);
}

void GameSound::StopMusic() { MediaPlayer1->Stop(); }

void GameSound::ToggleMusic(int stage) {
    IsMusic = !IsMusic;
    if (IsMusic)
        StartTrack("Data/Sound/Stage" + std::to_string(stage == 0 ? 1 : stage) + ".mp3");
    else
        MediaPlayer1->Stop();
}

bool GameSound::TrackEnded() const {
    if (!IsMusic || MediaPlayer1->State() != TMPState::Playing) return false;
    const int64_t lengthMs = (MediaPlayer1->Duration() / 10000000) * 1000;
    return ElapsedMs(svc_.app.clock().NowMs(), MusicStartTime) >= lengthMs;
}

void GameSound::RestartTrack() {
    MediaPlayer1->Stop();
    MediaPlayer1->SetCurrentTime(0);
    MediaPlayer1->Play();
    MusicStartTime = svc_.app.clock().NowMs();
}

void GameSound::PauseMusicForMinimise() {
    if (IsMusic) MediaPlayer1->Stop();
}

bool GameSound::ResumeMusicAfterMinimise() {
    if (!IsMusic || MediaPlayer1->State() != TMPState::Stopped) return false;
    MediaPlayer1->Play();
    return true;
}
