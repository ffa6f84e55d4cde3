#pragma once
// Text encodings. The program keeps text in UTF-8; files and speech texts are in
// code page 932 (Shift-JIS with the vendor extensions, converted through iconv's
// "CP932", which round-trips 々, ①, 髙 and the ideographic space). Lengths the
// game's rules count are UTF-16 code units.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The encodings a text file of the data folder may come in. The game writes
// code page 932; files saved by other editors may be UTF-8 (with or without a
// byte-order mark) or UTF-16 with a byte-order mark.
enum class TextEncoding { Cp932, Utf8, Utf8Bom, Utf16LE, Utf16BE };

struct DecodedText {
    TextEncoding encoding = TextEncoding::Cp932;
    std::string utf8;  // the text without its byte-order mark
};

// How the bytes of a whole file are read: a UTF-8 or UTF-16 byte-order mark
// names its encoding; otherwise valid UTF-8 that holds characters outside
// ASCII is UTF-8, and anything else code page 932. nullopt when the bytes are
// not valid in the encoding chosen.
std::optional<DecodedText> DecodeTextFile(std::string_view bytes);
// The encoding DecodeTextFile would choose, without checking the rest.
TextEncoding DetectTextEncoding(std::string_view bytes);
// The byte-order mark of an encoding (empty for code page 932 and plain UTF-8).
std::string ByteOrderMark(TextEncoding encoding);
// Bytes in the encoding (no byte-order mark) -> UTF-8; nullopt when invalid.
std::optional<std::string> DecodeAs(TextEncoding encoding, std::string_view bytes);
// UTF-8 -> bytes in the encoding (no byte-order mark). Never fails: a character
// code page 932 cannot hold becomes '?'.
std::string EncodeAsLossy(TextEncoding encoding, std::string_view utf8);

// Code page 932 bytes -> UTF-8; nullopt when the bytes are not valid code page 932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// UTF-8 -> code page 932; nullopt when the input is not valid UTF-8 or holds a
// character code page 932 cannot represent.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// UTF-8 -> code page 932, never failing: characters that cannot be represented
// (and malformed bytes) become '?'. For texts that must go out whatever they hold.
std::string Utf8ToCp932Lossy(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (no overlongs, surrogates or values
// above U+10FFFF).
bool IsValidUtf8(std::string_view utf8);

// Length in UTF-16 code units (a character above U+FFFF counts 2). A malformed
// byte counts as one unit.
std::size_t Utf16Length(std::string_view utf8);

// One character read from UTF-8 at a byte position: its code point, or -1 when
// the bytes there are malformed (an overlong form, a surrogate, a value above
// U+10FFFF, a cut or stray byte), which then count as one byte.
struct Utf8Char {
    long codePoint;
    std::size_t length;
};
Utf8Char DecodeUtf8At(std::string_view utf8, std::size_t pos);

// The code points of a UTF-8 string with the byte offset of each, plus one final
// offset at the end. A malformed byte is U+FFFD of one byte.
struct Utf8CodePoints {
    std::vector<char32_t> codePoints;
    std::vector<std::size_t> offsets;
};
Utf8CodePoints DecodeUtf8(std::string_view utf8);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// The fields of a tab-separated row; a row without a tab is one field.
std::vector<std::string_view> SplitAtTabs(std::string_view row);

// Lines of a text: CR LF, a lone CR and a lone LF each end a line; a line break at
// the very end does not start another (empty) line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The characters (code points) of a UTF-8 string, each as its own UTF-8 string.
// A malformed byte becomes a one-byte entry of its own.
std::vector<std::string> SplitUtf8Characters(std::string_view utf8);

// The character that covers UTF-16 unit `index` of the string, as UTF-8; empty
// when index is out of range. Both halves of a surrogate pair name the same
// character.
std::string Utf16UnitCharacter(std::string_view utf8, int index);
