#pragma once
// Ordinary Japanese text (kanji and kana) analysed by the Open JTalk program:
// its full-context labels, read from its trace, for in-process synthesis. Used
// only where free text must be read (the meanings of the player's own questions).
// Not for use from several threads at once.
#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

class OpenJTalkLabeler {
public:
    // engine empty: open_jtalk from PATH, else /usr/bin/open_jtalk.
    OpenJTalkLabeler(const std::string& engine, const std::string& dictionary,
                     std::chrono::milliseconds timeout);
    ~OpenJTalkLabeler();
    OpenJTalkLabeler(const OpenJTalkLabeler&) = delete;
    OpenJTalkLabeler& operator=(const OpenJTalkLabeler&) = delete;

    bool Ready() const { return ready_; }
    // The labels of one line of text (without times). The voice file only lets
    // the program run; the labels do not depend on it. nullopt on any failure.
    std::optional<std::vector<std::string>> Labels(const std::string& utf8Line,
                                                   const std::string& voiceFile,
                                                   const std::atomic<bool>& cancel);

private:
    std::string engine_, dictionary_;
    std::chrono::milliseconds timeout_;
    bool ready_ = false;
};

// The "[Output label]" lines of an Open JTalk trace, times removed.
std::vector<std::string> LabelsFromTrace(const std::string& trace);
