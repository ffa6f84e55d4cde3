#include "persistence/record_files.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <cstring>

namespace {

// Anything beyond this is no position or duration the game ever produces.
constexpr float kLargestPlausibleFloat = 1e6f;
constexpr int kLargestPlausibleCount = 1000000;
constexpr int kLargestScreenSide = 100000;

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }
bool IsBool(uint8_t b) { return b <= 1; }
bool PlausibleFloat(float v) { return std::isfinite(v) && std::fabs(v) <= kLargestPlausibleFloat; }
bool PlausibleDuration(float v) { return PlausibleFloat(v) && v >= 0; }

bool BlockUsable(const TDataRecBlock& b) {
    return PlausibleFloat(b.X) && IsBool(b.Visible) && InRange(b.BlockKind, 0, 6) &&
           InRange(b.SeikaiMojiNo, -1, 3);
}

bool BallUsable(const TDataRecBall& b) {
    return PlausibleFloat(b.X) && PlausibleFloat(b.Y) && PlausibleFloat(b.StopX) && PlausibleFloat(b.StopY) &&
           PlausibleDuration(b.Duration) && IsBool(b.Visible);
}

bool StoneUsable(const TDataRecStone& s) {
    return PlausibleFloat(s.X) && PlausibleFloat(s.Y) && PlausibleFloat(s.StopY) && PlausibleDuration(s.Duration) &&
           IsBool(s.Visible);
}

}  // namespace

ReadStatus ReadDataRecFile(const std::string& path, TDataRec& rec, std::size_t* bytesRead) {
    FileRead read = ReadFileBytes(path, kDataRecBytes);
    if (read.status == ReadStatus::Ok) std::memcpy(&rec, read.bytes.data(), read.bytes.size());
    if (bytesRead) *bytesRead = read.bytes.size();
    return read.status;
}

bool WriteDataRecFile(const std::string& path, const TDataRec& rec, WriteError* why) {
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(&rec), kDataRecBytes), why);
}

bool DataRecIsUsable(const TDataRec& rec, int questionCount, const std::array<bool, 4>& renumberedSlots) {
    if (!InRange(rec.Stage, 1, 3) || !InRange(rec.MondaiCount, 1, 30)) return false;
    for (int k = 0; k < 4; ++k) {
        const int q = rec.MondaiNo[k];
        const bool known = InRange(q, 0, questionCount - 1);
        const bool restoredFromTexts = renumberedSlots[k] && q >= questionCount && q >= 170;
        if (!known && !restoredFromTexts) return false;
    }
    for (const TDataRecBlock& b : rec.Block)
        if (!BlockUsable(b)) return false;
    for (const TDataRecBall& b : rec.Ball)
        if (!BallUsable(b)) return false;
    if (!InRange(rec.MovingBallNo, -1, 2)) return false;
    for (int p : rec.UnVisibleMojiNo)
        if (!InRange(p, 0, 3)) return false;
    if (!InRange(rec.BallSeikaiMojiNo, 0, 3) || !InRange(rec.FirstBallSeikaiMojiNo, 0, 3)) return false;
    if (!InRange(rec.PadHitCount, 0, kLargestPlausibleCount) ||
        !InRange(rec.UpBlockHitCount, 0, kLargestPlausibleCount))
        return false;
    if (!IsBool(rec.Clear) || !IsBool(rec.GameOver) || !IsBool(rec.GameClear) || !IsBool(rec.HintHyoji)) return false;
    for (int n : rec.UnVisibleBlockCount)
        if (!InRange(n, 0, 16)) return false;
    for (const TDataRecStone& s : rec.Stone)
        if (!StoneUsable(s)) return false;
    if (rec.Score < 0 || rec.TotalScore < 0 || rec.OldTotalScore < 0) return false;
    return InRange(rec.ScreenX, 1, kLargestScreenSide) && InRange(rec.ScreenY, 1, kLargestScreenSide);
}

KeptValues KeptValuesOf(const TDataRec& rec, std::size_t bytesRead) {
    KeptValues kept;
    if (bytesRead >= offsetof(TDataRec, HighScore) + sizeof rec.HighScore && InRange(rec.HighScore, 0, 999999))
        kept.highScore = rec.HighScore;
    if (bytesRead >= offsetof(TDataRec, ShutudaiSumi) + sizeof rec.ShutudaiSumi &&
        std::all_of(std::begin(rec.ShutudaiSumi), std::end(rec.ShutudaiSumi), IsBool)) {
        std::array<bool, 170> marks{};
        for (std::size_t q = 0; q < marks.size(); ++q) marks[q] = rec.ShutudaiSumi[q] != 0;
        kept.usedQuestions = marks;
    }
    return kept;
}

int ReadStrokeRecordFile(const std::string& path, bool* unreadable) {
    FileRead read = ReadFileBytes(path, 4);
    if (unreadable) *unreadable = read.status == ReadStatus::Failed;
    if (read.status != ReadStatus::Ok) return kDefaultStrokeRecord;
    int32_t value = kDefaultStrokeRecord;
    std::memcpy(&value, read.bytes.data(), read.bytes.size());  // little-endian: low-order bytes first
    if (value < 0 && unreadable) *unreadable = true;
    return value < 0 ? kDefaultStrokeRecord : value;
}

bool WriteStrokeRecordFile(const std::string& path, int strokes, WriteError* why) {
    const int32_t value = strokes;
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(&value), sizeof value), why);
}
