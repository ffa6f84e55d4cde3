#include "settings_dialog/question_file_text.h"

#include "platform/text_codec.h"

std::vector<std::string> SplitFileLines(std::string_view text) {
    const std::vector<std::string_view> views = SplitLines(text);
    return std::vector<std::string>(views.begin(), views.end());
}

std::vector<std::string> SplitEditorText(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        // A pasted CR LF leaves no CR behind in a line.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

std::string JoinEditorLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

EncodedQuestionFile EncodeQuestionFile(const std::vector<std::string>& lines) {
    EncodedQuestionFile out;
    std::string bytes;
    for (const std::string& line : lines) {
        std::optional<std::string> encoded = Utf8ToCp932(line);
        if (!encoded) {
            for (const std::string& ch : SplitUtf8Characters(line))
                if (!Utf8ToCp932(ch)) {
                    out.unstorableCharacter = ch;
                    break;
                }
            return out;
        }
        bytes += *encoded;
        bytes += "\r\n";
    }
    out.bytes = std::move(bytes);
    return out;
}
