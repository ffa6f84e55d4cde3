#include "tests/soak/soak_session.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/build_game.h"
#include "game/question_table.h"
#include "platform/text_codec.h"
#include "tests/soak/invariants.h"

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TDataRec RecordOf(const std::string& bytes) {
    TDataRec rec{};
    std::memcpy(&rec, bytes.data(), std::min(bytes.size(), sizeof rec));
    return rec;
}

}  // namespace

// Stands in for the settings dialog: open for a while (the game's timers and
// animations keep running, as in a modal loop), maybe a setting changed, then
// closed the way the real dialog closes.
class SoakSession::FakeSettingsDialog : public SettingsDialog {
public:
    explicit FakeSettingsDialog(SoakSession& s) : s_(s) {}
    void ShowModal() override {
        ++s_.totals_.dialogs;
        s_.Note("settings dialog");
        const int steps = s_.Below(100);
        for (int i = 0; i < steps; ++i) {
            s_.g_.app.RunFor(10);
            ++s_.totals_.ticks;
            s_.Check("settings dialog open");
        }
        TForm1& game = s_.g_.f();
        if (s_.Chance(300)) game.Sound().VoiceMode = 1 - game.Sound().VoiceMode;
        game.SettingsDialogClosed();
    }

private:
    SoakSession& s_;
};

SoakSession::SoakSession(uint32_t seed, const SoakOptions& options, SoakTotals& totals)
    : seed_(seed), options_(options), totals_(totals), rng_(seed), dialog_(new FakeSettingsDialog(*this)) {
    // Every draw of the game comes from this game's seed, except while the ball is
    // aimed at its target (so boards get cleared and later stages are reached).
    aimAtTarget_ = g_.random.steer;
    g_.random.steer = [this](int n) -> std::optional<int> {
        if (auto aimed = aimAtTarget_(n)) return aimed;
        return Below(n);
    };
    if (Chance(500)) WriteAdditionalQuestions();
    StartProgram();
}

SoakSession::~SoakSession() = default;

void SoakSession::WriteAdditionalQuestions() {
    std::string text;
    for (int i = 0; i < kAdditionalHeaderLines; ++i) text += "説明\r\n";
    text += "海千山千\r\nうみせんやません\r\n経験を積んでずる賢いこと\r\n\r\n";
    text += "大器晩成\r\nたいきばんせい\r\n大人物は遅れて大成すること\r\n";
    text += "一期一会\r\nいちごいちえ\r\n一生に一度の出会い\r\n";
    std::filesystem::create_directories(std::filesystem::path(g_.DataFile("x")).parent_path());
    std::ofstream(g_.DataFile("NewTuikamondai.txt"), std::ios::binary) << Utf8ToCp932(text).value();
}

// A fresh main window over the current data folder, as when the program starts.
void SoakSession::StartProgram() {
    g_.form.reset();
    g_.form = BuildGame(*g_.services, {.beforeCreate = [this](TForm1& form) { form.SetSettingsDialog(dialog_.get()); }});
    // A record of our own that was not finished must be offered for continuing.
    const std::string onDisk = ReadWholeFile(g_.DataFile("newrecord.dat"));
    if (haveSaved_ && onDisk.size() == sizeof(TDataRec) && RecordOf(onDisk).GameClear == 0 &&
        std::memcmp(onDisk.data(), &lastSaved_, sizeof lastSaved_) == 0 && !g_.f().Screens().GameLoading)
        Broken("start-up", "own unfinished record not offered for continuing");
}

void SoakSession::RestartProgram() {
    g_.f().FormDestroy();
    ++totals_.restarts;
    Note("program restarted");
    StartProgram();
}

void SoakSession::CountBoard() {
    const TForm1& game = g_.f();
    ++totals_.boards;
    if (game.GameProgress().Stage() >= 1 && game.GameProgress().Stage() <= 3) ++totals_.boardsByStage[static_cast<int>(game.GameProgress().GameMode())][game.GameProgress().Stage()];
}

void SoakSession::Note(const std::string& event) {
    recent_.push_back("t=" + std::to_string(elapsedMs_) + " " + event);
    if (recent_.size() > 10) recent_.pop_front();
}

void SoakSession::Broken(const char* when, const std::string& rule) {
    std::string kind;  // the rule without its numbers, so one fault is told once
    for (char c : rule) if (c < '0' || c > '9') kind += c;
    if (!seenRules_.insert(kind).second || totals_.violations.size() >= 200) return;
    std::string told = "seed " + std::to_string(seed_) + ", t=" + std::to_string(elapsedMs_) + " ms (" + when +
                       "): " + rule + "\n    after:";
    for (const std::string& e : recent_) told += " | " + e;
    totals_.violations.push_back(told);
}

void SoakSession::Check(const char* when) {
    std::vector<std::string> broken;
    CheckGameInvariants(g_.f(), broken);
    for (const std::string& rule : broken) Broken(when, rule);
}

void SoakSession::MovePaddle() {
    if (Chance(calm_ ? 1 : 3)) followBall_ = calm_ || !followBall_;
    TForm1& game = g_.f();
    float centre;
    if (followBall_) {
        g_.MovePaddleUnderBall();
        centre = game.Scene().ImgPad->Position.X + game.Scene().ImgPad->Width / 2;
    } else {
        wanderX_ = std::clamp(wanderX_ + static_cast<float>(Below(81) - 40), -50.0f, 850.0f);
        centre = wanderX_;
    }
    g_.input.ScreenMouseX = centre;
    game.FormMouseMove(&game, {}, centre, 500);
}

