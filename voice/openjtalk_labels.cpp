#include "voice/openjtalk_labels.h"

#include <filesystem>
#include <sstream>

#include "voice/child_process.h"
#include "voice/speech_synthesizer.h"

namespace fs = std::filesystem;

OpenJTalkLabeler::OpenJTalkLabeler(const std::string& engine, const std::string& dictionary,
                                   std::chrono::milliseconds timeout)
    : engine_(engine.empty() ? FindOpenJTalkProgram() : engine),
      dictionary_(dictionary),
      timeout_(timeout) {
    std::error_code ec;
    ready_ = !engine_.empty() && fs::is_regular_file(engine_, ec) &&
             fs::is_regular_file(fs::path(dictionary_) / "sys.dic", ec);
}

OpenJTalkLabeler::~OpenJTalkLabeler() = default;

std::optional<std::vector<std::string>> OpenJTalkLabeler::Labels(const std::string& utf8Line,
                                                                 const std::string& voiceFile,
                                                                 const std::atomic<bool>& cancel) {
    if (!ready_ || utf8Line.empty()) return std::nullopt;
    // Text and trace pass through memory: nothing to clear up after a crash.
    MemoryFile text("teramon2-text"), trace("teramon2-trace");
    if (!text.Write(utf8Line + "\n") || !trace.Ok()) return std::nullopt;
    // The sound it makes on the way is thrown away; a fast rate keeps that short.
    ChildResult run = RunChild({engine_, "-x", dictionary_, "-m", voiceFile, "-r", "2.0", "-ot",
                                MemoryFile::kChildPath, "-ow", "/dev/null"},
                               text.Fd(), trace.Fd(), timeout_, cancel);
    if (run.outcome != ChildOutcome::Exited || run.exitCode != 0) return std::nullopt;
    std::vector<std::string> labels = LabelsFromTrace(trace.Read());
    if (labels.empty()) return std::nullopt;
    return labels;
}

std::vector<std::string> LabelsFromTrace(const std::string& trace) {
    std::vector<std::string> labels;
    std::istringstream in(trace);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "[Output label]") {
            inside = true;
            continue;
        }
        if (!inside) continue;
        if (line.empty()) break;
        // "start end label"
        size_t a = line.find(' ');
        size_t b = a == std::string::npos ? a : line.find(' ', a + 1);
        labels.push_back(b == std::string::npos ? line : line.substr(b + 1));
    }
    return labels;
}
