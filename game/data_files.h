#pragma once
// The player's data folder and the files the game keeps in it: the one place
// that knows their names and paths, and the one writer of the settings file.
#include <string>
#include <vector>

#include "persistence/atomic_file.h"
#include "persistence/settings_file.h"

enum class PlayerFile {
    SuspendedGame,        // the suspended score challenge, best score and used questions
    StrokeRecord,         // the stroke challenge's best
    Settings,             // switches, voice, review option and the suspended board's texts
    AdditionalQuestions,  // the player's own questions, edited in the settings dialog
    LearningRecord,       // what the player has met and missed of each idiom
    ScoreHistory,         // the final result of every finished game
};

class DataFiles {
public:
    DataFiles() = default;
    explicit DataFiles(std::string dataFolder) : DataFolda(std::move(dataFolder)) {}

    // The data folder inside the user's documents folder.
    static std::string FolderIn(const std::string& documentsFolder);
    static const char* Name(PlayerFile file);

    std::string DataFolda;  // no trailing '/'

    std::string Path(PlayerFile file) const { return DataFolda + "/" + Name(file); }
    bool Exists(PlayerFile file) const;
    void CreateFolder() const;
    // False when the folder is there but cannot be entered (no permission): then
    // no file in it can be read or even be seen to exist.
    bool FolderReadable() const;
    // A save killed half-way leaves its temporary file behind; nothing else will.
    // Only for the copy holding the folder: another copy's may be a save in flight.
    void RemoveStaleTemporaryFiles() const;

    // The settings file: what a save writes (the board's texts when given), the
    // voice alone (the settings dialog's OK), the review option alone.
    bool WriteSettings(const GameSettings& settings, const SavedBoardTexts* boardTexts,
                       WriteError* why = nullptr) const;
    bool WriteVoice(int voice) const;
    bool WriteReviewOption(bool on) const;
};

// Why a save did not happen, as the player is told it: "空き容量が足りません".
const char* WriteErrorText(WriteError why);
// "newrecord.dat と Settei.ini を保存できませんでした（空き容量が足りません）。"
std::string SaveFailureLine(const std::vector<std::string>& files, WriteError why);

// Moves a file the game refuses out of the way, to path + "." + stamp + ".bad"
// beside it ("-2", "-3", ... before ".bad" when that name is taken; nothing is
// ever replaced). Returns the new file name, or empty with *why set.
std::string KeepAside(const std::string& path, const std::string& stamp, WriteError* why);
