#include "tools/say/say_options.h"

#include <gtest/gtest.h>

namespace {

// Every row of the voices table is a voice teramon2-say takes, whatever the
// table's length; anything past its end, and the other misuses, give the usage.
TEST(SayOptionsTest, VoicesComeFromTheVoicesTable) {
    for (int v = 0; v < kVoiceCount; ++v) {
        const auto o = ParseSayOptions({"--voice", std::to_string(v), "あ"});
        ASSERT_TRUE(o) << v;
        EXPECT_EQ(o->voice, v);
    }
    EXPECT_FALSE(ParseSayOptions({"--voice", std::to_string(kVoiceCount), "あ"}));
    EXPECT_FALSE(ParseSayOptions({"--voice", "-1", "あ"}));
    // A table of four voices: the third and fourth are taken too.
    for (const char* v : {"2", "3"}) EXPECT_TRUE(ParseSayOptions({"--voice", v, "あ"}, 4)) << v;
    EXPECT_FALSE(ParseSayOptions({"--voice", "4", "あ"}, 4));
    // The usage names every voice of the table.
    for (int v = 0; v < kVoiceCount; ++v)
        EXPECT_NE(SayUsage().find(std::to_string(v) + " " + kVoices[v].description), std::string::npos) << v;
}

TEST(SayOptionsTest, TheRestOfTheCommandLine) {
    const auto full = ParseSayOptions({"--speed", "110", "--wav", "out.wav", "--labels", "--question", "7"});
    ASSERT_TRUE(full);
    EXPECT_EQ(full->voice, 0);
    EXPECT_EQ(full->speed, 110);
    EXPECT_EQ(full->wavFile, "out.wav");
    EXPECT_TRUE(full->labels);
    EXPECT_EQ(full->question, 7);
    const auto text = ParseSayOptions({"いちご/いち'え"});
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, "いちご/いち'え");
    EXPECT_FALSE(text->question);

    const std::vector<std::vector<std::string>> refused = {
        {},                                  // neither text nor question
        {"あ", "--question", "1"},           // both
        {"あ", "い"},                        // two texts
        {"--speed", "0", "あ"},              // no speed
        {"--voice", "x", "あ"},              // not a number
        {"--voice", "1x", "あ"},
        {"あ", "--voice"},                   // value missing
        {"--wav"},
        {"--loud", "あ"},                    // unknown option
    };
    for (const auto& args : refused) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_FALSE(ParseSayOptions(args)) << joined;
    }
}

}  // namespace
