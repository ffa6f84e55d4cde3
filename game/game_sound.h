#pragma once
// What the player hears: the effects, the voice and the music, each behind the
// player's switch. Callers say what should be heard; whether it is, is decided
// here.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game/services.h"
#include "persistence/settings_file.h"
#include "platform/audio.h"
#include "voice/voices.h"

class GameSound {
public:
    explicit GameSound(GameServices& services);

    bool IsSound = false;  // the effects and the voice ([C])
    bool IsMusic = false;  // the stage music ([X])
    int VoiceMode = 0;     // the chosen voice, its place in kVoices
    std::array<bool, kVoiceCount> VoiceReady{};  // found at start-up
    uint32_t MusicStartTime = 0;
    std::unique_ptr<TMediaPlayer> MediaPlayer1;

    void FindVoices();
    // The switches and the voice as the settings file keeps them.
    GameSettings Settings() const { return {IsSound, IsMusic, VoiceMode}; }
    void TakeSettings(const GameSettings& settings);
    void ToggleSound() { IsSound = !IsSound; }  // [C]
    const VoiceRow* ChosenVoice() const { return IsVoice(VoiceMode) ? &kVoices[VoiceMode] : nullptr; }

    // An effect below the program folder ("Data/Sound/Pad_hit.wav"). A synchronous
    // one holds the thread: what led to it is painted first.
    void PlayEffect(const std::string& relativePath, bool synchronous);
    // A speech text (code page 932) in the chosen voice; silent for a voice that
    // does not exist or was not found.
    void Say(const std::string& cp932Text, int speed);
    // Each voice that can speak, the chosen one first: for speech made ahead,
    // since the player may change voice at any time.
    void ForEachVoiceChosenFirst(const std::function<void(int voice)>& each) const;
    bool Speaking() const { return IsSound; }  // whether speech made ahead will be heard

    // The stage's track, when the music is on.
    void StartStageMusic(int stage);
    // A track that plays even with the music switched off (the parade).
    void StartMusicEvenWhenOff(const std::string& relativePath);
    void StopMusic();
    // The player's [X]: the music on (the stage's track from the start) or off.
    void ToggleMusic(int stage);
    // The track does not loop by itself: true once its length has passed.
    bool TrackEnded() const;
    void RestartTrack();
    // Minimising stops the music; activating the window again resumes it.
    void PauseMusicForMinimise();
    bool ResumeMusicAfterMinimise();  // true when it resumed

private:
    std::string AssetPath(const std::string& relativePath) const;
    void StartTrack(const std::string& relativePath);
    GameServices& svc_;
};
