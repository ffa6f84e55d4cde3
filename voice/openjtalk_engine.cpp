#include "voice/speech_synthesizer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "voice/child_process.h"
#include "voice/speech_text.h"

namespace fs = std::filesystem;

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindOpenJTalkProgram() {
    if (const char* path = std::getenv("PATH")) {
        std::istringstream dirs(path);
        for (std::string dir; std::getline(dirs, dir, ':');) {
            if (dir.empty()) continue;
            std::string candidate = dir + "/open_jtalk";
            if (IsExecutableFile(candidate)) return candidate;
        }
    }
    return IsExecutableFile("/usr/bin/open_jtalk") ? "/usr/bin/open_jtalk" : std::string();
}

OpenJTalkEngine::OpenJTalkEngine(const std::string& enginePath, const std::string& dictionaryDir,
                                 std::chrono::milliseconds timeout)
    : engine_(enginePath.empty() ? FindOpenJTalkProgram() : enginePath),
      dictionary_(dictionaryDir),
      timeout_(timeout) {
    bool engineOk = IsExecutableFile(engine_);
    if (!engineOk) {
        std::fprintf(stderr, "speech: the open_jtalk program %s is missing; speech is off\n",
                     enginePath.empty() ? "(PATH, /usr/bin)" : enginePath.c_str());
    }
    std::error_code ec;
    bool dictionaryOk = fs::is_regular_file(fs::path(dictionary_) / "sys.dic", ec);
    if (!dictionaryOk) {
        std::fprintf(stderr, "speech: the dictionary %s is missing; speech is off\n",
                     dictionary_.c_str());
    }
    ready_ = engineOk && dictionaryOk;
}

OpenJTalkEngine::~OpenJTalkEngine() = default;

std::optional<SpeechPcm> OpenJTalkEngine::Synthesize(const std::string& voiceFile,
                                                     const std::string& utf8Line, double rate,
                                                     const std::atomic<bool>& cancel) {
    if (!ready_ || utf8Line.empty()) return std::nullopt;
    // Text and sound pass through memory: nothing to clear up after a crash,
    // and no stale WAV can pass for this one.
    MemoryFile text("teramon2-text"), wav("teramon2-wav");
    // The program finds its own accents and phrases; marks would be read out.
    if (!text.Write(NotationToOpenJTalkText(utf8Line) + "\n") || !wav.Ok()) return std::nullopt;

    // Formatted by hand: a locale with a decimal comma must not change the argument.
    long hundredths = std::lround(rate * 100);
    char rateText[24];
    std::snprintf(rateText, sizeof rateText, "%ld.%02ld", hundredths / 100, hundredths % 100);
    ChildResult run = RunChild({engine_, "-x", dictionary_, "-m", voiceFile, "-r", rateText,
                                "-ow", MemoryFile::kChildPath},
                               text.Fd(), wav.Fd(), timeout_, cancel);
    if (run.outcome != ChildOutcome::Exited || run.exitCode != 0) return std::nullopt;
    return DecodeWav(wav.Read());
}
