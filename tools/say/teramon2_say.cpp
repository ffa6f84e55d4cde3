// teramon2-say: speaks a text the way the game does, for question authors and
// checks.
//   teramon2-say [--voice N] [--speed N] [--wav OUT.wav] [--labels] TEXT
//   teramon2-say [--voice N] [--speed N] [--wav OUT.wav] [--labels] --question N
// N of --voice is a row of the voices table (voice/voices.h): 0 female, 1 male.
// TEXT is UTF-8 in our notation (ordinary Japanese is analysed by Open JTalk);
// --question N speaks built-in question N's correct-answer text (idiom, then
// meaning). --labels prints the full-context labels, one per line, instead of
// sound; --wav writes the sound to a file instead of playing it.
#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "game/question_table.h"
#include "platform/sdl/real_clock.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/user_folders.h"
#include "tools/say/say_options.h"
#include "voice/notation_synthesizer.h"
#include "voice/openjtalk_speech.h"

namespace {

int Usage() {
    std::fputs(SayUsage().c_str(), stderr);
    return 2;
}

// What the game says after a correct answer to a built-in question: its speech
// text, a stop, then its meaning's speech text.
std::string AnswerSpeech(const BuiltInQuestion& q) { return q.speech + "。" + q.meaningSpeech; }

}  // namespace

int main(int argc, char** argv) {
    const std::optional<SayOptions> options = ParseSayOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) return Usage();
    const int voice = options->voice, speed = options->speed;
    const std::string& wavFile = options->wavFile;
    const bool labels = options->labels;
    const std::optional<int> question = options->question;
    std::string text = options->text;

    if (question) {
        std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
        if (*question < 0 || *question >= static_cast<int>(rows.size())) {
            std::fprintf(stderr, "teramon2-say: there is no built-in question %d (0..%zu)\n", *question,
                         rows.size() - 1);
            return 2;
        }
        text = AnswerSpeech(rows[*question]);
    }

    const std::string voiceFile = OpenJTalkSpeech::VoiceFile(ProgramFolder(), voice);
    const OpenJTalkSetup setup;
    NotationSynthesizer synthesizer(setup.engine, setup.dictionary, setup.timeout);
    std::atomic<bool> cancel{false};

    if (labels) {
        std::vector<LabelRun> runs = synthesizer.Labels(voiceFile, text, cancel);
        if (runs.empty()) {
            std::fprintf(stderr, "teramon2-say: nothing to say\n");
            return 1;
        }
        for (const LabelRun& run : runs)
            for (const std::string& line : run.labels) std::printf("%s\n", line.c_str());
        return 0;
    }

    std::optional<SpeechPcm> pcm = synthesizer.Synthesize(voiceFile, text, speed / 100.0, cancel);
    if (!pcm) {
        std::fprintf(stderr, "teramon2-say: no speech (voice %s missing, or nothing to say)\n",
                     voiceFile.c_str());
        return 1;
    }
    if (!wavFile.empty()) {
        std::ofstream out(wavFile, std::ios::binary | std::ios::trunc);
        out << EncodeWav(*pcm);
        if (!out.flush()) {
            std::fprintf(stderr, "teramon2-say: cannot write %s\n", wavFile.c_str());
            return 1;
        }
        return 0;
    }
    RealClock clock;
    SdlAudio audio(clock);
    audio.PlaySpeech(pcm->samples.data(), pcm->samples.size(), pcm->sampleRate);
    SDL_Delay(static_cast<Uint32>(pcm->samples.size() * 1000 / pcm->sampleRate + 200));
    return 0;
}
