// A suspended game (newrecord.dat, with the board texts of Settei.ini) applied
// through LoadGame: at start-up from the title screen, and over a running game
// after the mode switch ([Alt] twice, [Y]). The game then plays on for a few
// seconds with the paddle under the ball and the rows sliding. Nothing may crash
// or index out of bounds, whatever the files hold.
//
// Input: the first 3428 bytes are the record (a shorter input is a short file);
// anything after them is Settei.ini.
#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>

#include "game/question_table.h"
#include "persistence/record_files.h"
#include "platform/text_codec.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/test_support/game_fixture.h"

namespace {

// Two additional questions, so the record may name questions 170 and 171.
void WriteAdditionalQuestions(game_test::GameFixture& g) {
    std::string text;
    for (int i = 0; i < kAdditionalHeaderLines; ++i) text += "header\r\n";
    text += "海千山千\r\nうみせんやません\r\n経験を積んでずる賢いこと\r\n";
    text += "大器晩成\r\nたいきばんせい\r\n大人物は遅れて大成すること\r\n";
    std::ofstream(g.DataFile("NewTuikamondai.txt"), std::ios::binary) << Utf8ToCp932(text).value();
    g.f().LoadAdditionalQuestions();
}

void WriteSavedFiles(game_test::GameFixture& g, std::string_view bytes) {
    const std::string_view record = bytes.substr(0, std::min(bytes.size(), kDataRecBytes));
    std::ofstream(g.DataFile("newrecord.dat"), std::ios::binary | std::ios::trunc)
        .write(record.data(), record.size());
    const std::string_view settings = bytes.substr(record.size());
    std::ofstream(g.DataFile("Settei.ini"), std::ios::binary | std::ios::trunc)
        .write(settings.data(), settings.size());
}

// Resumes a paused board and plays on, the left button held for a while.
void PlayOn(game_test::GameFixture& g, uint32_t ms) {
    g.Char(u'a');
    g.input.LeftButton = true;
    g.Play(ms / 2);
    g.input.LeftButton = false;
    g.Play(ms / 2);
}

}  // namespace

TM_FUZZ_TARGET(resume_play) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    game_test::GameFixture g(false);
    WriteAdditionalQuestions(g);

    // At start-up: the record read from the title screen.
    WriteSavedFiles(g, bytes);
    g.f().ReadSavedFilesAtStartup();
    g.Char(u'y');
    PlayOn(g, 1000);

    // Over a running game: a board in play, saved by [Alt]; the file replaced
    // behind the game's back; [Alt] again and [Y] read it.
    if (g.f().GameBoard().MovingBallNo() < 0 && !g.f().CountdownRuns()) g.Key(VK_SHIFT_KEY);
    g.Run(5100);
    g.Play(500);
    g.Key(VK_MENU_KEY);
    WriteSavedFiles(g, bytes);
    g.Key(VK_MENU_KEY);
    g.Char(u'y');
    PlayOn(g, 2000);
    return 0;
}
