#pragma once
// Kana readings from MeCab with the IPA dictionary, opened by explicit path so no
// user configuration can change the result.
#include <mutex>
#include <string>

#include "voice/speech.h"

struct mecab_t;

class MecabReading : public ReadingService {
public:
    static constexpr const char* kDefaultDictionary = "/var/lib/mecab/dic/ipadic-utf8";
    // Texts this long in UTF-16 units or longer get no reading (the conversion
    // buffer holds 1023 units and the terminator).
    static constexpr size_t kMaxUtf16Units = 1023;

    explicit MecabReading(const std::string& dictionaryDir = kDefaultDictionary);
    ~MecabReading() override;
    MecabReading(const MecabReading&) = delete;
    MecabReading& operator=(const MecabReading&) = delete;

    bool Available() const { return tagger_ != nullptr; }
    // Hiragana reading; words without a dictionary reading keep their written form.
    std::string ReadingOf(const std::string& utf8Text) override;

private:
    mecab_t* tagger_ = nullptr;
    std::mutex mutex_;  // a MeCab tagger is not safe to share between threads
};
