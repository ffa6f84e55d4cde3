#include "tests/test_support/recording_audio.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace {
uint32_t ReadLe32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
}  // namespace

int64_t WaveFileLengthMs(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char riff[12];
    if (!in.read(reinterpret_cast<char*>(riff), 12)) return 0;
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return 0;
    uint32_t bytesPerSecond = 0;
    unsigned char header[8];
    // Walk the chunks: "fmt " gives the byte rate, "data" the size.
    while (in.read(reinterpret_cast<char*>(header), 8)) {
        uint32_t size = ReadLe32(header + 4);
        if (std::memcmp(header, "fmt ", 4) == 0) {
            unsigned char fmt[16];
            if (size < 16 || !in.read(reinterpret_cast<char*>(fmt), 16)) return 0;
            bytesPerSecond = ReadLe32(fmt + 8);
            in.seekg(size - 16 + (size & 1), std::ios::cur);
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (bytesPerSecond == 0) return 0;
            return static_cast<int64_t>(size) * 1000 / bytesPerSecond;
        } else {
            in.seekg(size + (size & 1), std::ios::cur);
        }
    }
    return 0;
}

// ---- effects ----

int64_t RecordingEffectPlayer::LengthOf(const std::string& path) {
    auto it = lengths_.find(path);
    if (it != lengths_.end()) return it->second;
    return WaveFileLengthMs(path);
}

bool RecordingEffectPlayer::Sounding(const Played& p) const {
    if (p.cutShort) return false;
    return ElapsedMs(clock_.NowMs(), p.startMs) < p.lengthMs;
}

void RecordingEffectPlayer::PlayEffect(const std::string& path, bool synchronous) {
    if (!played_.empty() && Sounding(played_.back())) played_.back().cutShort = true;
    Played p;
    p.path = path;
    p.synchronous = synchronous;
    p.startMs = clock_.NowMs();
    p.lengthMs = LengthOf(path);  // a missing file has length 0: silent
    played_.push_back(p);
    if (synchronous && p.lengthMs > 0) clock_.WaitMs(static_cast<uint32_t>(p.lengthMs));
}

std::string RecordingEffectPlayer::Audible() const {
    if (!played_.empty() && Sounding(played_.back())) return played_.back().path;
    return "";
}

// ---- music ----

bool FakeMusicBackend::Open(const std::string& path, int64_t& lengthMs) {
    Close();
    auto it = tracks_.find(path);
    if (it == tracks_.end()) {
        lengthMs = 0;
        return false;
    }
    open_ = true;
    openPath_ = path;
    lengthMs_ = lengthMs = it->second;
    return true;
}

void FakeMusicBackend::Close() {
    open_ = running_ = false;
    openPath_.clear();
    lengthMs_ = basePosMs_ = 0;
}

void FakeMusicBackend::Play() {
    if (!open_) return;
    ++playCalls_;
    if (running_ && PositionMs() < lengthMs_) return;  // already playing
    // A track that ran to its end and is played again starts over, like a
    // mixer that has let the music halt.
    if (PositionMs() >= lengthMs_) basePosMs_ = 0;
    running_ = true;
    runningSinceMs_ = clock_.NowMs();
}

void FakeMusicBackend::Pause() {
    if (!open_ || !running_) return;
    basePosMs_ = PositionMs();
    running_ = false;
}

void FakeMusicBackend::Rewind() {
    if (!open_) return;
    // A track that has run out has halted, as in the mixer: rewinding it does
    // not start it again, only Play does.
    if (running_ && PositionMs() >= lengthMs_) running_ = false;
    basePosMs_ = 0;
    runningSinceMs_ = clock_.NowMs();
}

int64_t FakeMusicBackend::PositionMs() {
    if (!open_) return 0;
    int64_t pos = basePosMs_;
    if (running_) pos += ElapsedMs(clock_.NowMs(), runningSinceMs_);
    return std::min(pos, lengthMs_);
}

bool FakeMusicBackend::Audible() { return open_ && running_ && PositionMs() < lengthMs_; }

// ---- speech ----

void RecordingSpeechSink::PlaySpeech(const int16_t*, size_t count, int sampleRate) {
    std::lock_guard<std::mutex> lock(mutex_);
    utterances_.push_back({count, sampleRate});
}

void RecordingSpeechSink::StopSpeech() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++stopCalls_;
}

std::vector<RecordingSpeechSink::Utterance> RecordingSpeechSink::utterances() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return utterances_;
}

int RecordingSpeechSink::stopCalls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopCalls_;
}
