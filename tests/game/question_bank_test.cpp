#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <unistd.h>

#include "game/question_bank.h"
#include "platform/text_codec.h"
#include "tests/test_support/game_fixture.h"

namespace {

// The 170 idioms in question-number order, as the game design lists them.
constexpr std::string_view kIdiomList =
    "挙措進退 気宇壮大 半死半生 千紫万紅 剛毅木訥 一心不乱 海千山千 同床異夢 付和雷同 縦横無尽 "
    "勢力伯仲 浅学非才 奇想天外 月下氷人 行雲流水 全知全能 人面獣心 余裕綽々 羊頭狗肉 阿鼻叫喚 "
    "急転直下 牛飲馬食 人跡未踏 順風満帆 五里霧中 三拝九拝 巧言令色 沈思黙考 清廉潔白 有為転変 "
    "雲散霧消 空理空論 群雄割拠 軽挙妄動 面従腹背 無病息災 無為無策 大器晩成 大言壮語 意志薄弱 "
    "以心伝心 紆余曲折 切磋琢磨 千客万来 前人未踏 隔靴掻痒 我田引水 画竜点睛 喜色満面 疑心暗鬼 "
    "喜怒哀楽 孤立無援 言語道断 荒唐無稽 枝葉末節 頑固一徹 旧態依然 馬耳東風 拍手喝采 千載一遇 "
    "閑話休題 興味津々 旭日昇天 公平無私 時代錯誤 終始一貫 粗製濫造 創意工夫 温故知新 気息奄々 "
    "博覧強記 絶体絶命 不撓不屈 物情騒然 一触即発 一心同体 栄枯盛衰 栄耀栄華 二律背反 破顔一笑 "
    "博学多才 一宿一飯 一騎当千 一挙両得 一刻千金 有象無象 一気呵成 不言実行 夫唱婦随 二股膏薬 "
    "天涯孤独 電光石火 天下泰平 平穏無事 平身低頭 変幻自在 傍若無人 茫然自失 満身創痍 焼肉定食 "
    "水戸黄門 無芸大食 大同小異 右往左往 曖昧模糊 悪戦苦闘 悪口雑言 暗中模索 異口同音 一期一会 "
    "一日千秋 一念発起 一網打尽 一目瞭然 一蓮托生 一喜一憂 一切合切 一世一代 一石二鳥 一刀両断 "
    "円満具足 岡目八目 音信不通 快刀乱麻 偕老同穴 臥薪嘗胆 勧善懲悪 完全無欠 艱難辛苦 危機一髪 "
    "起死回生 起承転結 虚々実々 欣喜雀躍 金科玉条 苦心惨憺 乾坤一擲 権謀術数 厚顔無恥 呉越同舟 "
    "孤軍奮闘 虎視眈々 後生大事 古色蒼然 五臓六腑 誇大妄想 才色兼備 三々五々 自画自賛 試行錯誤 "
    "千差万別 全身全霊 戦々恐々 前代未聞 前途多難 前途洋々 千変万化 即決即断 隠忍自重 大盤振舞 "
    "百鬼夜行 魑魅魍魎 百戦錬磨 眉目秀麗 百家争鳴 針小棒大 百花繚乱 風光明媚 不倶戴天 晴耕雨読";

std::vector<std::string> ExpectedIdioms() {
    std::vector<std::string> idioms;
    std::istringstream words{std::string(kIdiomList)};
    for (std::string word; words >> word;) idioms.push_back(word);
    return idioms;
}

bool IsHiragana(const std::string& character) {
    return character >= "ぁ" && character <= "ゖ" && Utf16Length(character) == 1;
}

// Kana whose vowel is o: after one of them a written う is spoken お.
bool EndsInO(const std::string& kana) {
    static const std::set<std::string> oRow = {"お", "こ", "ご", "そ", "ぞ", "と", "ど", "の", "ほ",
                                               "ぼ", "ぽ", "も", "よ", "ょ", "ろ", "を"};
    return oRow.count(kana) > 0;
}

// Whether a speech text reads out the reading: marks removed, each spoken お either
// written お or a う lengthening the o of the kana before it.
::testing::AssertionResult SpeechMatchesReading(const std::string& speech, const std::string& reading) {
    std::vector<std::string> spoken;
    for (const std::string& c : SplitUtf8Characters(speech.substr(0, speech.size() - 3)))
        if (c != "'" && c != "/") spoken.push_back(c);
    const std::vector<std::string> written = SplitUtf8Characters(reading);
    if (spoken.size() != written.size()) return ::testing::AssertionFailure() << "length differs";
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (spoken[i] == written[i]) continue;
        if (spoken[i] == "お" && written[i] == "う" && i > 0 && EndsInO(written[i - 1])) continue;
        return ::testing::AssertionFailure() << "character " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

TEST(BuiltInQuestions, TableHoldsTheListedIdiomsInQuestionNumberOrder) {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    const std::vector<std::string> expected = ExpectedIdioms();
    ASSERT_EQ(expected.size(), 170u);
    ASSERT_EQ(rows.size(), 170u);
    for (std::size_t q = 0; q < rows.size(); ++q) EXPECT_EQ(rows[q].jukugo, expected[q]) << "question " << q;
    EXPECT_TRUE(kBuiltInQuestionTable.starts_with("idiom\treading\tspeech\tmeaning\tmeaning_speech\n"));
}

TEST(BuiltInQuestions, RowsGivenInFullAreKeptVerbatim) {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    struct Row { int q; const char *jukugo, *yomi, *speech, *imi; };
    const Row given[] = {
        {0, "挙措進退", "きょそしんたい", "'きょそ'しんたい。", "日常のちょっとした動作、身のこなし"},
        {2, "半死半生", "はんしはんしょう", "は'んしはんしょお。", "今にも死にそうなこと"},
        {6, "海千山千", "うみせんやません", "うみせんやません。", "せちがらい世の中の裏も表も知っていて、ずるがしこい人"},
        {109, "一期一会", "いちごいちえ", "いちご/いち'え。", "生涯に一度限りの出会い"},
    };
    for (const Row& g : given) {
        const BuiltInQuestion& row = rows[g.q];
        EXPECT_EQ(row.jukugo, g.jukugo);
        EXPECT_EQ(row.yomi, g.yomi);
        EXPECT_EQ(row.speech, g.speech);
        EXPECT_EQ(row.imi, g.imi);
    }
}

TEST(BuiltInQuestions, EveryRowIsWellFormed) {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    std::set<std::string> seen;
    for (std::size_t q = 0; q < rows.size(); ++q) {
        const BuiltInQuestion& row = rows[q];
        SCOPED_TRACE("question " + std::to_string(q) + " " + row.jukugo);
        EXPECT_EQ(Utf16Length(row.jukugo), 4u);
        EXPECT_TRUE(seen.insert(row.jukugo).second) << "idiom twice";

        const std::vector<std::string> reading = SplitUtf8Characters(row.yomi);
        EXPECT_GE(reading.size(), 5u);
        EXPECT_LE(reading.size(), 10u);
        for (const std::string& c : reading) EXPECT_TRUE(IsHiragana(c)) << row.yomi;

        EXPECT_FALSE(row.imi.empty());
        EXPECT_LE(Utf16Length(row.imi), 38u) << row.imi;

        // Speech notation: hiragana, accent marks ', phrase breaks /, closing "。".
        ASSERT_TRUE(row.speech.ends_with("。")) << row.speech;
        std::string previous;
        for (const std::string& c : SplitUtf8Characters(row.speech.substr(0, row.speech.size() - 3))) {
            EXPECT_TRUE(IsHiragana(c) || c == "'" || c == "/") << row.speech;
            EXPECT_FALSE(c == "'" && previous == "'") << row.speech;
            previous = c;
        }
        const std::optional<std::string> cp932 = Utf8ToCp932(row.speech);
        ASSERT_TRUE(cp932);
        EXPECT_LE(cp932->size(), 23u) << row.speech;
        EXPECT_TRUE(SpeechMatchesReading(row.speech, row.yomi)) << row.speech << " / " << row.yomi;
    }
}

TEST(BuiltInQuestions, ConsistencyCheckCatchesSpeechThatDoesNotReadTheReading) {
    EXPECT_TRUE(SpeechMatchesReading("は'んしはんしょお。", "はんしはんしょう"));
    EXPECT_TRUE(SpeechMatchesReading("せいこおうどく。", "せいこううどく"));
    EXPECT_FALSE(SpeechMatchesReading("はんしはんしょう。", "はんしはんしょお"));  // お is not written う
    EXPECT_FALSE(SpeechMatchesReading("いちご/いちえ。", "いちごいちい"));
    EXPECT_FALSE(SpeechMatchesReading("きお。", "きう"));  // き has no o to lengthen
    EXPECT_FALSE(SpeechMatchesReading("いちごいち。", "いちごいちえ"));
}

// What is wrong with a meaning's speech text, or "" when it is well formed: hiragana
// as pronounced (so never を, which is spoken お), ' right after a mora and at most once
// per accent phrase and never on ん or っ, small ゃゅょ only after a kana of the i column,
// phrases separated by /, pauses 、 and sentence ends 。, closing 。.
std::string MeaningSpeechFault(const std::string& text) {
    if (text.empty()) return "empty";
    if (!text.ends_with("。")) return "does not end with 。";
    static const std::set<std::string> iColumn = {"き", "ぎ", "し", "じ", "ち", "ぢ", "に",
                                                  "ひ", "び", "ぴ", "み", "り"};
    int marks = 0;
    bool moraBefore = false;  // a mora since the last phrase boundary
    std::string previous;
    for (const std::string& c : SplitUtf8Characters(text)) {
        if (c == "/" || c == "、" || c == "。") {
            if (!moraBefore) return "empty accent phrase before " + c;
            marks = 0, moraBefore = false;
        } else if (c == "'") {
            if (!moraBefore) return "accent mark with no mora before it";
            if (previous == "ん" || previous == "っ") return "accent on " + previous;
            if (++marks > 1) return "two accent marks in one accent phrase";
        } else if (c == "を") {
            return "を is spoken お";
        } else if (c == "ゃ" || c == "ゅ" || c == "ょ") {
            if (!iColumn.contains(previous)) return c + " after " + previous;
        } else if (IsHiragana(c)) {
            moraBefore = true;
        } else {
            return "not in the notation: " + c;
        }
        previous = c;
    }
    return "";
}

TEST(BuiltInQuestions, MeaningSpeechCheckCatchesFaults) {
    struct Case { const char* text; bool ok; };
    const Case cases[] = {
        {"いろとり'どりの/はな'が/さきみだれる/こと'。", true},
        {"それわ/さ'ておき。はなし'お/もど'す。", true},
        {"", false},
        {"はな'が/さく", false},             // no closing 。
        {"はな'が/さく'ら。", true},
        {"はな'が'/さく。", false},            // two marks in one phrase
        {"'はなが。", false},                  // mark with no mora
        {"はなが//さく。", false},             // empty phrase
        {"はなが、/さく。", false},
        {"はなお/さく。", true},
        {"はなを/さく。", false},              // particle written, not pronounced
        {"はなが/さくー。", false},            // long-vowel bar is not used
        {"はなが/サク。", false},              // katakana
        {"な'んども/きょ'お。", true},
        {"なん'ども。", false},                // ん cannot carry the accent
        {"いっ'ぽん。", false},
        {"かゅう。", false},                   // ゅ after a kana of the a column
        {"ゃく。", false},
        {"花が/さく。", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MeaningSpeechFault(c.text).empty(), c.ok) << c.text << ": " << MeaningSpeechFault(c.text);
}

TEST(BuiltInQuestions, EveryMeaningHasAWellFormedSpeechText) {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    for (std::size_t q = 0; q < rows.size(); ++q)
        EXPECT_EQ(MeaningSpeechFault(rows[q].meaningSpeech), "")
            << "question " << q << " " << rows[q].jukugo << ": " << rows[q].meaningSpeech;
}

// Words that text analysis reads wrongly or by the wrong context: each meaning's speech
// text must say them as a reader would.
TEST(BuiltInQuestions, MeaningSpeechReadsWordsByContext) {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    struct Case { int q; const char* word; const char* spoken; };
    const Case cases[] = {
        {6, "表", "うらもおもても"},             {16, "獣", "けもの"},
        {28, "後ろ暗い", "うしろぐらい"},        {50, "怒り", "いかり"},
        {75, "二人", "ふたり"},                  {77, "栄え", "さかえ"},
        {81, "一晩", "ひとばん"},                {82, "一人で", "ひとりで"},
        {90, "一人も", "ひとりも"},              {97, "我を", "われお"},
        {99, "四字熟語", "よじじゅくご"},        {100, "四字熟語", "よじじゅくご"},
        {101, "大食い", "おおぐい"},             {124, "墓に入る", "はかにはいる"},
        {125, "長い間", "ながいあいだ"},         {129, "一本", "いっぽん"},
        {136, "大勝負", "おおしょおぶ"},         {139, "者どうし", "ものどおし"},
        {140, "一人で", "ひとりで"},             {155, "開けて", "ひらけて"},
        // 何 before で/の is said なん, and 言う is said ゆう, whatever the spelling.
        {15, "何でも", "なんでも"},              {23, "何の", "なんの"},
        {36, "何の", "なんの"},                  {49, "何でもない", "なんでもない"},
        {11, "言う", "ゆう"},                    {37, "という", "とゆう"},
        {38, "言う", "ゆう"},                    {53, "言う", "ゆう"},
        {106, "言う", "ゆう"},                   {108, "言う", "ゆう"},
        {157, "と言う", "とゆう"},               {165, "言う", "ゆう"},
    };
    for (const Case& c : cases) {
        const BuiltInQuestion& row = rows[c.q];
        EXPECT_NE(row.imi.find(c.word), std::string::npos) << c.q << " " << row.imi;
        std::string spoken;
        for (const std::string& ch : SplitUtf8Characters(row.meaningSpeech))
            if (ch != "'" && ch != "/") spoken += ch;
        EXPECT_NE(spoken.find(c.spoken), std::string::npos) << c.q << " " << c.word << ": " << row.meaningSpeech;
    }
}

// The same two spelling pronunciations anywhere in the table: no accent phrase
// starts with いう (言う is said ゆう) and 何 is never said なに before で or の.
TEST(BuiltInQuestions, NoMeaningIsSaidAsSpelled) {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    for (std::size_t q = 0; q < rows.size(); ++q) {
        std::string phrased;  // marks removed, every phrase opened by a "/"
        for (const std::string& ch : SplitUtf8Characters("/" + rows[q].meaningSpeech))
            if (ch != "'") phrased += (ch == "、" || ch == "。") ? "/" : ch;
        for (const char* slip : {"/いう", "なにで", "なにの"})
            EXPECT_EQ(phrased.find(slip), std::string::npos) << "question " << q << ": " << rows[q].meaningSpeech;
    }
}

TEST(BuiltInQuestions, MeaningsSayWhoAndWhichFormIsUsual) {
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    ASSERT_EQ(rows.size(), 170u);
    struct Case { int q; const char *jukugo, *said, *spoken; };
    const Case cases[] = {
        {163, "眉目秀麗", "主に男性に使う", "お'もに/だんせいに/つかう。"},
        {146, "才色兼備", "主に女性に使う", "お'もに/じょせいに/つかう。"},
        {157, "即決即断", "普通は即断即決と言う", "ふつうわ/そくだんそ'っけつと/ゆう。"},
    };
    for (const Case& c : cases) {
        const BuiltInQuestion& row = rows[c.q];
        EXPECT_EQ(row.jukugo, c.jukugo);
        EXPECT_TRUE(row.imi.ends_with(c.said)) << row.imi;
        EXPECT_TRUE(row.meaningSpeech.ends_with(c.spoken)) << row.meaningSpeech;
    }
}

TEST(QuestionTableParser, TakesRowsOfFiveFieldsAndSkipsOthers) {
    const std::string tsv =
        "idiom\treading\tspeech\tmeaning\tmeaning_speech\n"
        "一期一会\tいちごいちえ\tいちご/いち'え。\t生涯に一度限りの出会い\tしょ'おがいに/いち'ど。\n"
        "四字熟語\tよじじゅくご\tよじじゅ'くご。\t四つの字\n"                    // four fields
        "温故知新\tおんこちしん\tおんこちしん。\t昔\tむかし。\textra\n"          // six fields
        "以心伝心\tいしんでんしん\tいしんでんしん。\t言葉にしなくても\tことば'に/しなくても。";
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(tsv);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].jukugo, "一期一会");
    EXPECT_EQ(rows[0].imi, "生涯に一度限りの出会い");
    EXPECT_EQ(rows[0].meaningSpeech, "しょ'おがいに/いち'ど。");
    EXPECT_EQ(rows[1].speech, "いしんでんしん。");
    EXPECT_EQ(rows[1].meaningSpeech, "ことば'に/しなくても。");
}

TEST(QuestionNumbers, BuiltInFirstThenAdditionalThenNothing) {
    QuestionBank bank;
    EXPECT_EQ(bank.At(170).number, -1);  // no additional question yet
    bank.SetAdditional({{"一攫千金", "いっかくせんきん", "大もうけ", ""}, {"花鳥風月", "かちょうふうげつ", "自然", ""}});
    struct Case { int q; const char* idiom; bool additional; };
    const Case cases[] = {{0, "挙措進退", false}, {169, "晴耕雨読", false}, {170, "一攫千金", true},
                          {171, "花鳥風月", true}, {172, "", false}, {-1, "", false}, {1000000, "", false}};
    for (const Case& c : cases) {
        const Question& question = bank.At(c.q);
        EXPECT_EQ(question.Jukugo, c.idiom) << c.q;
        EXPECT_EQ(question.additional, c.additional) << c.q;
        EXPECT_EQ(question.number, *c.idiom ? c.q : -1) << c.q;
    }
    EXPECT_EQ(bank.Append({"大器晩成", "たいきばんせい", "遅れて大成する", ""}), 172);
    bank.SetAdditional({});
    EXPECT_EQ(bank.Count(), kBuiltInQuestions);
}

// ---- The player's file of additional questions ----

class AdditionalQuestionFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("teramon_qb_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        for (const BuiltInQuestion& row : ParseQuestionTable(kBuiltInQuestionTable)) builtIn_.insert(row.jukugo);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::optional<std::vector<AdditionalQuestion>> Load(const std::string& bytes) {
        const std::filesystem::path path = dir_ / "NewTuikamondai.txt";
        std::ofstream(path, std::ios::binary) << bytes;
        return ReadAdditionalQuestionFile(path.string(), [this](std::string_view idiom) {
            return builtIn_.count(std::string(idiom)) > 0;
        });
    }

