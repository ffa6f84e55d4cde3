#include "game/question_table.h"

#include "persistence/atomic_file.h"
#include "platform/text_codec.h"

std::vector<BuiltInQuestion> ParseQuestionTable(std::string_view tsv) {
    std::vector<BuiltInQuestion> rows;
    const std::vector<std::string_view> lines = SplitLines(tsv);
    for (std::size_t i = 1; i < lines.size(); ++i) {  // line 0 is the header
        const std::vector<std::string_view> fields = SplitAtTabs(lines[i]);
        if (fields.size() != 5) continue;
        rows.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                        std::string(fields[3]), std::string(fields[4])});
    }
    return rows;
}

std::string_view TrimSpacesAndControls(std::string_view line) {
    // Every code point up to U+0020 is a single byte in UTF-8, so bytes suffice.
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!line.empty() && isTrimmed(line.front())) line.remove_prefix(1);
    while (!line.empty() && isTrimmed(line.back())) line.remove_suffix(1);
    return line;
}

std::vector<AdditionalQuestion> ParseAdditionalQuestions(
    std::string_view utf8Text, const std::function<bool(std::string_view)>& isBuiltInIdiom) {
    const std::vector<std::string_view> lines = SplitLines(utf8Text);
    if (lines.size() < 20) return {};

    std::vector<std::string_view> entries;
    for (std::size_t i = kAdditionalHeaderLines; i < lines.size(); ++i) {
        const std::string_view trimmed = TrimSpacesAndControls(lines[i]);
        if (!trimmed.empty()) entries.push_back(trimmed);
    }

    std::vector<AdditionalQuestion> questions;
    for (std::size_t g = 0; g + 3 <= entries.size(); g += 3) {  // a trailing partial group is dropped
        const std::string_view idiom = entries[g];
        if (Utf16Length(idiom) != 4 || isBuiltInIdiom(idiom)) continue;
        const std::string_view reading = entries[g + 1];
        questions.push_back({std::string(idiom), std::string(reading), std::string(entries[g + 2]),
                             Utf8ToCp932Lossy(reading)});
    }
    return questions;
}

std::optional<std::vector<AdditionalQuestion>> ReadAdditionalQuestionFile(
    const std::string& path, const std::function<bool(std::string_view)>& isBuiltInIdiom, bool* unreadable) {
    if (unreadable) *unreadable = false;
    const FileRead read = ReadWholeFile(path, kLargestQuestionFile);
    if (read.status == ReadStatus::Missing) return std::nullopt;
    // From here on a problem only costs the additional questions, never start-up.
    const std::optional<DecodedText> text =
        read.status == ReadStatus::Ok ? DecodeTextFile(read.bytes) : std::nullopt;
    if (!text) {
        if (unreadable) *unreadable = true;
        return std::vector<AdditionalQuestion>{};
    }
    return ParseAdditionalQuestions(text->utf8, isBuiltInIdiom);
}
