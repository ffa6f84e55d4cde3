#pragma once
// Random cell texts for the learning files' round-trip properties: pieces that
// a tab-separated file or its escapes could trip over (tabs, CR, LF, other
// controls, backslashes and escape look-alikes), random UTF-8, stray bytes
// that are not UTF-8, now and then a long run.
#include <climits>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>

class RandomCells {
public:
    explicit RandomCells(unsigned seed) : rng_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Cell() {
        static const char* const kPieces[] = {"\t", "\r", "\n", "\r\n", "\\", "\\\\", "\\x", "\\x09", "\\x5C", "\\x7f",
                                              "\\xE3", "x5C", "A", "独", "熟語", "いちご", "😀", " ", "-", "0"};
        std::string s;
        const int pieces = Below(8) == 0 ? 200 + Below(200) : Below(6);
        for (int i = 0; i < pieces; ++i) {
            switch (Below(4)) {
                case 0: s += kPieces[Below(static_cast<int>(std::size(kPieces)))]; break;
                case 1: s += static_cast<char>(Below(4) == 0 ? 0x7F : Below(0x20)); break;  // a control
                case 2: AppendCodePoint(s); break;
                default:
                    if (Below(10) == 0) s += static_cast<char>(0x80 + Below(0x80));  // not UTF-8
                    else s += static_cast<char>(0x20 + Below(0x5F));
            }
        }
        return s;
    }

    int Count() {
        switch (Below(5)) {
            case 0: return 0;
            case 1: return INT_MAX;
            case 2: return INT_MAX - Below(3);
            default: return Below(1000);
        }
    }

    std::string Date() {
        if (Below(5) == 0) return "9999-12-" + std::to_string(20 + Below(12));
        char text[48];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", 1900 + Below(300), 1 + Below(12), 1 + Below(28));
        return text;
    }

private:
    void AppendCodePoint(std::string& s) {
        unsigned cp = std::uniform_int_distribution<unsigned>(0x80, 0x10FFFF)(rng_);
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0x3042;  // no surrogates in UTF-8
        if (cp < 0x800) {
            s += static_cast<char>(0xC0 | (cp >> 6));
        } else if (cp < 0x10000) {
            s += static_cast<char>(0xE0 | (cp >> 12));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (cp >> 18));
            s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        }
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }

    std::mt19937 rng_;
};
