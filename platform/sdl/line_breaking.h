#pragma once
// Breaking label text into lines: at line ends in the text and, with word wrap,
// wherever the next character would overflow the width. Japanese text breaks
// between any two characters, except that no line begins with closing
// punctuation, the long-vowel mark or a small kana, and no line ends with an
// opening bracket; runs of Latin letters and digits stay together.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

// Width of a piece of text in pixels.
using MeasureText = std::function<float(std::string_view)>;

std::vector<std::string> BreakIntoLines(std::string_view text, bool wordWrap, float maxWidth,
                                        const MeasureText& measure);

bool MayNotStartLine(char32_t c);
bool MayNotEndLine(char32_t c);
