#pragma once
// "newrecord.dat" (the suspended score challenge, one TDataRec) and
// "record2.dat" (the stroke challenge's best stroke count, 4 bytes).
#include <array>
#include <optional>
#include <string>

#include "persistence/atomic_file.h"
#include "persistence/data_rec.h"

constexpr std::size_t kDataRecBytes = sizeof(TDataRec);
constexpr int kDefaultStrokeRecord = 30;

// Reads up to 3428 bytes of the file over the start of rec. A short file fills
// only the bytes it has; the rest of rec keeps what it held. rec is untouched
// unless the result is Ok.
// bytesRead, when given, receives how many bytes the file held (at most 3428).
ReadStatus ReadDataRecFile(const std::string& path, TDataRec& rec, std::size_t* bytesRead = nullptr);

// Replaces the file with the 3428 bytes of rec, whole or not at all; why, when
// given, receives the reason of a failure.
bool WriteDataRecFile(const std::string& path, const TDataRec& rec, WriteError* why = nullptr);

// Whether the suspended board of the record is one the game can restore without
// indexing out of bounds or flying objects to absurd places. Question numbers
// must lie in 0..questionCount-1, except in the slots marked in
// renumberedSlots: a number past the list there is an additional question that
// will be appended again from its saved texts.
// The best score and the used-question marks are not part of the board: they
// are judged on their own (KeptValuesOf).
bool DataRecIsUsable(const TDataRec& rec, int questionCount, const std::array<bool, 4>& renumberedSlots = {});

// The values a record carries from game to game whatever becomes of its board:
// the best score, when the file held it and it is one the title can show
// (0..999999), and the used-question marks, when the file held all of them and
// each is 0 or 1.
struct KeptValues {
    std::optional<int> highScore;
    std::optional<std::array<bool, 170>> usedQuestions;
};
KeptValues KeptValuesOf(const TDataRec& rec, std::size_t bytesRead);

// The stroke record: 30 when the file is missing or unreadable or holds a
// negative count. A file shorter than 4 bytes fills the low-order bytes of 30.
// unreadable, when given, tells a file that exists but could not be used.
int ReadStrokeRecordFile(const std::string& path, bool* unreadable = nullptr);

// Replaces the file with the 4 little-endian bytes of strokes.
bool WriteStrokeRecordFile(const std::string& path, int strokes, WriteError* why = nullptr);
