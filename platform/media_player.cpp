// TMediaPlayer: the background-music player the game drives. It keeps the
// game's view of the track (State, Duration) and leaves decoding to the back end.
#include "platform/audio.h"

namespace {
constexpr int64_t kHnsPerMs = 10000;  // 100-ns units per millisecond
}

void TMediaPlayer::SetFileName(const std::string& path) {
    backend_.Close();
    fileName_ = path;
    int64_t lengthMs = 0;
    opened_ = backend_.Open(path, lengthMs);
    // A file we cannot play stays silent: Stopped, no length, and Play does nothing,
    // so the game's restart rule never fires for it.
    durationHns_ = opened_ && lengthMs > 0 ? lengthMs * kHnsPerMs : 0;
    state_ = TMPState::Stopped;
}

void TMediaPlayer::Play() {
    if (!opened_) return;
    backend_.Play();
    state_ = TMPState::Playing;
}

void TMediaPlayer::Stop() {
    if (!opened_) return;
    backend_.Pause();
    state_ = TMPState::Stopped;
}

int64_t TMediaPlayer::CurrentTime() const {
    if (!opened_) return 0;
    int64_t hns = backend_.PositionMs() * kHnsPerMs;
    if (hns < 0) return 0;
    return hns > durationHns_ ? durationHns_ : hns;
}

void TMediaPlayer::SetCurrentTime(int64_t hns) {
    // The game only ever goes back to the start; positions inside the track are
    // not needed, so only 0 (or less) moves the player.
    if (!opened_ || hns > 0) return;
    backend_.Rewind();
    // Rewinding a playing track (also one that has run to its end) plays on
    // from the start.
    if (state_ == TMPState::Playing) backend_.Play();
}
