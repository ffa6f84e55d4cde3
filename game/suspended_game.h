#pragma once
// The suspended game as the record file holds it, to and from the board and the
// progress: pure functions, no window involved.
#include "game/board.h"
#include "game/progress.h"
#include "persistence/data_rec.h"

// The record of a board and progress. The record's reserved bytes, which the
// game does not use, are taken from `kept` (the record last read or written),
// so that rewriting a file changes only what the game keeps.
TDataRec ToRecord(const Board& board, const Progress& progress, const TDataRec& kept = {});

// A record's values into a board and progress; the pictures' places stay in the
// record's coordinates (board.SavedPlaces()), for the window to scale to its size.
// Values the record does not hold (the challenge, the stroke record, the
// additional questions' marks, the stroke challenge's balls) are left as they are,
// and so are the best score and the built-in questions' marks: the game takes
// those from the file at start-up (KeptValuesOf), even from a board it refuses.
// Check the record with DataRecIsUsable first: values are taken as they stand.
void FromRecord(const TDataRec& rec, Board& board, Progress& progress);