    // 17 header lines (which look like a question, to show they are never read)
    // followed by the body, encoded in code page 932.
    static std::string FileOf(const std::vector<std::string>& body, const std::string& lineEnd = "\r\n") {
        std::string text;
        for (int i = 0; i < kAdditionalHeaderLines; ++i) text += (i % 3 == 0 ? "一攫千金" : "header") + lineEnd;
        for (const std::string& line : body) text += line + lineEnd;
        return *Utf8ToCp932(text);
    }

    static std::vector<std::string> Idioms(const std::vector<AdditionalQuestion>& questions) {
        std::vector<std::string> idioms;
        for (const AdditionalQuestion& q : questions) idioms.push_back(q.jukugo);
        return idioms;
    }

    std::filesystem::path dir_;
    std::set<std::string> builtIn_;
};

TEST_F(AdditionalQuestionFile, ReadsGroupsOfIdiomReadingMeaning) {
    const auto loaded = Load(FileOf({"  一攫千金\t", "いっかくせんきん", "一度に大もうけすること", "", "花鳥風月",
                                     "かちょうふうげつ", "自然の美しい風景"}));
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->size(), 2u);
    const AdditionalQuestion& first = (*loaded)[0];
    EXPECT_EQ(first.jukugo, "一攫千金");
    EXPECT_EQ(first.yomi, "いっかくせんきん");
    EXPECT_EQ(first.imi, "一度に大もうけすること");
    EXPECT_EQ(first.speakMoji, *Utf8ToCp932("いっかくせんきん"));
    EXPECT_EQ((*loaded)[1].jukugo, "花鳥風月");
}

