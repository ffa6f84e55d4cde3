#include "game/data_files.h"

#include <filesystem>
#include <system_error>

#include "persistence/atomic_file.h"

std::string DataFiles::FolderIn(const std::string& documentsFolder) {
    return documentsFolder + "/みずうみ舎/TeramonData";
}

const char* DataFiles::Name(PlayerFile file) {
    switch (file) {
        case PlayerFile::SuspendedGame: return "newrecord.dat";
        case PlayerFile::StrokeRecord: return "record2.dat";
        case PlayerFile::Settings: return "Settei.ini";
        case PlayerFile::AdditionalQuestions: return "NewTuikamondai.txt";
        case PlayerFile::LearningRecord: return "Gakushu.tsv";
        case PlayerFile::ScoreHistory: return "Rireki.tsv";
    }
    return "";
}

bool DataFiles::Exists(PlayerFile file) const { return PathExists(Path(file)); }

void DataFiles::CreateFolder() const {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::u8path(DataFolda), ec);
}

void DataFiles::RemoveStaleTemporaryFiles() const {
    ::RemoveStaleTemporaryFiles(DataFolda, {Name(PlayerFile::SuspendedGame), Name(PlayerFile::StrokeRecord),
                                            Name(PlayerFile::Settings), Name(PlayerFile::AdditionalQuestions),
                                            Name(PlayerFile::LearningRecord), Name(PlayerFile::ScoreHistory)});
}

bool DataFiles::WriteSettings(const GameSettings& settings, const SavedBoardTexts* boardTexts,
                              WriteError* why) const {
    return WriteSettingsOnSave(Path(PlayerFile::Settings), settings, boardTexts, why);
}

bool DataFiles::WriteVoice(int voice) const { return WriteVoiceMode(Path(PlayerFile::Settings), voice); }

bool DataFiles::WriteReviewOption(bool on) const { return ::WriteReviewOption(Path(PlayerFile::Settings), on); }
