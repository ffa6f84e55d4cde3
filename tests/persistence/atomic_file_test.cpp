// A write that fails at any step leaves the previous file as it was; temporary
// files never follow or truncate anything; reads never block and are bounded.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "persistence/atomic_file.h"
#include "persistence/record_files.h"
#include "persistence/settings_file.h"
#include "tests/test_support/temp_folder.h"
#include "tests/test_support/unprivileged_files.h"

namespace fs = std::filesystem;

namespace {

struct FaultGuard {
    explicit FaultGuard(WriteFailurePoint point) {
        SetWriteFaultInjection({[](const std::string&) { return true; }, point});
    }
    ~FaultGuard() { ClearWriteFaultInjection(); }
};

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

}  // namespace

TEST(AtomicFile, FailedWritesKeepThePreviousFile) {
    TempFolder folder;
    const std::string path = folder.File("newrecord.dat");
    WriteBytes(path, "previous");
    for (WriteFailurePoint point : {WriteFailurePoint::Open, WriteFailurePoint::Write, WriteFailurePoint::Rename}) {
        FaultGuard fault(point);
        EXPECT_FALSE(WriteFileAtomically(path, "new content"));
        EXPECT_EQ(ReadBytes(path), "previous");
        EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"newrecord.dat"})
            << "a failed write leaves no temporary file";
    }
    EXPECT_TRUE(WriteFileAtomically(path, "new content"));
    EXPECT_EQ(ReadBytes(path), "new content");
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"newrecord.dat"});
}

// Links and files planted where a temporary file was once made (the fixed
// name of earlier versions) are neither followed nor truncated, nor do they
// block the write.
TEST(AtomicFile, PlantedTemporaryNamesAreNeverFollowed) {
    TempFolder folder;
    const std::string victim = folder.File("victim");
    WriteBytes(victim, "the link's target");
    const std::string record = folder.File("newrecord.dat");
    const std::string settings = folder.File("Settei.ini");
    const std::string stroke = folder.File("record2.dat");
    fs::create_symlink(victim, record + ".tmp");
    fs::create_symlink(victim, settings + ".tmp");
    fs::create_directory(stroke + ".tmp");
    TDataRec rec{};
    rec.Stage = 1;
    EXPECT_TRUE(WriteDataRecFile(record, rec));
    EXPECT_TRUE(WriteSettingsOnSave(settings, GameSettings{}, nullptr));
    EXPECT_TRUE(WriteStrokeRecordFile(stroke, 11));
    EXPECT_EQ(ReadBytes(victim), "the link's target");
    EXPECT_TRUE(fs::is_symlink(record + ".tmp"));
    EXPECT_EQ(ReadBytes(record).size(), kDataRecBytes);
    EXPECT_EQ(ReadStrokeRecordFile(stroke), 11);
}

// The replaced file's permission bits stay; a new file gets the usual 0644
// (less the umask).
TEST(AtomicFile, PermissionBitsOfTheReplacedFileStay) {
    TempFolder folder;
    const std::string path = folder.File("newrecord.dat");
    for (mode_t mode : {0600, 0640, 0444, 0664}) {
        WriteBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_TRUE(WriteFileAtomically(path, "new"));
        EXPECT_EQ(ModeOf(path), mode) << std::oct << mode;
        EXPECT_EQ(ReadBytes(path), "new");
    }
    fs::remove(path);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_TRUE(WriteFileAtomically(path, "fresh"));
    EXPECT_EQ(ModeOf(path), 0644 & ~mask);
}

// Something at the target that is no regular file the game can read is never
// replaced, and reading it neither blocks nor fails start-up.
TEST(AtomicFile, TargetsThatCannotBeReadAreNeitherReadNorReplaced) {
    ::alarm(20);  // a read that blocks on the FIFO ends the test run instead of hanging it
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
    };
    const Case cases[] = {
        {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"folder", [](const std::string& p) { fs::create_directory(p); }},
        {"link to a device", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        {"no read permission",
         [](const std::string& p) {
             WriteBytes(p, "secret");
             ASSERT_EQ(::chmod(p.c_str(), 0200), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder.File("newrecord.dat");
        c.make(path);
        WithoutFileAccessOverride asPlayer;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ReadFileBytes(path, kDataRecBytes).status, ReadStatus::Failed);
        EXPECT_EQ(ReadWholeFile(path, 1000).status, ReadStatus::Failed);
        TDataRec rec{};
        EXPECT_FALSE(WriteDataRecFile(path, rec));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        struct stat st;
        ASSERT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode) && st.st_size == static_cast<off_t>(kDataRecBytes))
            << "replaced by the write";
        EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"newrecord.dat"});
    }
    ::alarm(0);
}

TEST(AtomicFile, ReadLimitsAndStatus) {
    TempFolder folder;
    const std::string path = folder.File("f");
    EXPECT_EQ(ReadFileBytes(path, 10).status, ReadStatus::Missing);
    EXPECT_EQ(ReadFileBytes(folder.File("no/such/folder/f"), 10).status, ReadStatus::Missing);
    WriteBytes(path, std::string(10000, 'x'));
    FileRead read = ReadFileBytes(path, 5000);  // a prefix read takes the start of a longer file
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes.size(), 5000u);
    EXPECT_EQ(ReadWholeFile(path, 10000).bytes.size(), 10000u);
    EXPECT_EQ(ReadWholeFile(path, 9999).status, ReadStatus::Failed) << "a whole-file read past its limit";
    EXPECT_EQ(ReadFileBytes(folder.Path(), 10).status, ReadStatus::Failed);
}

// Temporary files a killed save left behind are the game's own to remove;
// nothing else in the folder is touched, links least of all.
TEST(AtomicFile, StaleTemporaryFilesAreRemoved) {
    TempFolder folder;
    const std::vector<std::string> ours = {"newrecord.dat.tmp", "newrecord.dat.a1B2c3.tmp", "Settei.ini.zzzzzz.tmp",
                                           "NewTuikamondai.txt.Q9q9Q9.tmp", "record2.dat.tmp"};
    const std::vector<std::string> others = {"notes.tmp", "newrecord.dat.toolong.tmp", "newrecord.dat",
                                             "Settei.ini.ab-cd.tmp", "other.dat.abcdef.tmp"};
    for (const std::string& n : ours) WriteBytes(folder.File(n), "half a save");
    for (const std::string& n : others) WriteBytes(folder.File(n), "keep");
    WriteBytes(folder.File("victim"), "keep");
    fs::create_symlink(folder.File("victim"), folder.File("Settei.ini.tmp"));
    RemoveStaleTemporaryFiles(folder.Path(), {"newrecord.dat", "record2.dat", "Settei.ini", "NewTuikamondai.txt"});
    std::vector<std::string> expected = others;
    expected.push_back("Settei.ini.tmp");
    expected.push_back("victim");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(folder.Path()), expected);
    EXPECT_EQ(ReadBytes(folder.File("victim")), "keep");
}
