// The music stream of SdlAudio: one MP3 at a time, never looped by the mixer.
#include <cmath>

#include "platform/sdl/sdl_audio.h"

bool SdlAudio::Open(const std::string& path, int64_t& lengthMs) {
    Close();
    lengthMs = 0;
    if (!mixerOpen_) return false;
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) return false;
    double seconds = Mix_MusicDuration(music);
    if (!(seconds > 0)) {
        // Without a length the game could not tell when to restart the track.
        Mix_FreeMusic(music);
        return false;
    }
    music_ = music;
    musicLengthMs_ = lengthMs = std::llround(seconds * 1000.0);
    musicStarted_ = false;
    return true;
}

void SdlAudio::Close() {
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    musicLengthMs_ = 0;
    musicStarted_ = false;
}

void SdlAudio::Play() {
    if (!music_) return;
    if (Mix_PlayingMusic()) {  // paused music counts as playing
        if (Mix_PausedMusic()) Mix_ResumeMusic();
        return;
    }
    // Not started yet, or the mixer halted it at the end of the file: start over.
    if (Mix_PlayMusic(music_, 0) == 0) musicStarted_ = true;
}

void SdlAudio::Pause() {
    if (music_ && Mix_PlayingMusic()) Mix_PauseMusic();
}

void SdlAudio::Rewind() {
    if (!music_) return;
    if (Mix_PlayingMusic())
        Mix_RewindMusic();
    else
        musicStarted_ = false;  // halted at its end: the next Play starts from 0
}

int64_t SdlAudio::PositionMs() {
    if (!music_ || !musicStarted_) return 0;
    if (!Mix_PlayingMusic()) return musicLengthMs_;  // ran to its end
    double seconds = Mix_GetMusicPosition(music_);
    return seconds > 0 ? std::llround(seconds * 1000.0) : 0;
}
