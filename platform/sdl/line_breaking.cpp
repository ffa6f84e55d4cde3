#include "platform/sdl/line_breaking.h"

#include <algorithm>

bool MayNotStartLine(char32_t c) {
    static constexpr std::u32string_view kClosers =
        U"、。，．・ー」』）！？：；〕］｝〉》】〙〗”’ゝゞヽヾ々〻…‥～〜"
        U"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ"
        U"!?,.:;)]}%";
    if (c >= 0x31F0 && c <= 0x31FF) return true;  // small katakana extensions
    return kClosers.find(c) != std::u32string_view::npos;
}

bool MayNotEndLine(char32_t c) {
    static constexpr std::u32string_view kOpeners = U"「『（〔［｛〈《【〘〖“‘([{";
    return kOpeners.find(c) != std::u32string_view::npos;
}

namespace {

// Latin letters, digits and ASCII symbols form words that are not split.
bool IsWordChar(char32_t c) { return c > 0x20 && c < 0x7F; }
bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }

bool MayBreakBefore(const std::vector<char32_t>& cp, size_t i) {
    if (i == 0 || i >= cp.size()) return false;
    char32_t prev = cp[i - 1], next = cp[i];
    if (IsSpace(prev)) return !IsSpace(next);
    if (IsSpace(next)) return false;  // spaces stay at the end of the line
    if (MayNotStartLine(next) || MayNotEndLine(prev)) return false;
    if (IsWordChar(prev) && IsWordChar(next)) return false;
    return true;
}

void WrapParagraph(std::string_view para, float maxWidth, const MeasureText& measure,
                   std::vector<std::string>& lines) {
    const Utf8CodePoints d = DecodeUtf8(para);
    const auto& cp = d.codePoints;
    const size_t n = cp.size();
    auto slice = [&](size_t from, size_t to) {
        return para.substr(d.offsets[from], d.offsets[to] - d.offsets[from]);
    };
    auto emit = [&](size_t from, size_t to) {
        while (to > from && IsSpace(cp[to - 1])) --to;
        lines.emplace_back(slice(from, to));
    };
    size_t start = 0;
    while (start < n) {
        size_t end = start + 1;
        while (end <= n && measure(slice(start, end)) <= maxWidth) ++end;
        if (end > n) {  // the rest fits
            emit(start, n);
            break;
        }
        // Characters start..end-2 fit; cp[end-1] overflows. Break at the last
        // allowed place, else force a break (letting closing punctuation hang).
        size_t overflow = end - 1;
        size_t cut = IsSpace(cp[overflow]) ? overflow : 0;
        for (size_t b = overflow; cut == 0 && b > start; --b)
            if (MayBreakBefore(cp, b)) { cut = b; break; }
        if (cut == 0) {
            cut = std::max(overflow, start + 1);
            while (cut < n && MayNotStartLine(cp[cut])) ++cut;
        }
        emit(start, cut);
        start = cut;
        while (start < n && IsSpace(cp[start])) ++start;
    }
}

}  // namespace

std::vector<std::string> BreakIntoLines(std::string_view text, bool wordWrap, float maxWidth,
                                        const MeasureText& measure) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view para = text.substr(pos, end - pos);
        if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
        if (nl == std::string_view::npos && para.empty() && pos > 0) break;  // text ends with a line end
        if (para.empty() || !wordWrap)
            lines.emplace_back(para);
        else
            WrapParagraph(para, maxWidth, measure, lines);
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
    return lines;
}
