// The learning log's own files: a write that fails is remembered with its
// reason until a later write succeeds, and a refused file is kept under a new
// name beside it while the record starts afresh.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/learning_log.h"
#include "persistence/atomic_file.h"
#include "platform/calendar.h"
#include "tests/test_support/temp_folder.h"
#include "tests/test_support/unprivileged_files.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

struct LogInFolder {
    TempFolder folder;
    FixedCalendar calendar{"2026-12-10"};
    LearningLog log;
    fs::path Record() const { return fs::path(folder.Path()) / "Gakushu.tsv"; }
    fs::path History() const { return fs::path(folder.Path()) / "Rireki.tsv"; }
    void Open() { log.Open(Record().string(), History().string(), &calendar); }
};

struct Refused {
    const char* what;
    bool history;  // Rireki.tsv rather than Gakushu.tsv
    std::function<void(const fs::path&)> make;
};

TEST(LearningLogTest, ARefusedFileIsKeptUnderANewNameAndTheRecordStartsAfresh) {
    const Refused cases[] = {
        {"not text", false, [](const fs::path& p) { Write(p, "idiom\treading\n\xff\xfe\n"); }},
        {"too large", false, [](const fs::path& p) { Write(p, std::string(kLearningFileLimit + 1, 'a')); }},
        {"a folder in its place", false, [](const fs::path& p) { fs::create_directory(p); }},
        {"history not text", true, [](const fs::path& p) { Write(p, "\xff\xfe garbage\n"); }},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        LogInFolder fx;
        const fs::path bad = c.history ? fx.History() : fx.Record();
        const char* name = c.history ? "Rireki.tsv" : "Gakushu.tsv";
        c.make(bad);
        const std::string before = fs::is_regular_file(bad) ? Bytes(bad) : std::string();
        fx.Open();
        ASSERT_EQ(fx.log.RefusedFiles(), std::vector<std::string>{name});

        const FreshStart result = fx.log.StartAfresh();
        const std::string kept = std::string(name) + ".20261210-120000.bad";
        EXPECT_TRUE(result.started);
        EXPECT_EQ(result.told, std::string(name) + " を " + kept + " として残し、新しい記録を始めました。");
        EXPECT_FALSE(fs::exists(bad)) << "the old name is free for the fresh file";
        ASSERT_TRUE(fs::exists(bad.parent_path() / kept));
        if (fs::is_regular_file(bad.parent_path() / kept)) {
            EXPECT_EQ(Bytes(bad.parent_path() / kept), before);
        }
        EXPECT_TRUE(fx.log.RefusedFiles().empty());
        EXPECT_TRUE(fx.log.Problem().empty());

        // Recording resumes at once, into a fresh file.
        fx.log.Dealt("一石二鳥", "いっせきにちょう");
        fx.log.Missed("一石二鳥", "いっせきにちょう");
        fx.log.GameFinished("score", 1200);
        ASSERT_TRUE(fx.log.SaveIfChanged());
        const LearningLoad record = ReadLearningFile(fx.Record().string());
        ASSERT_EQ(record.status, LearningFileStatus::Ok);
        ASSERT_EQ(record.table.rows.size(), 1u);
        EXPECT_EQ(record.table.rows[0].missed, 1);
        EXPECT_EQ(ReadHistoryFile(fx.History().string()).table.rows.size(), 1u);
    }
}

TEST(LearningLogTest, AKeptNameAlreadyTakenIsNeverReplaced) {
    LogInFolder fx;
    Write(fx.Record(), "\xff");
    const fs::path taken = fx.Record().string() + ".20261210-120000.bad";
    Write(taken, "an earlier bad file");
    fx.Open();
    const FreshStart result = fx.log.StartAfresh();
    EXPECT_TRUE(result.started);
    EXPECT_EQ(Bytes(taken), "an earlier bad file");
    EXPECT_EQ(Bytes(fx.Record().string() + ".20261210-120000-2.bad"), "\xff");
    EXPECT_NE(result.told.find("Gakushu.tsv.20261210-120000-2.bad"), std::string::npos) << result.told;
}

TEST(LearningLogTest, ARenameThatFailsIsToldAndNothingChanges) {
    LogInFolder fx;
    Write(fx.Record(), "\xff");
    fx.Open();
    ::chmod(fx.folder.Path().c_str(), 0555);
    FreshStart result;
    {
        WithoutFileAccessOverride asPlayer;
        result = fx.log.StartAfresh();
    }
    ::chmod(fx.folder.Path().c_str(), 0755);
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.told,
              "Gakushu.tsv の名前を変えられないので、新しい記録を始められませんでした（書き込む権限がありません）。");
    EXPECT_EQ(Bytes(fx.Record()), "\xff");
    EXPECT_EQ(fx.log.RefusedFiles(), std::vector<std::string>{"Gakushu.tsv"});
    EXPECT_FALSE(fx.log.Recording());
}

// What memory holds but the files do not is said, with the file and the
// reason, until a write succeeds.
TEST(LearningLogTest, AFailedWriteIsRememberedUntilAWriteSucceeds) {
    LogInFolder fx;
    fx.Open();
    fx.log.Dealt("一石二鳥", "いっせきにちょう");
    fx.log.GameFinished("strokes", 40);
    const std::string record = fx.Record().string();
    SetWriteFaultInjection({[record](const std::string& p) { return p == record; }, WriteFailurePoint::Rename, EPERM});
    EXPECT_FALSE(fx.log.SaveIfChanged());
    ClearWriteFaultInjection();
    ASSERT_EQ(fx.log.WriteFailures().size(), 1u);
    EXPECT_EQ(fx.log.WriteFailures()[0].file, "Gakushu.tsv");
    EXPECT_EQ(fx.log.WriteFailures()[0].why, WriteError::NoPermission);
    EXPECT_EQ(fx.log.SaveProblem(),
              "Gakushu.tsv を保存できませんでした（書き込む権限がありません）。表には保存されていない分も含まれます。");
    EXPECT_TRUE(fs::exists(fx.History())) << "the other file is written all the same";

    EXPECT_TRUE(fx.log.SaveIfChanged());
    EXPECT_TRUE(fx.log.WriteFailures().empty());
    EXPECT_TRUE(fx.log.SaveProblem().empty());
    EXPECT_EQ(ReadLearningFile(record).table.rows.size(), 1u);
}

}  // namespace
