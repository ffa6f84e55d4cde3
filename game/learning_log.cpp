#include "game/learning_log.h"

#include "game/data_files.h"
#include "game/game_texts.h"
#include "platform/calendar.h"

namespace {

bool Usable(LearningFileStatus s) { return s == LearningFileStatus::Ok || s == LearningFileStatus::Missing; }

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

std::string LearningFileProblem(LearningFileStatus status, const std::string& file) {
    switch (status) {
        case LearningFileStatus::Unreadable: return Format(Msg::LearningUnreadable, {{"file", file}});
        case LearningFileStatus::NotText: return Format(Msg::LearningNotText, {{"file", file}});
        case LearningFileStatus::TooLarge: return Format(Msg::LearningTooLarge, {{"file", file}});
        default: return {};
    }
}

void LearningLog::Open(const std::string& recordPath, const std::string& historyPath, Calendar* calendar) {
    calendar_ = calendar;
    recordPath_ = recordPath;
    historyPath_ = historyPath;
    LearningLoad record = ReadLearningFile(recordPath_);
    recordStatus_ = record.status;
    recordUsable_ = Usable(record.status);
    record_ = LearningRecord(recordUsable_ ? std::move(record.table) : LearningTable{});
    HistoryLoad history = ReadHistoryFile(historyPath_);
    historyStatus_ = history.status;
    historyUsable_ = Usable(history.status);
    history_ = historyUsable_ ? std::move(history.table) : HistoryTable{};
    recordChanged_ = historyChanged_ = false;
    recordWriteError_ = historyWriteError_ = WriteError::None;
}

std::string LearningLog::Problem() const {
    if (!Usable(recordStatus_)) return LearningFileProblem(recordStatus_, FileName(recordPath_));
    if (!Usable(historyStatus_)) return LearningFileProblem(historyStatus_, FileName(historyPath_));
    return {};
}

std::vector<std::string> LearningLog::RefusedFiles() const {
    std::vector<std::string> names;
    if (!recordUsable_) names.push_back(FileName(recordPath_));
    if (!historyUsable_) names.push_back(FileName(historyPath_));
    return names;
}

FreshStart LearningLog::StartAfresh() {
    FreshStart result{true, {}};
    const std::string stamp = calendar_ ? calendar_->StampText() : std::string("0");
    const auto afresh = [&](const std::string& path, bool& usable, LearningFileStatus& status, auto&& empty) {
        if (usable) return;
        const std::string name = FileName(path);
        std::string line = Format(Msg::RecordGone, {{"file", name}});
        if (PathExists(path)) {
            WriteError why = WriteError::None;
            const std::string kept = KeepAside(path, stamp, &why);
            if (kept.empty()) {
                result.started = false;
                result.told += (result.told.empty() ? "" : "\n") +
                               Format(Msg::RecordNotRenamed, {{"file", name}, {"reason", WriteErrorText(why)}});
                return;
            }
            line = Format(Msg::RecordKeptAs, {{"file", name}, {"kept", kept}});
        }
        usable = true;
        status = LearningFileStatus::Missing;
        empty();
        result.told += (result.told.empty() ? "" : "\n") + line;
    };
    afresh(recordPath_, recordUsable_, recordStatus_, [this] {
        record_ = LearningRecord(LearningTable{});
        recordChanged_ = false;
        recordWriteError_ = WriteError::None;
    });
    afresh(historyPath_, historyUsable_, historyStatus_, [this] {
        history_ = HistoryTable{};
        historyChanged_ = false;
        historyWriteError_ = WriteError::None;
    });
    return result;
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
    if (recordChanged_ && recordUsable_ && WriteLearningFile(recordPath_, record_.Table(), &recordWriteError_))
        recordChanged_ = false;
    if (historyChanged_ && historyUsable_ && WriteHistoryFile(historyPath_, history_, &historyWriteError_))
        historyChanged_ = false;
    return WriteFailures().empty();
}

std::vector<LearningWriteFailure> LearningLog::WriteFailures() const {
    std::vector<LearningWriteFailure> failures;
    if (recordChanged_ && recordWriteError_ != WriteError::None)
        failures.push_back({FileName(recordPath_), recordWriteError_});
    if (historyChanged_ && historyWriteError_ != WriteError::None)
        failures.push_back({FileName(historyPath_), historyWriteError_});
    return failures;
}

std::string LearningLog::SaveProblem() const {
    std::string line;
    for (const LearningWriteFailure& f : WriteFailures()) line += SaveFailureLine({f.file}, f.why);
    return line.empty() ? line : line + Msg::UnsavedInTable;
}

bool LearningLog::Clear() {
    if (!recordUsable_ || !historyUsable_) return false;
    // The emptied tables keep the columns other copies of the game added.
    LearningTable emptyRecord;
    emptyRecord.extraColumns = record_.Table().extraColumns;
    HistoryTable emptyHistory;
    emptyHistory.extraColumns = history_.extraColumns;
    // Each file is replaced whole or not at all; what memory holds follows the
    // file, so a later save never brings back rows that were cleared.
    const bool recordCleared = WriteLearningFile(recordPath_, emptyRecord);
    if (recordCleared) {
        record_ = LearningRecord(std::move(emptyRecord));
        recordChanged_ = false;
        recordWriteError_ = WriteError::None;
    }
    const bool historyCleared = WriteHistoryFile(historyPath_, emptyHistory);
    if (historyCleared) {
        history_ = std::move(emptyHistory);
        historyChanged_ = false;
        historyWriteError_ = WriteError::None;
    }
    return recordCleared && historyCleared;
}
