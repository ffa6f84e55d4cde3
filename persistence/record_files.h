#pragma once
// "newrecord.dat" (the suspended score challenge, one TDataRec) and
// "record2.dat" (the stroke challenge's best stroke count, 4 bytes).
#include <array>
#include <string>

#include "persistence/atomic_file.h"
#include "persistence/data_rec.h"

constexpr std::size_t kDataRecBytes = sizeof(TDataRec);
constexpr int kDefaultStrokeRecord = 30;

// Reads up to 3428 bytes of the file over the start of rec. A short file fills
// only the bytes it has; the rest of rec keeps what it held. rec is untouched
// unless the result is Ok.
ReadStatus ReadDataRecFile(const std::string& path, TDataRec& rec);

// Replaces the file with the 3428 bytes of rec, whole or not at all.
bool WriteDataRecFile(const std::string& path, const TDataRec& rec);

// Whether every value of the record is one the game can restore without
// indexing out of bounds or flying objects to absurd places. Question numbers
// must lie in 0..questionCount-1, except in the slots marked in
// renumberedSlots: a number past the list there is an additional question that
// will be appended again from its saved texts.
bool DataRecIsUsable(const TDataRec& rec, int questionCount, const std::array<bool, 4>& renumberedSlots = {});

// The stroke record: 30 when the file is missing or unreadable or holds a
// negative count. A file shorter than 4 bytes fills the low-order bytes of 30.
int ReadStrokeRecordFile(const std::string& path);

// Replaces the file with the 4 little-endian bytes of strokes.
bool WriteStrokeRecordFile(const std::string& path, int strokes);