TEST_F(AdditionalQuestionFile, EdgeCasesOfCountingGroupingAndIdioms) {
    const std::string kA = "一攫千金", kB = "花鳥風月";
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> idioms;
    };
    const Case cases[] = {
        {"19 lines: too short", FileOf({kA, "よみ"}), {}},
        {"20 lines: one group", FileOf({kA, "よみ", "いみ"}), {kA}},
        {"blank lines inside a group", FileOf({kA, "", " \t", "よみ", "", "いみ"}), {kA}},
        {"fourth line dropped", FileOf({kA, "よみ", "いみ", kB}), {kA}},
        {"trailing partial group dropped", FileOf({kA, "よみ", "いみ", kB, "よみ"}), {kA}},
        {"3-character idiom skips its group only", FileOf({"一攫千", "よみ", "いみ", kB, "よみ", "いみ"}), {kB}},
        {"5-character idiom skips its group only", FileOf({"一攫千金!", "よみ", "いみ", kB, "よみ", "いみ"}), {kB}},
        {"built-in idiom rejected", FileOf({"温故知新", "おんこちしん", "いみ", kB, "よみ", "いみ"}), {kB}},
        {"built-in idiom with trailing spaces rejected", FileOf({"温故知新   ", "よみ", "いみ"}), {}},
        {"leading ideographic space kept", FileOf({"\u3000故知新", "よみ", "いみ"}), {"\u3000故知新"}},
        {"same idiom twice is taken twice", FileOf({kA, "よみ", "いみ", kA, "よみ", "いみ"}), {kA, kA}},
        {"CR-only line ends", FileOf({kA, "よみ", "いみ"}, "\r"), {kA}},
        {"LF-only line ends", FileOf({kA, "よみ", "いみ"}, "\n"), {kA}},
        {"no line end after the last line", FileOf({kA, "よみ", "いみ"}).substr(0, FileOf({kA, "よみ", "いみ"}).size() - 2), {kA}},
        {"undecodable bytes", FileOf({kA, "よみ", "いみ"}) + "\x82", {}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        const auto loaded = Load(c.bytes);
        ASSERT_TRUE(loaded) << c.what;
        EXPECT_EQ(Idioms(*loaded), c.idioms) << c.what;
    }
}

