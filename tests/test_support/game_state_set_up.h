#pragma once
// The states tests start from, set up the way the game itself gets there: through
// the progress's and the board's own operations, or through a suspended-game
// record read back as loading one would. Nothing here writes their members.
#include <utility>

#include "game/suspended_game.h"
#include "game/tform1.h"

struct GameStateSetUp {
    explicit GameStateSetUp(TForm1& form) : form_(form) {}

    // The window's own progress and board, for their operations.
    Progress& progress() { return form_.progress; }
    Board& board() { return form_.board; }

    // Values a suspended game keeps, changed in its record and read back (with
    // the scores held within range, as any loaded record). Whether the ball in
    // play is on its first fall stays as it was: the record does not say so,
    // but the test's board is live.
    template <class Edit>
    GameStateSetUp& Record(Edit&& edit) {
        Record(form_.board, form_.progress, std::forward<Edit>(edit));
        return *this;
    }
    template <class Edit>
    static void Record(Board& board, Progress& progress, Edit&& edit) {
        TDataRec rec = ToRecord(board, progress);
        const bool firstFall = board.FirstBallDown();
        edit(rec);
        FromRecord(rec, board, progress);
        if (firstFall) board.ServeBall(board.MovingBallNo());
    }

    // The next board deals question `question` of a game under way: the set-up
    // counts on from the question before it, cleared.
    GameStateSetUp& NextQuestion(int question) {
        return Record([&](TDataRec& r) {
            r.GameClear = 0;
            r.Clear = 1;
            r.MondaiCount = question - 1;
        });
    }

    // A record beaten in the challenge being played, as the end of a game or
    // round beats it.
    GameStateSetUp& NewRecord() {
        Progress& p = form_.progress;
        if (p.GameMode() == Challenge::Score) {
            Record([&](TDataRec& r) { r.TotalScore = p.HighScore() + 1; });
            p.FinishScoreGame();
        } else {
            p.TakeStrokeRecord(p.PadHitCount() + 1);
            p.RecordStrokes();
        }
        return *this;
    }

private:
    TForm1& form_;
};
