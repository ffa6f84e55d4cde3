#pragma once
// Speech and kana readings as the game sees them. The real implementations use
// Open JTalk and MeCab (voice/); tests use recording fakes.
#include <string>

// Speaks texts in the game's phonetic notation (hiragana, ' accent marks,
// / phrase breaks, 、 and 。), given as code page 932 bytes.
class SpeechService {
public:
    virtual ~SpeechService() = default;
    // Whether voice 0 (female) or 1 (male) can speak.
    virtual bool VoiceAvailable(int voice) const = 0;
    // Returns at once; a newer utterance replaces one still playing. speed: 100 is
    // normal, 110 a little faster. Does nothing for a voice that is unavailable.
    virtual void Speak(int voice, const std::string& cp932Text, int speed) = 0;
    // Prepares an utterance in the background so that a later Speak of the same
    // (voice, text, speed) starts at once. Optional.
    virtual void Prepare(int voice, const std::string& cp932Text, int speed) {}
};

// Kana reading of Japanese text (UTF-8 in, hiragana UTF-8 out; empty when no
// reading could be obtained).
class ReadingService {
public:
    virtual ~ReadingService() = default;
    virtual std::string ReadingOf(const std::string& utf8Text) = 0;
};

// Speaks nothing and reads nothing: the fallback when the components are missing.
class SilentSpeech : public SpeechService {
public:
    bool VoiceAvailable(int) const override { return false; }
    void Speak(int, const std::string&, int) override {}
};
class NoReadings : public ReadingService {
public:
    std::string ReadingOf(const std::string&) override { return {}; }
};
