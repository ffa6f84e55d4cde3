// OpenJTalkSpeech with stand-in engines: shell scripts run through the real
// process runner (voice choice, failures, hangs) and an in-process synthesiser
// for the order of utterances and the cache.
#include "voice/openjtalk_speech.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text_codec.h"
#include "tests/test_support/capturing_speech_sink.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string Cp932(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

SpeechPcm Tone(size_t count) {
    SpeechPcm pcm;
    pcm.sampleRate = 48000;
    for (size_t i = 0; i < count; ++i) pcm.samples.push_back(static_cast<int16_t>((i % 100) * 100));
    return pcm;
}

// A program folder with both voice files, a dictionary folder, and engine scripts
// that log their voice file, rate and text and write a prepared WAV.
class FakeEngineFolder : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("teramon2-voice-test-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog/f1");
        fs::create_directories(root_ / "prog/m1");
        fs::create_directories(root_ / "dic");
        WriteAll(root_ / "prog/f1/voice.htsvoice", "female");
        WriteAll(root_ / "prog/m1/voice.htsvoice", "male");
        WriteAll(root_ / "dic/sys.dic", "dic");
        WriteAll(root_ / "reference.wav", EncodeWav(Tone(4800)));
    }
    void TearDown() override { fs::remove_all(root_); }

    // `action` runs after the arguments are parsed: $voice $rate $out are set.
    std::string Engine(const std::string& name, const std::string& action) {
        fs::path script = root_ / name;
        std::ofstream(script) << "#!/bin/sh\n"
                                 "while [ $# -gt 0 ]; do case \"$1\" in\n"
                                 "  -m) voice=$2; shift;; -r) rate=$2; shift;;\n"
                                 "  -ow) out=$2; shift;; -x) shift;; esac; shift; done\n"
                                 "text=$(cat)\n"
                                 "printf '%s|%s|%s\\n' \"$voice\" \"$rate\" \"$text\" >> '"
                              << (root_ / "engine.log").string() << "'\n"
                              << action << "\n";
        fs::permissions(script, fs::perms::owner_all);
        return script.string();
    }
    std::string WritesReference() { return "cp '" + (root_ / "reference.wav").string() + "' \"$out\""; }

    OpenJTalkSetup Setup(const std::string& engine) {
        OpenJTalkSetup s;
        s.inProcess = false;  // the stand-in scripts play the open_jtalk program
        s.programFolder = (root_ / "prog").string();
        s.engine = engine;
        s.dictionary = (root_ / "dic").string();
        return s;
    }
    std::vector<std::string> EngineLog() {
        std::vector<std::string> lines;
        std::istringstream in(ReadAll(root_ / "engine.log"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::string Voice(const char* folder) { return (root_ / "prog" / folder / "voice.htsvoice").string(); }

    fs::path root_;
    CapturingSpeechSink sink_;
};

TEST_F(FakeEngineFolder, TheVoiceIsChosenAtEachCallAndTheTextIsCleanedForTheEngine) {
    OpenJTalkSpeech speech(Setup(Engine("engine.sh", WritesReference())), sink_);
    ASSERT_TRUE(speech.VoiceAvailable(0));
    ASSERT_TRUE(speech.VoiceAvailable(1));

    speech.Speak(0, Cp932("おつかれさまでした。またがんば'ってね。"), 110);
    ASSERT_TRUE(sink_.WaitFor(1, 5s));
    speech.Speak(1, Cp932("また/がんば'ろお。\r\nにぎょうめ"), 100);
    ASSERT_TRUE(sink_.WaitFor(2, 5s));

    std::vector<std::string> expected = {
        Voice("f1") + "|1.10|おつかれさまでした。またがんばってね。",
        Voice("m1") + "|1.00|またがんばろお。",
    };
    EXPECT_EQ(EngineLog(), expected);
    auto played = sink_.played();
    EXPECT_EQ(played[0].samples, Tone(4800).samples);
    EXPECT_EQ(played[0].sampleRate, 48000);
}

TEST_F(FakeEngineFolder, MissingPiecesAndUnknownVoicesAreSilent) {
    std::string engine = Engine("engine.sh", WritesReference());
    {
        OpenJTalkSpeech speech(Setup((root_ / "no-such-engine").string()), sink_);
        EXPECT_FALSE(speech.VoiceAvailable(0));
        EXPECT_FALSE(speech.VoiceAvailable(1));
        speech.Speak(0, Cp932("あ。"), 100);
        speech.Prepare(0, Cp932("い。"), 100);
    }
    {
        OpenJTalkSetup setup = Setup(engine);
        setup.dictionary = (root_ / "no-such-dictionary").string();
        OpenJTalkSpeech speech(setup, sink_);
        EXPECT_FALSE(speech.VoiceAvailable(0));
        speech.Speak(0, Cp932("あ。"), 100);
    }
    fs::remove(root_ / "prog/m1/voice.htsvoice");
    {
        OpenJTalkSpeech speech(Setup(engine), sink_);
        EXPECT_TRUE(speech.VoiceAvailable(0));
        EXPECT_FALSE(speech.VoiceAvailable(1));
        EXPECT_FALSE(speech.VoiceAvailable(2));
        EXPECT_FALSE(speech.VoiceAvailable(-1));
        for (int voice : {1, 2, -1}) speech.Speak(voice, Cp932("あ。"), 100);
        speech.Speak(0, "\x82", 100);  // broken code page 932: nothing to say
        speech.Speak(0, Cp932("'/"), 100);  // nothing left once the marks are gone
        EXPECT_TRUE(speech.WaitUntilIdle(5s));
    }
    EXPECT_EQ(sink_.count(), 0u);
    EXPECT_TRUE(EngineLog().empty());
}

TEST_F(FakeEngineFolder, AnEngineThatFailsIsSilent) {
    struct Case { const char* what; std::string action; } cases[] = {
        {"exit status 1", WritesReference() + "; exit 1"},
        {"no WAV", "exit 0"},
        {"WAV header only", "head -c 44 '" + (root_ / "reference.wav").string() + "' > \"$out\""},
        {"not a WAV", "echo hello > \"$out\""},
        {"killed by a signal", WritesReference() + "; kill -9 $$"},
    };
    int n = 0;
    for (const auto& c : cases) {
        OpenJTalkSpeech speech(Setup(Engine("engine" + std::to_string(n++) + ".sh", c.action)), sink_);
        speech.Speak(0, Cp932("あ。"), 100);
        EXPECT_TRUE(speech.WaitUntilIdle(5s)) << c.what;
        EXPECT_EQ(sink_.count(), 0u) << c.what;
    }
    EXPECT_EQ(EngineLog().size(), std::size(cases));  // each engine did run
}

TEST_F(FakeEngineFolder, AHangingEngineIsKilledAtTheTimeoutWithoutHoldingTheCaller) {
    fs::path pidFile = root_ / "engine.pid";
    OpenJTalkSetup setup =
        Setup(Engine("hang.sh", "echo $$ > '" + pidFile.string() + "'; exec sleep 30"));
    setup.timeout = 300ms;
    OpenJTalkSpeech speech(setup, sink_);

    auto before = Clock::now();
    speech.Speak(0, Cp932("あ。"), 100);
    EXPECT_LT(Clock::now() - before, 20ms);

    ASSERT_TRUE(speech.WaitUntilIdle(3s));
    auto settled = Clock::now() - before;
    EXPECT_GE(settled, 300ms);
    EXPECT_LT(settled, 1500ms);
    pid_t pid = std::stoi(ReadAll(pidFile));
    EXPECT_NE(kill(pid, 0), 0) << "the engine still runs";
    EXPECT_EQ(sink_.count(), 0u);
}

TEST_F(FakeEngineFolder, ShuttingDownKillsARunningEngineAtOnce) {
    fs::path pidFile = root_ / "engine.pid";
    OpenJTalkSetup setup =
        Setup(Engine("hang.sh", "echo $$ > '" + pidFile.string() + "'; exec sleep 30"));
    auto speech = std::make_unique<OpenJTalkSpeech>(setup, sink_);  // 5 s timeout
    speech->Speak(1, Cp932("あ。"), 100);
    for (int i = 0; i < 200 && ReadAll(pidFile).empty(); ++i) std::this_thread::sleep_for(10ms);

    auto before = Clock::now();
    speech.reset();
    EXPECT_LT(Clock::now() - before, 1s);
    pid_t pid = std::stoi(ReadAll(pidFile));
    EXPECT_NE(kill(pid, 0), 0) << "the engine still runs";
}

// Synthesises in-process; each call waits until the test opens the gate.
class GatedSynthesizer : public SpeechSynthesizer {
public:
    bool Ready() const override { return true; }
    std::optional<SpeechPcm> Synthesize(const std::string&, const std::string& line, double,
                                        const std::atomic<bool>& cancel) override {
        std::unique_lock lock(mutex_);
        calls.push_back(line);
        started_.notify_all();
        gate_.wait(lock, [&] { return open_ || cancel.load(); });
        return Tone(100 * line.size());  // the length tells the utterances apart
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        gate_.notify_all();
    }
    void Close() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }
    void WaitStarted(size_t n) {
        std::unique_lock lock(mutex_);
        started_.wait_for(lock, 5s, [&] { return calls.size() >= n; });
    }
    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        return calls;
    }

private:
    std::mutex mutex_;
    std::condition_variable gate_, started_;
    bool open_ = false;
    std::vector<std::string> calls;
};

