#pragma once
// The editor's text and the additional-question file on disk. The file is code
// page 932 with CR LF after every line (a lone CR or LF also ends a line); the
// editor holds UTF-8 lines joined by "\n". The dialog never interprets the
// questions themselves.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Lines of a file's text: CR LF, CR or LF end a line; a final line end does not
// start another line, so "a\r\nb\r\n" is two lines and "" none.
std::vector<std::string> SplitFileLines(std::string_view text);

// The editor's text <-> its lines: every "\n" separates two lines, so a text
// ending in "\n" has an empty last line. No lines is the empty text.
std::vector<std::string> SplitEditorText(std::string_view text);
std::string JoinEditorLines(const std::vector<std::string>& lines);

// The file bytes for the lines: code page 932, CR LF after every line.
struct EncodedQuestionFile {
    std::optional<std::string> bytes;  // nothing when a character cannot be stored
    std::string unstorableCharacter;   // the first such character (UTF-8)
};
EncodedQuestionFile EncodeQuestionFile(const std::vector<std::string>& lines);
