#include "game/learning_log.h"

#include "platform/calendar.h"

namespace {

bool Usable(LearningFileStatus s) { return s == LearningFileStatus::Ok || s == LearningFileStatus::Missing; }

}  // namespace

void LearningLog::Open(const std::string& dataFolder, Calendar* calendar) {
    calendar_ = calendar;
    recordPath_ = dataFolder + "/Gakushu.tsv";
    historyPath_ = dataFolder + "/Rireki.tsv";
    LearningLoad record = ReadLearningFile(recordPath_);
    recordStatus_ = record.status;
    recordUsable_ = Usable(record.status);
    record_ = LearningRecord(recordUsable_ ? std::move(record.table) : LearningTable{});
    HistoryLoad history = ReadHistoryFile(historyPath_);
    historyStatus_ = history.status;
    historyUsable_ = Usable(history.status);
    history_ = historyUsable_ ? std::move(history.table) : HistoryTable{};
    recordChanged_ = historyChanged_ = false;
}

std::string LearningLog::Problem() const {
    if (!Usable(recordStatus_)) return LearningFileProblem(recordStatus_) + "(Gakushu.tsv)";
    if (!Usable(historyStatus_)) return LearningFileProblem(historyStatus_) + "(Rireki.tsv)";
    return {};
}

std::string LearningLog::Today() const { return calendar_ ? calendar_->Today() : std::string(); }

void LearningLog::Dealt(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Dealt(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::Right(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Right(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::Missed(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Missed(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::Hinted(const std::string& idiom, const std::string& reading) {
    if (!Recording()) return;
    record_.Hinted(idiom, reading, calendar_->Today());
    recordChanged_ = true;
}

void LearningLog::GameFinished(const std::string& mode, int result) {
    if (!calendar_ || !historyUsable_) return;
    history_.rows.push_back(HistoryRow{calendar_->NowText(), mode, result, {}});
    history_.rows.back().extra.assign(history_.extraColumns.size(), std::string());
    historyChanged_ = true;
}

bool LearningLog::SaveIfChanged() {
    bool ok = true;
    if (recordChanged_ && recordUsable_) {
        if (WriteLearningFile(recordPath_, record_.Table()))
            recordChanged_ = false;
        else
            ok = false;
    }
    if (historyChanged_ && historyUsable_) {
        if (WriteHistoryFile(historyPath_, history_))
            historyChanged_ = false;
        else
            ok = false;
    }
    return ok;
}

bool LearningLog::Clear() {
    if (!recordUsable_ || !historyUsable_) return false;
    // The emptied tables keep the columns other copies of the game added.
    LearningTable emptyRecord;
    emptyRecord.extraColumns = record_.Table().extraColumns;
    HistoryTable emptyHistory;
    emptyHistory.extraColumns = history_.extraColumns;
    if (!WriteLearningFile(recordPath_, emptyRecord) || !WriteHistoryFile(historyPath_, emptyHistory)) return false;
    record_ = LearningRecord(std::move(emptyRecord));
    history_ = std::move(emptyHistory);
    recordChanged_ = historyChanged_ = false;
    return true;
}
