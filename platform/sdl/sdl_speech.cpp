// The speech channel of SdlAudio. See sdl_audio.h for the threading rules.
#include <algorithm>
#include <cmath>

#include "platform/sdl/sdl_audio.h"

std::vector<Uint8> SdlAudio::ConvertToDevice(const int16_t* samples, size_t count,
                                             int sampleRate) const {
    std::vector<Uint8> out;
    SDL_AudioStream* stream = SDL_NewAudioStream(AUDIO_S16SYS, 1, sampleRate, deviceFormat_,
                                                 static_cast<Uint8>(deviceChannels_), deviceRate_);
    if (!stream) return out;
    // The resampler holds back the last few milliseconds even after a flush, so
    // feed it some silence after the voice and cut the result to the true length.
    std::vector<int16_t> silence(static_cast<size_t>(sampleRate / 20), 0);
    int bytes = static_cast<int>(count * sizeof(int16_t));
    if (SDL_AudioStreamPut(stream, samples, bytes) == 0 &&
        SDL_AudioStreamPut(stream, silence.data(), static_cast<int>(silence.size() * 2)) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        out.resize(static_cast<size_t>(SDL_AudioStreamAvailable(stream)));
        int got = SDL_AudioStreamGet(stream, out.data(), static_cast<int>(out.size()));
        out.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    SDL_FreeAudioStream(stream);
    size_t frameBytes = SDL_AUDIO_BITSIZE(deviceFormat_) / 8 * deviceChannels_;
    if (frameBytes == 0) return {};
    size_t frames = static_cast<size_t>(static_cast<int64_t>(count) * deviceRate_ / sampleRate);
    // Whole frames only: the mixer reads the buffer frame by frame.
    out.resize(std::min(out.size() / frameBytes, frames) * frameBytes);
    return out;
}

void SdlAudio::ReleaseSpeechChunk() {
    if (speechChunk_) {
        Mix_FreeChunk(speechChunk_);  // halts the channel if it still plays it
        speechChunk_ = nullptr;
    }
    speechBuffer_.clear();
}

void SdlAudio::PlaySpeech(const int16_t* samples, size_t count, int sampleRate) {
    if (!mixerOpen_ || !samples || count == 0 || sampleRate <= 0) return;
    if (count > static_cast<size_t>(INT32_MAX / 8)) return;  // far beyond any utterance
    std::vector<Uint8> converted = ConvertToDevice(samples, count, sampleRate);
    if (converted.empty()) return;
    std::lock_guard<std::mutex> lock(speechMutex_);
    Mix_HaltChannel(kSpeechChannel);
    ReleaseSpeechChunk();
    speechBuffer_ = std::move(converted);
    speechChunk_ = Mix_QuickLoad_RAW(speechBuffer_.data(), static_cast<Uint32>(speechBuffer_.size()));
    if (speechChunk_) Mix_PlayChannel(kSpeechChannel, speechChunk_, 0);
}

void SdlAudio::StopSpeech() {
    if (!mixerOpen_) return;
    std::lock_guard<std::mutex> lock(speechMutex_);
    Mix_HaltChannel(kSpeechChannel);
    ReleaseSpeechChunk();
}

void SDLCALL SdlAudio::DuckStep(int, void*, int, void* self) {
    // Called with the audio device locked, after the music of this block was
    // mixed: the new volume applies from the next block (about 23 ms), which the
    // short quiet start of each utterance covers.
    auto* audio = static_cast<SdlAudio*>(self);
    const double target = Mix_Playing(kSpeechChannel) ? kSpeechDuckDb : 0.0;
    double now = audio->duckDb_.load();
    if (now == target) return;
    now = now > target ? std::max(target, now - kDuckAttackDbPerBlock)
                       : std::min(target, now + kDuckReleaseDbPerBlock);
    audio->duckDb_.store(now);
    Mix_VolumeMusic(static_cast<int>(std::lround(kMusicVolume * std::pow(10.0, now / 20.0))));
}