TEST_F(AdditionalQuestionFile, MissingOrUnreadableFile) {
    const auto isBuiltIn = [](std::string_view) { return false; };
    EXPECT_FALSE(ReadAdditionalQuestionFile((dir_ / "NewTuikamondai.txt").string(), isBuiltIn));

    std::filesystem::create_directory(dir_ / "NewTuikamondai.txt");
    const auto loaded = ReadAdditionalQuestionFile((dir_ / "NewTuikamondai.txt").string(), isBuiltIn);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->empty());
}

TEST(QuestionTemplate, ShippedTemplateHasHeaderAndExampleQuestions) {
    std::ifstream file(std::string(TERAMON_SOURCE_DIR) + "/Data/tuikamondai.txt", std::ios::binary);
    ASSERT_TRUE(file);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::optional<std::string> text = Cp932ToUtf8(bytes);
    ASSERT_TRUE(text) << "not code page 932";
    for (std::size_t i = 0; i < text->size(); ++i) {
        if ((*text)[i] == '\n') {
            EXPECT_TRUE(i > 0 && (*text)[i - 1] == '\r') << "bare LF at byte " << i;
        }
    }

    std::set<std::string> builtIn;
    for (const BuiltInQuestion& row : ParseQuestionTable(kBuiltInQuestionTable)) builtIn.insert(row.jukugo);
    const std::vector<AdditionalQuestion> examples =
        ParseAdditionalQuestions(*text, [&](std::string_view idiom) { return builtIn.count(std::string(idiom)) > 0; });
    EXPECT_GE(examples.size(), 2u);
    EXPECT_LE(examples.size(), 3u);
    for (const AdditionalQuestion& q : examples) {
        for (const std::string& c : SplitUtf8Characters(q.yomi)) EXPECT_TRUE(IsHiragana(c)) << q.yomi;
        EXPECT_FALSE(q.imi.empty());
    }
    // Every non-blank line after the header belongs to an example.
    std::size_t bodyLines = 0;
    const std::vector<std::string_view> lines = SplitLines(*text);
    for (std::size_t i = kAdditionalHeaderLines; i < lines.size(); ++i)
        bodyLines += !TrimSpacesAndControls(lines[i]).empty();
    EXPECT_EQ(bodyLines, examples.size() * 3);
}

