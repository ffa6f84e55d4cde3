#pragma once
// The learning record as the game keeps it: Gakushu.tsv and Rireki.tsv in the
// player's data folder, the rules of learning_record.h, and when to write.
// Events only change memory; the files are written when a question ends and at
// quit, and only when something changed (a game started and quit from the title
// writes nothing). A file that cannot be read is never replaced: the game then
// plays on without recording into it and Problem() says why.
#include <string>
#include <vector>

#include "game/question_bank.h"
#include "game/learning_record.h"
#include "persistence/atomic_file.h"
#include "persistence/learning_file.h"

class Calendar;

// The player's line on why the record is not kept, naming the file; empty for Ok/Missing.
std::string LearningFileProblem(LearningFileStatus status, const std::string& file);

// A learning file the last save could not write, and why.
struct LearningWriteFailure {
    std::string file;  // "Gakushu.tsv"
    WriteError why = WriteError::None;
};

// What became of starting afresh: the lines for the player, and whether
// recording goes on now.
struct FreshStart {
    bool started = false;
    std::string told;  // one line a file, '\n' between
};

class LearningLog {
public:
    // Reads both files. Without a calendar nothing is recorded.
    // The record file and the score history file (Gakushu.tsv, Rireki.tsv in the data folder).
    void Open(const std::string& recordPath, const std::string& historyPath, Calendar* calendar);

    bool Recording() const { return calendar_ && recordUsable_; }
    // One line for the player when a file could not be read, else empty.
    std::string Problem() const;
    // The names of the files that could not be read or were refused.
    std::vector<std::string> RefusedFiles() const;
    LearningFileStatus RecordStatus() const { return recordStatus_; }
    LearningFileStatus HistoryStatus() const { return historyStatus_; }
    // Keeps each refused file under a new name beside it (see KeepAside) and
    // starts it empty; recording into it resumes at once.
    FreshStart StartAfresh();
    std::string Today() const;

    void Dealt(const std::string& idiom, const std::string& reading);
    void Right(const std::string& idiom, const std::string& reading);
    void Missed(const std::string& idiom, const std::string& reading);
    void Hinted(const std::string& idiom, const std::string& reading);
    void Right(const Question& q) { Right(q.Jukugo, q.Yomi); }
    void Missed(const Question& q) { Missed(q.Jukugo, q.Yomi); }
    void Hinted(const Question& q) { Hinted(q.Jukugo, q.Yomi); }
    // A finished game: mode "score" with the final score, or "strokes" with the strokes.
    void GameFinished(const std::string& mode, int result);

    // Writes what changed since the last write. False when a write failed.
    bool SaveIfChanged();
    // The files whose last write failed and are still not written.
    std::vector<LearningWriteFailure> WriteFailures() const;
    // One line when what the record holds is not all in its files, else empty.
    std::string SaveProblem() const;
    // Empties both files (header lines only). False when they could not be
    // written or one of them could not be read (it is never replaced).
    bool Clear();

    const LearningRecord& Record() const { return record_; }
    const HistoryTable& History() const { return history_; }

    // "苦手な熟語を多く出す": due idioms are dealt first (Settei.ini [Review]).
    bool reviewDeal = false;

private:
    std::string recordPath_, historyPath_;
    Calendar* calendar_ = nullptr;
    LearningRecord record_;
    HistoryTable history_;
    LearningFileStatus recordStatus_ = LearningFileStatus::Missing;
    LearningFileStatus historyStatus_ = LearningFileStatus::Missing;
    bool recordUsable_ = false, historyUsable_ = false;
    bool recordChanged_ = false, historyChanged_ = false;
    WriteError recordWriteError_ = WriteError::None, historyWriteError_ = WriteError::None;
};