TEST_F(FakeEngineFolder, ANewerUtteranceReplacesOnesNotYetPlayed) {
    auto owned = std::make_unique<GatedSynthesizer>();
    GatedSynthesizer& synth = *owned;
    OpenJTalkSpeech speech(Setup(""), sink_, std::move(owned));

    speech.Speak(0, Cp932("あ。"), 100);
    synth.WaitStarted(1);
    speech.Speak(0, Cp932("いい。"), 100);   // pending, never made
    speech.Speak(0, Cp932("ううう。"), 100);  // the one that is heard
    synth.Open();
    ASSERT_TRUE(speech.WaitUntilIdle(5s));

    EXPECT_EQ(synth.Calls(), (std::vector<std::string>{"あ。", "ううう。"}));
    auto played = sink_.played();
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].samples.size(), 100 * std::string("ううう。").size());
}

TEST_F(FakeEngineFolder, PreparedUtterancesStartWithinTheSpeakCall) {
    auto owned = std::make_unique<GatedSynthesizer>();
    GatedSynthesizer& synth = *owned;
    OpenJTalkSetup setup = Setup("");
    setup.cacheEntries = 2;
    OpenJTalkSpeech speech(setup, sink_, std::move(owned));

    speech.Prepare(0, Cp932("あ。"), 100);
    synth.WaitStarted(1);
    // Asked for while it is being made: played when ready, not made twice.
    speech.Speak(0, Cp932("あ。"), 100);
    synth.Open();
    ASSERT_TRUE(sink_.WaitFor(1, 5s));

    speech.Prepare(1, Cp932("あ。"), 100);  // another voice is another utterance
    speech.Prepare(0, Cp932("あ。"), 110);  // so is another speed
    ASSERT_TRUE(speech.WaitUntilIdle(5s));
    EXPECT_EQ(synth.Calls().size(), 3u);

    speech.Speak(0, Cp932("あ。"), 110);
    EXPECT_EQ(sink_.count(), 2u) << "a prepared utterance is handed over inside Speak";
    speech.Speak(1, Cp932("あ。"), 100);
    EXPECT_EQ(sink_.count(), 3u);

    // Only two are kept: the least recently used (voice 0 at 100) was dropped,
    // so it is made again (held at the gate until the count has been read).
    synth.Close();
    speech.Speak(0, Cp932("あ。"), 100);
    EXPECT_EQ(sink_.count(), 3u);
    synth.Open();
    ASSERT_TRUE(sink_.WaitFor(4, 5s));
    EXPECT_EQ(synth.Calls().size(), 4u);
}

}  // namespace

