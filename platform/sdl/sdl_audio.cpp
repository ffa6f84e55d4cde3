// Device set-up and the effect channel of SdlAudio.
#include "platform/sdl/sdl_audio.h"

#include <cstdio>

namespace {
constexpr int kMixRate = 44100;
constexpr int kMixChunkFrames = 1024;
}  // namespace

SdlAudio::SdlAudio(Clock& clock) : clock_(clock) {
    if (!OpenMixer()) {
        std::string reason = SDL_GetError();
        // No sound card, no server: play on into the void rather than fail.
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (OpenMixer()) {
            std::fprintf(stderr, "teramon2: no audio device (%s); running without sound\n",
                         reason.c_str());
        } else {
            std::fprintf(stderr, "teramon2: audio unavailable (%s); running without sound\n",
                         SDL_GetError());
        }
    }
    if (!mixerOpen_) {
        silent_ = true;
        return;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    silent_ = driver && std::string(driver) == "dummy";
    Mix_QuerySpec(&deviceRate_, &deviceFormat_, &deviceChannels_);
    Mix_AllocateChannels(2);
    Mix_ReserveChannels(2);  // nothing else may grab the effect or speech channel
    // The music sits a little under the effects and the voice, so they stand out
    // and the sum of all three seldom reaches full scale; speech lowers it further.
    Mix_VolumeMusic(kMusicVolume);
    Mix_RegisterEffect(MIX_CHANNEL_POST, &SdlAudio::DuckStep, nullptr, this);
}

bool SdlAudio::OpenMixer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(kMixRate, MIX_DEFAULT_FORMAT, 2, kMixChunkFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    mixerOpen_ = true;
    return true;
}

SdlAudio::~SdlAudio() {
    if (!mixerOpen_) return;
    Mix_UnregisterEffect(MIX_CHANNEL_POST, &SdlAudio::DuckStep);
    Mix_HaltChannel(-1);
    {
        std::lock_guard<std::mutex> lock(speechMutex_);
        ReleaseSpeechChunk();
    }
    Close();
    for (auto& [path, chunk] : effects_)
        if (chunk) Mix_FreeChunk(chunk);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

Mix_Chunk* SdlAudio::EffectChunk(const std::string& path) {
    auto it = effects_.find(path);
    if (it != effects_.end()) return it->second;
    // Decoded once into the device format; a file that fails stays silent for good.
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    effects_[path] = chunk;
    return chunk;
}

int64_t SdlAudio::ChunkLengthMs(const Mix_Chunk* chunk) const {
    int frameBytes = SDL_AUDIO_BITSIZE(deviceFormat_) / 8 * deviceChannels_;
    if (!chunk || frameBytes <= 0 || deviceRate_ <= 0) return 0;
    int64_t frames = chunk->alen / frameBytes;
    return (frames * 1000 + deviceRate_ - 1) / deviceRate_;
}

int64_t SdlAudio::EffectLengthMs(const std::string& path) {
    if (!mixerOpen_) return 0;
    return ChunkLengthMs(EffectChunk(path));
}

void SdlAudio::PlayEffect(const std::string& path, bool synchronous) {
    if (!mixerOpen_) return;
    Mix_Chunk* chunk = EffectChunk(path);
    Mix_HaltChannel(kEffectChannel);  // a new effect ends the one still playing
    if (!chunk) return;
    if (Mix_PlayChannel(kEffectChannel, chunk, 0) < 0) return;
    if (synchronous) clock_.WaitMs(static_cast<uint32_t>(ChunkLengthMs(chunk)));
}
