// newrecord.dat and record2.dat: bytes at their offsets, short and broken files,
// the checks on loaded values, and writes that fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>

#include "persistence/record_files.h"
#include "temp_folder.h"

namespace {

std::string Le32(int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string LeFloat(float v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// A record as a save in the middle of a stage-2 question writes it.
TDataRec PlausibleRecord() {
    TDataRec r{};
    r.Stage = 2;
    r.MondaiCount = 14;
    r.ShutudaiSumi[5] = 1;
    r.ShutudaiSumiCount = 1;
    r.MondaiNo[0] = 5; r.MondaiNo[1] = 169; r.MondaiNo[2] = 0; r.MondaiNo[3] = 171;
    for (int i = 0; i < 48; ++i) {
        r.Block[i].X = 9.41f + 49.41f * static_cast<float>(i % 16);
        r.Block[i].Visible = i < 32;
        r.Block[i].BlockKind = i < 16 ? i / 4 : 5;
        r.Block[i].SeikaiMojiNo = -1;
        r.Stone[i].X = r.Block[i].X;
        r.Stone[i].Y = 60;
    }
    r.Block[17].SeikaiMojiNo = 3;
    r.Block[17].BlockKind = 6;
    r.Ball[1] = {120.5f, 300.25f, 790.0f, 0.0f, 1.5f, 1, {}};
    r.MovingBallNo = 1;
    r.UnVisibleMojiNo[0] = 0; r.UnVisibleMojiNo[1] = 3; r.UnVisibleMojiNo[2] = 1; r.UnVisibleMojiNo[3] = 2;
    r.BallSeikaiMojiNo = 3;
    r.FirstBallSeikaiMojiNo = 2;
    r.PadHitCount = 7;
    r.UpBlockHitCount = 2;
    r.HintHyoji = 1;
    r.UnVisibleBlockCount[0] = 0; r.UnVisibleBlockCount[1] = 4; r.UnVisibleBlockCount[2] = 16;
    r.UnVisibleBlockCount[3] = 16; r.UnVisibleBlockCount[4] = 16;
    r.Stone[47] = {400.0f, 250.0f, {}, 600.0f, 2.5f, 1, {}};
    r.Score = 0;
    r.TotalScore = 3200;
    r.OldTotalScore = 3000;
    r.HighScore = 15000;
    r.ScreenX = 800;
    r.ScreenY = 600;
    return r;
}

}  // namespace

TEST(SuspendedGameFile, FieldsLandAtTheirOffsets) {
    TempFolder folder;
    const std::string path = folder.File("newrecord.dat");
    TDataRec r = PlausibleRecord();
    r.Clear = 1;  // distinguishable from its neighbours
    ASSERT_TRUE(WriteDataRecFile(path, r));
    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 3428u);

    struct Field { std::size_t offset; std::string value; const char* name; };
    const Field fields[] = {
        {0, Le32(2), "Stage"},
        {4, Le32(14), "MondaiCount"},
        {8 + 5, std::string(1, '\x01'), "ShutudaiSumi[5]"},
        {180, Le32(1), "ShutudaiSumiCount"},
        {184 + 12, Le32(171), "MondaiNo[3]"},
        {200 + 32 * 17 + 0, LeFloat(9.41f + 49.41f), "Block[17].X"},
        {200 + 32 * 17 + 20, std::string(1, '\x01'), "Block[17].Visible"},
        {200 + 32 * 17 + 24, Le32(6), "Block[17].BlockKind"},
        {200 + 32 * 17 + 28, Le32(3), "Block[17].SeikaiMojiNo"},
        {200 + 32 * 47 + 28, Hex("FF FF FF FF"), "Block[47].SeikaiMojiNo"},
        {1736 + 24, Hex("00 00 F1 42"), "Ball[1].X = 120.5"},
        {1736 + 24 + 4, LeFloat(300.25f), "Ball[1].Y"},
        {1736 + 24 + 8, LeFloat(790.0f), "Ball[1].StopX"},
        {1736 + 24 + 16, Hex("00 00 C0 3F"), "Ball[1].Duration = 1.5"},
        {1736 + 24 + 20, std::string(1, '\x01'), "Ball[1].Visible"},
        {1808, Le32(1), "MovingBallNo"},
        {1812 + 4, Le32(3), "UnVisibleMojiNo[1]"},
        {1828, Le32(3), "BallSeikaiMojiNo"},
        {1832, Le32(2), "FirstBallSeikaiMojiNo"},
        {1836, Le32(7), "PadHitCount"},
        {1840, Le32(2), "UpBlockHitCount"},
        {1844, Hex("01 00 00 01"), "Clear GameOver GameClear HintHyoji"},
        {1848 + 4, Le32(4), "UnVisibleBlockCount[1]"},
        {1848 + 16, Le32(16), "UnVisibleBlockCount[4]"},
        {1868 + 32 * 47, LeFloat(400.0f), "Stone[47].X"},
        {1868 + 32 * 47 + 4, LeFloat(250.0f), "Stone[47].Y"},
        {1868 + 32 * 47 + 12, LeFloat(600.0f), "Stone[47].StopY"},
        {1868 + 32 * 47 + 16, LeFloat(2.5f), "Stone[47].Duration"},
        {1868 + 32 * 47 + 20, std::string(1, '\x01'), "Stone[47].Visible"},
        {3404, Le32(0), "Score"},
        {3408, Le32(3200), "TotalScore"},
        {3412, Le32(3000), "OldTotalScore"},
        {3416, Hex("98 3A 00 00"), "HighScore = 15000"},
        {3420, Hex("20 03 00 00"), "ScreenX = 800"},
        {3424, Hex("58 02 00 00"), "ScreenY = 600"},
    };
    for (const Field& f : fields)
        EXPECT_EQ(bytes.substr(f.offset, f.value.size()), f.value) << f.name << " at " << f.offset;
    // Reserved bytes hold zeros.
    EXPECT_EQ(bytes.substr(178, 2), std::string(2, '\0'));
    EXPECT_EQ(bytes.substr(200 + 32 * 17 + 4, 16), std::string(16, '\0'));
    EXPECT_EQ(bytes.substr(1868 + 32 * 47 + 21, 11), std::string(11, '\0'));

    TDataRec back{};
    ASSERT_EQ(ReadDataRecFile(path, back), ReadStatus::Ok);
    EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
    EXPECT_TRUE(DataRecIsUsable(back, 172));
}

TEST(SuspendedGameFile, ShortLongAndMissingFiles) {
    TempFolder folder;
    const std::string path = folder.File("newrecord.dat");
    TDataRec r = PlausibleRecord();

    EXPECT_EQ(ReadDataRecFile(path, r), ReadStatus::Missing);

    // A short file replaces only the bytes it has.
    WriteBytes(path, Le32(3) + Le32(21));
    ASSERT_EQ(ReadDataRecFile(path, r), ReadStatus::Ok);
    EXPECT_EQ(r.Stage, 3);
    EXPECT_EQ(r.MondaiCount, 21);
    EXPECT_EQ(r.HighScore, 15000);

    // A truncated record over a zeroed buffer (as at start-up) is not usable.
    TDataRec zeroed{};
    const TDataRec full = PlausibleRecord();
    WriteBytes(path, std::string(reinterpret_cast<const char*>(&full), 3000));
    ASSERT_EQ(ReadDataRecFile(path, zeroed), ReadStatus::Ok);
    EXPECT_FALSE(DataRecIsUsable(zeroed, 172));

    // Bytes after the record are ignored.
    WriteBytes(path, std::string(reinterpret_cast<const char*>(&full), sizeof full) + "trailing");
    ASSERT_EQ(ReadDataRecFile(path, zeroed), ReadStatus::Ok);
    EXPECT_EQ(std::memcmp(&zeroed, &full, sizeof full), 0);

    // Something that is no file cannot be read.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(ReadDataRecFile(path, zeroed), ReadStatus::Failed);
}

// Every value a restore indexes with or places objects by must be in range.
TEST(SuspendedGameFile, OutOfRangeValuesMakeTheRecordUnusable) {
    static const float nan = std::numeric_limits<float>::quiet_NaN();
    static const float inf = std::numeric_limits<float>::infinity();
    struct Case { const char* name; std::function<void(TDataRec&)> spoil; };
    const Case cases[] = {
        {"Stage 0", [](TDataRec& r) { r.Stage = 0; }},
        {"Stage 4", [](TDataRec& r) { r.Stage = 4; }},
        {"MondaiCount 0", [](TDataRec& r) { r.MondaiCount = 0; }},
        {"MondaiCount 31", [](TDataRec& r) { r.MondaiCount = 31; }},
        {"MondaiNo -1", [](TDataRec& r) { r.MondaiNo[0] = -1; }},
        {"MondaiNo past the lists", [](TDataRec& r) { r.MondaiNo[2] = 172; }},
        {"BlockKind 7", [](TDataRec& r) { r.Block[40].BlockKind = 7; }},
        {"BlockKind -1", [](TDataRec& r) { r.Block[0].BlockKind = -1; }},
        {"SeikaiMojiNo 4", [](TDataRec& r) { r.Block[20].SeikaiMojiNo = 4; }},
        {"SeikaiMojiNo -2", [](TDataRec& r) { r.Block[20].SeikaiMojiNo = -2; }},
        {"block Visible 7", [](TDataRec& r) { r.Block[3].Visible = 7; }},
        {"block X NaN", [](TDataRec& r) { r.Block[3].X = nan; }},
        {"ball Y infinite", [](TDataRec& r) { r.Ball[0].Y = inf; }},
        {"ball StopX absurd", [](TDataRec& r) { r.Ball[2].StopX = 3e7f; }},
        {"ball Duration negative", [](TDataRec& r) { r.Ball[1].Duration = -1; }},
        {"MovingBallNo 3", [](TDataRec& r) { r.MovingBallNo = 3; }},
        {"MovingBallNo -2", [](TDataRec& r) { r.MovingBallNo = -2; }},
        {"UnVisibleMojiNo 4", [](TDataRec& r) { r.UnVisibleMojiNo[3] = 4; }},
        {"BallSeikaiMojiNo 4", [](TDataRec& r) { r.BallSeikaiMojiNo = 4; }},
        {"FirstBallSeikaiMojiNo -1", [](TDataRec& r) { r.FirstBallSeikaiMojiNo = -1; }},
        {"PadHitCount -1", [](TDataRec& r) { r.PadHitCount = -1; }},
        {"GameClear 2", [](TDataRec& r) { r.GameClear = 2; }},
        {"UnVisibleBlockCount 17", [](TDataRec& r) { r.UnVisibleBlockCount[2] = 17; }},
        {"UnVisibleBlockCount -1", [](TDataRec& r) { r.UnVisibleBlockCount[0] = -1; }},
        {"stone Y -inf", [](TDataRec& r) { r.Stone[10].Y = -inf; }},
        {"stone Duration NaN", [](TDataRec& r) { r.Stone[10].Duration = nan; }},
        {"TotalScore negative", [](TDataRec& r) { r.TotalScore = -5; }},
        {"ScreenX 0", [](TDataRec& r) { r.ScreenX = 0; }},
        {"ScreenY -600", [](TDataRec& r) { r.ScreenY = -600; }},
    };
    ASSERT_TRUE(DataRecIsUsable(PlausibleRecord(), 172));
    for (const Case& c : cases) {
        TDataRec r = PlausibleRecord();
        c.spoil(r);
        EXPECT_FALSE(DataRecIsUsable(r, 172)) << c.name;
    }

    // Garbage of the right length is not taken for a game either.
    std::mt19937 gen(7);
    for (int round = 0; round < 20; ++round) {
        TDataRec r;
        auto* p = reinterpret_cast<uint8_t*>(&r);
        for (std::size_t i = 0; i < sizeof r; ++i) p[i] = static_cast<uint8_t>(gen());
        EXPECT_FALSE(DataRecIsUsable(r, 172)) << "round " << round;
    }
}

// The best score and the used-question marks are judged apart from the board:
// each is taken when the file held it and it is in range, whatever the board.
TEST(SuspendedGameFile, KeptValuesAreJudgedOnTheirOwn) {
    struct Case {
        const char* name;
        std::function<void(TDataRec&)> change;
        std::size_t bytes;
        bool boardUsable;
        std::optional<int> highScore;
        bool marksTaken;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"whole record", [](TDataRec&) {}, 3428, true, 54321, true},
        {"stone Duration NaN", [&](TDataRec& r) { r.Stone[3].Duration = nan; }, 3428, false, 54321, true},
        {"Stage 9", [](TDataRec& r) { r.Stage = 9; }, 3428, false, 54321, true},
        {"ScreenX 0", [](TDataRec& r) { r.ScreenX = 0; }, 3428, false, 54321, true},
        {"a mark of 2", [](TDataRec& r) { r.ShutudaiSumi[100] = 2; }, 3428, true, 54321, false},
        {"count of marks wrong", [](TDataRec& r) { r.ShutudaiSumiCount = 171; }, 3428, true, 54321, true},
        {"HighScore -1", [](TDataRec& r) { r.HighScore = -1; }, 3428, true, std::nullopt, true},
        {"HighScore 1000000", [](TDataRec& r) { r.HighScore = 1000000; }, 3428, true, std::nullopt, true},
        {"HighScore 999999", [](TDataRec& r) { r.HighScore = 999999; }, 3428, true, 999999, true},
        {"file ends before HighScore", [](TDataRec&) {}, 3419, true, std::nullopt, true},
        {"file ends inside the marks", [](TDataRec&) {}, 100, true, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDataRec r = PlausibleRecord();
        r.HighScore = 54321;
        r.ShutudaiSumi[7] = 1;
        c.change(r);
        if (c.bytes == 3428) { EXPECT_EQ(DataRecIsUsable(r, 172), c.boardUsable); }
        const KeptValues kept = KeptValuesOf(r, c.bytes);
        EXPECT_EQ(kept.highScore, c.highScore);
        ASSERT_EQ(kept.usedQuestions.has_value(), c.marksTaken);
        if (c.marksTaken) {
            EXPECT_TRUE((*kept.usedQuestions)[5] && (*kept.usedQuestions)[7]);
            EXPECT_EQ(std::count(kept.usedQuestions->begin(), kept.usedQuestions->end(), true), 2);
        }
    }
}

// A slot whose additional question is gone from the list is still fine when
// its texts were saved: it will be appended again under a new number.
TEST(SuspendedGameFile, VanishedAdditionalQuestionWithSavedTexts) {
    TDataRec r = PlausibleRecord();
    r.MondaiNo[3] = 172;
    EXPECT_FALSE(DataRecIsUsable(r, 172));
    EXPECT_TRUE(DataRecIsUsable(r, 172, {false, false, false, true}));
    EXPECT_FALSE(DataRecIsUsable(r, 172, {true, true, true, false}));
}

TEST(StrokeRecordFile, ReadsWhatIsThere) {
    struct Case { std::string bytes; int expected; const char* name; };
    const Case cases[] = {
        {Hex("0C 00 00 00"), 12, "12"},
        {Hex("E8 03 00 00"), 1000, "1000"},
        {"", 30, "empty file"},
        {Hex("0C"), 12, "one byte: low-order byte of 30 replaced"},
        {Hex("0C 01"), 0x010C, "two bytes"},
        {Hex("0B 00 00 00 FF FF"), 11, "bytes after the fourth ignored"},
        {Hex("FF FF FF FF"), 30, "negative: unreadable"},
        {Hex("00 00 00 80"), 30, "most negative: unreadable"},
    };
    TempFolder folder;
    const std::string path = folder.File("record2.dat");
    EXPECT_EQ(ReadStrokeRecordFile(path), 30) << "no file";
    for (const Case& c : cases) {
        WriteBytes(path, c.bytes);
        EXPECT_EQ(ReadStrokeRecordFile(path), c.expected) << c.name;
    }
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(ReadStrokeRecordFile(path), 30) << "cannot be read";
}

TEST(StrokeRecordFile, WritesFourLittleEndianBytes) {
    TempFolder folder;
    const std::string path = folder.File("record2.dat");
    ASSERT_TRUE(WriteStrokeRecordFile(path, 11));
    EXPECT_EQ(ReadBytes(path), Hex("0B 00 00 00"));
    ASSERT_TRUE(WriteStrokeRecordFile(path, 1000));
    EXPECT_EQ(ReadBytes(path), Hex("E8 03 00 00"));
}
