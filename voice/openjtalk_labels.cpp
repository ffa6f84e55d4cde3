#include "voice/openjtalk_labels.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    bool ok = !engine_.empty() && fs::is_regular_file(engine_, ec) &&
              fs::is_regular_file(fs::path(dictionary_) / "sys.dic", ec);
    if (ok) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/teramon2-labels-XXXXXX";
        if (mkdtemp(pattern.data())) workDir_ = pattern;
    }
    ready_ = ok && !workDir_.empty();
}

OpenJTalkLabeler::~OpenJTalkLabeler() {
    if (workDir_.empty()) return;
    std::error_code ec;
    fs::remove_all(workDir_, ec);
}

std::optional<std::vector<std::string>> OpenJTalkLabeler::Labels(const std::string& utf8Line,
                                                                 const std::string& voiceFile,
                                                                 const std::atomic<bool>& cancel) {
    if (!ready_ || utf8Line.empty()) return std::nullopt;
    const std::string textFile = workDir_ + "/text.txt";
    const std::string traceFile = workDir_ + "/trace.txt";
    std::error_code ec;
    fs::remove(traceFile, ec);
    {
        std::ofstream out(textFile, std::ios::binary | std::ios::trunc);
        out << utf8Line << "\n";
        if (!out.flush()) return std::nullopt;
    }
    // The sound it makes on the way is thrown away; a fast rate keeps that short.
    ChildResult run = RunChild({engine_, "-x", dictionary_, "-m", voiceFile, "-r", "2.0", "-ot",
                                traceFile, "-ow", "/dev/null"},
                               textFile, timeout_, cancel);
    if (run.outcome != ChildOutcome::Exited || run.exitCode != 0) return std::nullopt;
    std::ifstream in(traceFile, std::ios::binary);
    std::vector<std::string> labels = LabelsFromTrace(std::string(std::istreambuf_iterator<char>(in), {}));
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