// ---- The main window's question bank ----

TEST(MainWindowQuestionBank, StartUpFillsTheBankAndEveryLookupFollowsTheQuestionNumberRule) {
    game_test::GameFixture game;
    TForm1& g = game.f();
    EXPECT_EQ(g.Questions().At(68).Jukugo, "温故知新");
    EXPECT_EQ(g.Questions().At(109).Yomi, "いちごいちえ");
    EXPECT_EQ(g.Questions().At(2).Imi, "今にも死にそうなこと");
    EXPECT_EQ(g.Questions().At(2).SpeakMoji, *Utf8ToCp932("は'んしはんしょお。"));
    EXPECT_EQ(g.Questions().At(169).Jukugo, "晴耕雨読");
    EXPECT_EQ(g.Questions().TuikaJukugos(), 0);
    for (int q : {-1, 170, 5000}) {
        EXPECT_EQ(g.Questions().At(q).Jukugo, "") << q;
        EXPECT_EQ(g.Questions().At(q).SpeakMoji, "") << q;
    }

    std::filesystem::create_directories(std::filesystem::path(game.DataFile("")));
    const auto writeFile = [&](const std::string& bytes) {
        std::ofstream(game.DataFile("NewTuikamondai.txt"), std::ios::binary) << bytes;
    };
    std::string text;
    for (int i = 0; i < kAdditionalHeaderLines; ++i) text += "header\r\n";
    text += "温故知新\r\nおんこちしん\r\n built-in \r\n一攫千金\r\nいっかくせんきん\r\n大もうけ\r\n";
    writeFile(*Utf8ToCp932(text));
    g.LoadAdditionalQuestions();
    ASSERT_EQ(g.Questions().TuikaJukugos(), 1);
    EXPECT_EQ(g.Questions().At(170).Jukugo, "一攫千金");
    EXPECT_EQ(g.Questions().At(170).Yomi, "いっかくせんきん");
    EXPECT_EQ(g.Questions().At(170).Imi, "大もうけ");
    EXPECT_EQ(g.Questions().At(170).SpeakMoji, *Utf8ToCp932("いっかくせんきん"));
    EXPECT_EQ(g.GameProgress().AdditionalQuestionCount(), 1);
    EXPECT_FALSE(g.GameProgress().IsDealt(170));
    EXPECT_EQ(g.Questions().At(171).Jukugo, "");

    game.Set().Record([](TDataRec& r) {
        for (int k = 0; const int q : {170, 0, 141, 999}) r.MondaiNo[k++] = q;
        for (int k = 0; const int p : {2, 0, 3, 1}) r.UnVisibleMojiNo[k++] = p;
    });
    EXPECT_EQ(g.SlotCharacter(0), "千");
    EXPECT_EQ(g.SlotCharacter(1), "挙");
    EXPECT_EQ(g.SlotCharacter(2), "々");
    EXPECT_EQ(g.SlotCharacter(3), "");  // no such question
    EXPECT_EQ(g.SlotCharacter(4), "");  // no such slot

    // A file that cannot be decoded leaves no additional question behind.
    writeFile(*Utf8ToCp932(text) + "\x82");
    g.LoadAdditionalQuestions();
    EXPECT_EQ(g.Questions().TuikaJukugos(), 0);
    EXPECT_EQ(g.Questions().At(170).Jukugo, "");
}

}  // namespace
