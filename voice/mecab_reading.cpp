#include "voice/mecab_reading.h"

#include <mecab.h>

#include <cstdio>

#include "platform/text_codec.h"
#include "voice/speech_text.h"

namespace {

constexpr int kReadingField = 7;

// Field `index` of a comma-separated feature string; empty when it is absent or "*".
std::string FeatureField(const char* feature, int index) {
    if (!feature) return {};
    std::string_view f(feature);
    for (int i = 0; i < index; ++i) {
        size_t comma = f.find(',');
        if (comma == std::string_view::npos) return {};
        f.remove_prefix(comma + 1);
    }
    std::string field(f.substr(0, f.find(',')));
    return field == "*" ? std::string() : field;
}

}  // namespace

MecabReading::MecabReading(const std::string& dictionaryDir) {
    // "-r /dev/null": the system's mecabrc must not pick another dictionary.
    std::string d = dictionaryDir;
    const char* argv[] = {"mecab", "-r", "/dev/null", "-d", d.c_str()};
    tagger_ = mecab_new(5, const_cast<char**>(argv));
    if (!tagger_) {
        std::fprintf(stderr, "reading: MeCab dictionary %s cannot be opened; no kana readings\n",
                     dictionaryDir.c_str());
    }
}

MecabReading::~MecabReading() {
    if (tagger_) mecab_destroy(tagger_);
}

std::string MecabReading::ReadingOf(const std::string& utf8Text) {
    if (utf8Text.empty() || !tagger_) return {};
    if (Utf16Length(utf8Text) > kMaxUtf16Units) return {};

    std::lock_guard lock(mutex_);
    const mecab_node_t* node = mecab_sparse_tonode2(tagger_, utf8Text.data(), utf8Text.size());
    if (!node) return {};

    std::string reading;
    const char* const begin = utf8Text.data();
    const char* const end = begin + utf8Text.size();
    const char* consumed = begin;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
        if (node->surface < consumed || node->surface + node->length > end) return {};
        // MeCab skips white space between words; keep it as it was written.
        reading.append(consumed, node->surface);
        std::string field = FeatureField(node->feature, kReadingField);
        if (field.empty()) {
            reading.append(node->surface, node->length);
        } else {
            reading += KatakanaToHiragana(field);
        }
        consumed = node->surface + node->length;
    }
    reading.append(consumed, end);
    return reading;
}