// After any key: a record that changed on disk was a save; check it.
void SoakSession::AfterSave() {
    const std::string path = g_.DataFile("newrecord.dat");
    const std::string bytes = ReadWholeFile(path);
    if (bytes.empty() || (haveSaved_ && bytes.size() == sizeof lastSaved_ &&
                          std::memcmp(bytes.data(), &lastSaved_, sizeof lastSaved_) == 0))
        return;
    ++totals_.saves;
    std::vector<std::string> broken;
    CheckSavedRecord(g_.f(), path, broken);
    for (const std::string& rule : broken) Broken("save", rule);
    lastSaved_ = RecordOf(bytes);
    haveSaved_ = true;
    if (!options_.keepRecordsIn.empty()) {
        // Record and settings together: the input format of the resume_play fuzz target.
        std::ofstream(options_.keepRecordsIn + "/seed" + std::to_string(seed_) + "_save" +
                          std::to_string(totals_.saves),
                      std::ios::binary)
            << bytes << ReadWholeFile(g_.DataFile("Settei.ini"));
    }
}

void SoakSession::PressRandomKey() {
    struct Command {
        int weight;
        int vk;
        char16_t ch;
    };
    static const Command commands[] = {
        {20, VK_SHIFT_KEY, 0}, {15, 0, u'a'}, {6, VK_MENU_KEY, 0}, {4, 0, u'd'}, {6, 0, u'z'},
        {4, 0, u'x'},          {4, 0, u'c'},  {4, 0, u's'},         {8, 0, u'y'}, {3, 0, u'n'},
        {2, VK_ESCAPE_KEY, 0}, {2, 0, u'A'},  {1, 0, u'q'},
    };
    int total = 0;
    for (const Command& c : commands) total += c.weight;
    int pick = Below(total);
    const Command* command = commands;
    while (pick >= command->weight) pick -= (command++)->weight;

    TForm1& game = g_.f();
    const bool asked = game.Screens().GameLoading || (game.Screens().Title && !game.Screens().GameModeSetting);
    const std::string recordBefore = ReadWholeFile(g_.DataFile("newrecord.dat"));
    if (command->vk == VK_SHIFT_KEY) g_.steering = Chance(calm_ ? 980 : 700);

    Note(command->vk ? "key " + std::to_string(command->vk) : std::string("char ") + static_cast<char>(command->ch));
    g_.f().FormKeyDown(&game, command->vk, command->ch, {});

    if (command->vk == VK_SHIFT_KEY && game.CountdownRuns()) CountBoard();
    if (command->ch == u'y' && asked && recordBefore.size() == sizeof(TDataRec)) {
        const std::string& shown = game.Scene().LblMsg->Text;
        if (shown == Msg::ContinuedPaused || shown == Msg::ContinuedOver) {
            ++totals_.restores;
            std::vector<std::string> broken;
            CheckRestoredFrom(game, RecordOf(recordBefore), broken);
            for (const std::string& rule : broken) Broken("continue", rule);
        } else if (shown == Msg::LoadFailed && haveSaved_ &&
                   std::memcmp(recordBefore.data(), &lastSaved_, sizeof lastSaved_) == 0) {
            Broken("continue", "own record refused");
        }
    }
    AfterSave();
    if (game.IsClosed()) {
        RestartProgram();
        return;
    }
    if (command->ch == u'd' && game.Screens().IsMinimized && !minimised_) {
        ++totals_.minimises;
        minimised_ = true;
        minimisedUntil_ = elapsedMs_ + 200 + Below(2800);
    }
}

void SoakSession::Step() {
    elapsedMs_ += 10;
    TForm1& game = g_.f();
    if (minimised_) {
        if (elapsedMs_ >= minimisedUntil_) {
            minimised_ = false;
            game.WindowState = TWindowState::wsNormal;
            game.FormActivate();
            Note("restored from minimised");
        }
    } else {
        MovePaddle();
        if (Chance(4)) g_.input.LeftButton = !g_.input.LeftButton;
        if (Chance(4)) g_.input.RightButton = !g_.input.RightButton;
        if (Chance(3)) g_.input.Ctrl = !g_.input.Ctrl;
        // Idle boards get started soon; other commands come about once a second.
        const bool idle = game.GameBoard().MovingBallNo() == -1 && !game.CountdownRuns();
        if (idle && Chance(20)) {
            g_.steering = Chance(calm_ ? 980 : 700);
            Note("key 16 (idle)");
            game.FormKeyDown(&game, VK_SHIFT_KEY, 0, {});
            if (game.CountdownRuns()) CountBoard();
        } else if (Chance(calm_ ? 1 : 8)) {
            PressRandomKey();
        }
    }
    g_.app.RunFor(10);
    ++totals_.ticks;
    Check("tick");
}

void SoakSession::Play() {
    ++totals_.games;
    calm_ = Chance(400);
    if (Chance(500)) {
        g_.f().FormKeyDown(g_.form.get(), VK_MENU_KEY, 0, {});  // the stroke challenge first
    } else if (Chance(500)) {
        // A score challenge picked up at a later question, so every stage gets played.
        g_.StartAt(0, 1 + Below(kQuestionsPerGame));
        CountBoard();
        elapsedMs_ += 5050;
    }
    while (elapsedMs_ < options_.virtualMs) Step();
}