namespace {

// Asking again for an utterance already made keeps it as the most recently
// wanted, so that phrases asked for at every deal outlive many boards.
TEST_F(FakeEngineFolder, PreparingAgainKeepsAnUtteranceFromBeingDropped) {
    auto owned = std::make_unique<GatedSynthesizer>();
    GatedSynthesizer& synth = *owned;
    synth.Open();
    OpenJTalkSetup setup = Setup("");
    setup.cacheEntries = 2;
    OpenJTalkSpeech speech(setup, sink_, std::move(owned));

    speech.Prepare(0, Cp932("あ。"), 110);
    speech.Prepare(0, Cp932("いい。"), 100);
    ASSERT_TRUE(speech.WaitUntilIdle(5s));
    speech.Prepare(0, Cp932("あ。"), 110);   // kept: now the most recently wanted
    speech.Prepare(0, Cp932("ううう。"), 100);  // pushes out いい, not あ
    ASSERT_TRUE(speech.WaitUntilIdle(5s));
    EXPECT_EQ(synth.Calls().size(), 3u);

    speech.Speak(0, Cp932("あ。"), 110);
    EXPECT_EQ(sink_.count(), 1u) << "still made ahead";
    speech.Speak(0, Cp932("いい。"), 100);
    ASSERT_TRUE(sink_.WaitFor(2, 5s));
    EXPECT_EQ(synth.Calls().size(), 4u) << "the dropped one is made again";
}

}  // namespace
