// What the game hands to the Open JTalk program and takes back passes through
// memory: a game killed in the middle leaves nothing in the temporary folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "voice/openjtalk_labels.h"
#include "voice/speech_synthesizer.h"
#include "voice/wav_data.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class ScratchFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("teramon2-scratch-test-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "tmp");
        fs::create_directories(root_ / "dic");
        std::ofstream(root_ / "dic/sys.dic") << "dic";
        SpeechPcm tone;
        tone.sampleRate = 48000;
        tone.samples.assign(4800, 1000);
        std::ofstream(root_ / "reference.wav", std::ios::binary) << EncodeWav(tone);
        // Stands in for open_jtalk: the trace names the text it read, the sound
        // is a prepared WAV.
        engine_ = (root_ / "engine.sh").string();
        std::ofstream(engine_) << "#!/bin/sh\n"
                                  "while [ $# -gt 0 ]; do case \"$1\" in\n"
                                  "  -ot) trace=$2; shift;; -ow) out=$2; shift;;\n"
                                  "  -x|-m|-r) shift;; esac; shift; done\n"
                                  "text=$(cat)\n"
                                  "[ -n \"$trace\" ] && printf '[Output label]\\n0 1 read:%s\\n\\n' \"$text\" > \"$trace\"\n"
                                  "cp '" << (root_ / "reference.wav").string() << "' \"$out\"\n";
        fs::permissions(engine_, fs::perms::owner_all);
        const char* tmp = std::getenv("TMPDIR");
        oldTmp_ = tmp ? tmp : "";
        hadTmp_ = tmp != nullptr;
        setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp_)
            setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            unsetenv("TMPDIR");
        fs::remove_all(root_);
    }

    fs::path root_;
    std::string engine_, oldTmp_;
    bool hadTmp_ = false;
};

TEST_F(ScratchFilesTest, AKilledGameLeavesNothingBehind) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t game = fork();
    ASSERT_GE(game, 0);
    if (game == 0) {
        std::atomic<bool> cancel{false};
        OpenJTalkLabeler labeler(engine_, (root_ / "dic").string(), 5s);
        OpenJTalkEngine engine(engine_, (root_ / "dic").string(), 5s);
        const auto labels = labeler.Labels("一人で待つ", "voice", cancel);
        const auto pcm = engine.Synthesize("voice", "いちご/いち'え", 1.0, cancel);
        const bool ok = labels && *labels == std::vector<std::string>{"read:一人で待つ"} && pcm &&
                        pcm->samples.size() == 4800;
        const char c = ok ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        for (;;) pause();  // killed while both hold whatever they made
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y') << "the text went in and the trace and sound came back";
    kill(game, SIGKILL);
    waitpid(game, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(root_ / "tmp")) left.push_back(entry.path().filename());
    EXPECT_TRUE(left.empty()) << left.front();
}

}  // namespace
