#include "game/data_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "game/game_texts.h"
#include "persistence/atomic_file.h"

std::string DataFiles::FolderIn(const std::string& documentsFolder) {
    return documentsFolder + kDataFolderUnderDocuments;
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

bool DataFiles::FolderReadable() const {
    // Looking up "." inside needs the right to enter the folder, as every file in it does.
    struct stat st {};
    if (::stat((DataFolda + "/.").c_str(), &st) == 0) return true;
    return errno != EACCES && errno != EPERM;
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

const char* WriteErrorText(WriteError why) {
    switch (why) {
        case WriteError::NoSpace: return Msg::NoSpace;
        case WriteError::NoPermission: return Msg::NoPermission;
        case WriteError::NoFolder: return Msg::NoFolder;
        case WriteError::KeptUnreadable: return Msg::KeptUnreadable;
        default: return Msg::WriteFailed;
    }
}

std::string SaveFailureLine(const std::vector<std::string>& files, WriteError why) {
    std::string names;
    for (const std::string& f : files) names += (names.empty() ? "" : Msg::FileNameJoin) + f;
    return Format(Msg::NotSaved, {{"files", names}, {"reason", WriteErrorText(why)}});
}

std::string KeepAside(const std::string& path, const std::string& stamp, WriteError* why) {
    const std::string folder = path.substr(0, path.find_last_of('/') + 1);
    for (int n = 1; n < 100; ++n) {
        const std::string name = path.substr(folder.size()) + "." + stamp + (n > 1 ? "-" + std::to_string(n) : "") + ".bad";
        const std::string target = folder + name;
        // Never over a file already there, even one made a moment ago.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return name;
        if (errno == EEXIST) continue;
        if (errno == EINVAL) {  // a file system without the no-replace rename
            if (PathExists(target)) continue;
            if (::rename(path.c_str(), target.c_str()) == 0) return name;
        }
        *why = WriteErrorOf(errno);
        return {};
    }
    *why = WriteError::Other;
    return {};
}
