// teramon2-accent-report: says every built-in idiom in both voices and reports
// how many fall where their accent mark says, heard on the synthesised sound.
//   teramon2-accent-report [--voices-own-pitch]
// --voices-own-pitch leaves the voices' pitch as they generate it (for a
// before/after comparison).
#include <cstdio>
#include <string>
#include <vector>

#include "game/question_table.h"
#include "platform/user_folders.h"
#include "voice/accent_check.h"
#include "voice/hts_voice.h"
#include "voice/openjtalk_speech.h"

namespace {

// Ten idioms whose accents a listener checks first.
constexpr int kListenedFirst[] = {0, 2, 3, 4, 5, 7, 8, 9, 11, 12};

std::string Verdict(const std::vector<PhraseHeard>& phrases) {
    std::string s;
    for (const PhraseHeard& h : phrases) {
        if (!s.empty()) s += " / ";
        s += h.accent > 0 ? "mark " + std::to_string(h.accent) + ": " +
                                (h.fallHeard ? "falls" : "no fall") + (h.earlyFall ? ", early fall" : "")
                          : std::string(h.earlyFall ? "unmarked: early fall" : "unmarked: level");
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const bool ownPitch = argc > 1 && std::string(argv[1]) == "--voices-own-pitch";
    const std::vector<BuiltInQuestion> rows = ParseQuestionTable(kBuiltInQuestionTable);
    const char* names[] = {"female", "male"};
    int status = 0;
    for (int v = 0; v < 2; ++v) {
        HtsVoice voice;
        if (!voice.Load(OpenJTalkSpeech::VoiceFile(ProgramFolder(), v))) {
            std::fprintf(stderr, "accent report: the %s voice is missing\n", names[v]);
            status = 1;
            continue;
        }
        voice.SetAccentShaping(!ownPitch);
        int marked = 0, markedRight = 0, unmarked = 0, unmarkedRight = 0;
        std::vector<std::string> misses, firstTen;
        for (size_t q = 0; q < rows.size(); ++q) {
            auto heard = SayAndHear(voice, rows[q].speech, 1.0);
            if (!heard) {
                misses.push_back(std::to_string(q) + " " + rows[q].jukugo + ": not said");
                continue;
            }
            const IdiomHeard idiom = JudgeIdiom(*heard);
            (idiom.marked ? marked : unmarked)++;
            if (idiom.right) (idiom.marked ? markedRight : unmarkedRight)++;
            const std::string line = std::to_string(q) + " " + rows[q].jukugo + " " + rows[q].speech + "  " +
                                     (idiom.right ? "right" : "WRONG") + "  (" + Verdict(*heard) + ")";
            if (!idiom.right) misses.push_back(line);
            for (int f : kListenedFirst)
                if (f == static_cast<int>(q)) firstTen.push_back(line);
        }
        std::printf("%s voice%s: marked idioms falling where marked %d of %d; unmarked idioms without an early fall %d of %d\n",
                    names[v], ownPitch ? " (own pitch)" : "", markedRight, marked, unmarkedRight, unmarked);
        std::printf("  the ten listened to first:\n");
        for (const std::string& l : firstTen) std::printf("    %s\n", l.c_str());
        std::printf("  not as marked:\n");
        for (const std::string& l : misses) std::printf("    %s\n", l.c_str());
    }
    return status;
}
