// A write that fails at any step leaves the previous file as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "persistence/atomic_file.h"
#include "persistence/record_files.h"
#include "persistence/settings_file.h"
#include "temp_folder.h"

namespace {

struct FaultGuard {
    explicit FaultGuard(WriteFailurePoint point) {
        SetWriteFaultInjection({[](const std::string&) { return true; }, point});
    }
    ~FaultGuard() { ClearWriteFaultInjection(); }
};

}  // namespace

TEST(AtomicFile, FailedWritesKeepThePreviousFile) {
    TempFolder folder;
    const std::string path = folder.File("newrecord.dat");
    WriteBytes(path, "previous");
    for (WriteFailurePoint point : {WriteFailurePoint::Open, WriteFailurePoint::Write, WriteFailurePoint::Rename}) {
        FaultGuard fault(point);
        EXPECT_FALSE(WriteFileAtomically(path, "new content"));
        EXPECT_EQ(ReadBytes(path), "previous");
        EXPECT_FALSE(PathExists(path + ".tmp")) << "a failed write leaves no temporary file";
    }
    EXPECT_TRUE(WriteFileAtomically(path, "new content"));
    EXPECT_EQ(ReadBytes(path), "new content");
    EXPECT_FALSE(PathExists(path + ".tmp"));
}

// Each file of the data folder when its write cannot be done: something in the
// way of the temporary file.
TEST(AtomicFile, BlockedTemporaryFileFailsEveryWriter) {
    TempFolder folder;
    TDataRec rec{};
    rec.Stage = 1;
    const std::string record = folder.File("newrecord.dat");
    const std::string stroke = folder.File("record2.dat");
    const std::string settings = folder.File("Settei.ini");
    WriteBytes(record, "old record");
    WriteBytes(stroke, Hex("0C 00 00 00"));
    WriteBytes(settings, "[IsSound]\r\nValue=0\r\n");
    for (const std::string& p : {record, stroke, settings}) std::filesystem::create_directory(p + ".tmp");

    EXPECT_FALSE(WriteDataRecFile(record, rec));
    EXPECT_FALSE(WriteStrokeRecordFile(stroke, 11));
    EXPECT_FALSE(WriteSettingsOnSave(settings, GameSettings{}, nullptr));
    EXPECT_EQ(ReadBytes(record), "old record");
    EXPECT_EQ(ReadStrokeRecordFile(stroke), 12);
    EXPECT_FALSE(ReadGameSettings(settings).isSound);
}

TEST(AtomicFile, ReadOnlyFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; covered by the tests above";
    TempFolder folder;
    const std::string path = folder.File("record2.dat");
    WriteBytes(path, Hex("0C 00 00 00"));
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);
    EXPECT_FALSE(WriteStrokeRecordFile(path, 11));
    EXPECT_EQ(ReadStrokeRecordFile(path), 12);
}

TEST(AtomicFile, ReadLimitsAndStatus) {
    TempFolder folder;
    const std::string path = folder.File("f");
    EXPECT_EQ(ReadFileBytes(path).status, ReadStatus::Missing);
    EXPECT_EQ(ReadFileBytes(folder.File("no/such/folder/f")).status, ReadStatus::Missing);
    WriteBytes(path, std::string(10000, 'x'));
    FileRead read = ReadFileBytes(path, 5000);
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes.size(), 5000u);
    EXPECT_EQ(ReadFileBytes(folder.Path()).status, ReadStatus::Failed);
}
