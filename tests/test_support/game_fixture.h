#pragma once
// The whole main window on a virtual clock, with recording fakes for sound,
// music and speech, temporary program and documents folders, and a play helper
// that keeps the paddle under the ball and (optionally) aims the ball at the
// gap of its target slot, so whole games run in a test in well under a second.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/services.h"
#include "game/build_game.h"
#include "game/tform1.h"
#include "platform/text_codec.h"
#include "tests/test_support/game_state_set_up.h"
#include "tests/test_support/headless_window_host.h"
#include "tests/test_support/recording_audio.h"

namespace game_test {

// The source tree (for its Data folder): given by the build, else found from here.
inline std::string SourceDir() {
#ifdef TERAMON_SOURCE_DIR
    return TERAMON_SOURCE_DIR;
#else
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path().string();
#endif
}

// Records every utterance; every voice can speak.
struct RecordingSpeech : SpeechService {
    struct Said {
        int voice;
        std::string text;  // UTF-8
        int speed;
    };
    std::vector<Said> said;
    std::vector<Said> prepared;
    bool VoiceAvailable(int) const override { return true; }
    void Speak(int voice, const std::string& cp932, int speed) override {
        said.push_back({voice, Cp932ToUtf8(cp932).value_or("<not cp932>"), speed});
    }
    void Prepare(int voice, const std::string& cp932, int speed) override {
        prepared.push_back({voice, Cp932ToUtf8(cp932).value_or("<not cp932>"), speed});
    }
};

// Readings from a table; unknown texts have none.
struct TableReadings : ReadingService {
    std::map<std::string, std::string> table;
    std::string ReadingOf(const std::string& text) override {
        auto it = table.find(text);
        return it == table.end() ? std::string() : it->second;
    }
};

// Scripted draws first; then, while a steering hook is set and answers, its value.
class SteerableRandom : public ScriptedRandom {
public:
    using ScriptedRandom::ScriptedRandom;
    std::function<std::optional<int>(int n)> steer;
    int Random(int n) override {
        if (Pending() == 0 && steer && n > 1)
            if (auto v = steer(n)) return *v < 0 ? 0 : (*v >= n ? n - 1 : *v);
        return ScriptedRandom::Random(n);
    }
};

struct GameFixture {
    VirtualClock clock;
    Application app{clock};
    SteerableRandom random{7};
    RecordingEffectPlayer effects{clock};
    FakeMusicBackend music{clock};
    RecordingSpeech speech;
    TableReadings reading;
    InputState input;
    HeadlessWindowHost host;
    std::filesystem::path root;
    std::string programFolder, documentsFolder;
    std::unique_ptr<GameServices> services;
    std::unique_ptr<TForm1> form;

    // Aim the ball at this block instead of the target's gap (-1: the gap).
    int aimBlock = -1;
    bool steering = false;

    explicit GameFixture(bool sound = true) {
        char tmpl[] = "/tmp/teramon_game_XXXXXX";
        root = mkdtemp(tmpl);
        std::filesystem::create_directories(root / "prog");
        std::filesystem::create_directories(root / "docs");
        std::filesystem::create_directory_symlink(SourceDir() + "/Data", root / "prog" / "Data");
        programFolder = (root / "prog").string() + "/";
        documentsFolder = (root / "docs").string();
        for (const char* track : {"Stage1", "Stage2", "Stage3", "parade"})
            music.SetTrack(programFolder + "Data/Sound/" + track + ".mp3", 600000);
        services.reset(new GameServices{app, random, effects, music, speech, reading, input, host,
                                        programFolder, documentsFolder});
        form = BuildGame(*services, {.beforeShow = [sound](TForm1& f) { f.Sound().IsSound = sound; }});
        random.steer = [this](int n) { return steering ? SteerDraw(n) : std::nullopt; };
    }
    ~GameFixture() {
        form.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    TForm1& f() { return *form; }
    GameStateSetUp Set() { return GameStateSetUp(*form); }
    std::string DataFile(const char* name) const {
        return documentsFolder + "/みずうみ舎/TeramonData/" + name;
    }

    void Key(int vk) { form->FormKeyDown(form.get(), vk, 0, {}); }
    void Char(char16_t c) { form->FormKeyDown(form.get(), 0, c, {}); }
    void Run(uint32_t ms) { app.RunFor(ms); }

    // [Shift], then the countdown until ball 0 is released.
    void StartQuestion() {
        Key(VK_SHIFT_KEY);
        Run(5050);
    }

    // A new board of the given challenge (0 score, 1 stroke) starting at the
    // given question, ball 0 released.
    void StartAt(int mode, int question) {
        if (mode == 0)
            Set().progress().StartScoreChallenge();
        else
            Set().progress().StartStrokeChallenge();
        Set().NextQuestion(question);
        StartQuestion();
    }

    // Puts the ball in play just inside the lower face of block i, as on a leg
    // going up, and runs the ball logic once.
    void HitBlockFromBelow(int i) {
        TForm1& g = *form;
        const int b = g.GameBoard().MovingBallNo();
        TImage* ball = g.Scene().ImgBall[b];
        TImage* block = g.Scene().ImgBlock[i];
        g.Scene().FloatAniBallX[b]->StopAtCurrent();
        g.Scene().FloatAniBallY[b]->StopAtCurrent();
        ball->Position.X = block->Position.X + 5;
        ball->Position.Y = block->Position.Y + block->Height - 12;
        g.Scene().FloatAniBallY[b]->StartValue = ball->Position.Y + 100;
        g.Scene().FloatAniBallX[b]->StartValue = ball->Position.X;
        g.Scene().ImgPad->Position.X = 2000;
        g.ProcessBall();
    }

    int CountPlayed(const std::string& rel) const {
        int n = 0;
        for (auto& p : effects.played()) n += p.path == programFolder + rel;
        return n;
    }
    bool Played(const std::string& rel) const { return CountPlayed(rel) > 0; }

    // The paddle under the ball in play, moved aside (still touching the ball)
    // when a falling stone would meet it.
    void MovePaddleUnderBall() {
        TForm1& g = *form;
        if (g.GameBoard().MovingBallNo() < 0 || !g.Scene().ImgPad->Visible) return;
        const TImage* ball = g.Scene().ImgBall[g.GameBoard().MovingBallNo()];
        TImage* pad = g.Scene().ImgPad;
        const float ballCentre = ball->Position.X + ball->Width / 2;
        float centre = ballCentre;
        for (int i = 0; i < kBlocks; ++i) {
            const TImage* stone = g.Scene().ImgStone[i];
            if (!stone->Visible || !g.Scene().FloatAniStoneY[i]->Running()) continue;
            if (stone->Position.Y + stone->Height < pad->Position.Y - 120) continue;
            const float stoneCentre = stone->Position.X + stone->Width / 2;
            const float clear = (pad->Width + stone->Width) / 2 - 10 + 4;
            if (std::fabs(centre - stoneCentre) >= clear) continue;
            const float reach = (pad->Width + ball->Width) / 2 - 10 - 3;
            centre = ballCentre + (ballCentre >= stoneCentre ? reach : -reach);
        }
        pad->Position.X = centre - pad->Width / 2;
    }

    // Runs the game in 10 ms steps with the paddle under the ball.
    void Play(uint32_t ms, const std::function<void()>& eachStep = {}) {
        for (uint32_t t = 0; t < ms; t += 10) {
            MovePaddleUnderBall();
            if (eachStep) eachStep();
            app.RunFor(10);
        }
    }
    // Runs (the paddle left alone) until done() holds; false when maxMs passed first.
    bool RunUntil(const std::function<bool()>& done, uint32_t maxMs) {
        for (uint32_t t = 0; t < maxMs && !done(); t += 10) app.RunFor(10);
        return done();
    }
    // Plays until done() holds; false when maxMs passed first.
    bool PlayUntil(const std::function<bool()>& done, uint32_t maxMs,
                   const std::function<void()>& eachStep = {}) {
        for (uint32_t t = 0; t < maxMs; t += 10) {
            if (done()) return true;
            MovePaddleUnderBall();
            if (eachStep) eachStep();
            app.RunFor(10);
        }
        return done();
    }

    int TargetSlot() const {
        return form->GameProgress().GameMode() == Challenge::Score ? form->GameBoard().BallSeikaiMojiNo() : form->GameBoard().BallMojiNo()[form->GameBoard().MovingBallNo()];
    }
    int GapColumn(int slot) const { return slot * 4 + form->GameBoard().UnVisibleMojiNo()[slot]; }

private:
    // Chooses the aim draws of a contact so that the ball flies at the aimed block
    // (the target's gap, or the lowest block still standing below it). Legs keep
    // their horizontal direction until a side edge, so a ball heading away from the
    // aim is sent on to that edge. Durations are the shortest; other draws are left
    // to the generator.
    std::optional<int> SteerDraw(int n) {
        TForm1& g = *form;
        const int b = g.GameBoard().MovingBallNo();
        if (b < 0) return std::nullopt;
        TImage* ball = g.Scene().ImgBall[b];
        if (g.Scene().FloatAniBallX[b]->Running() || g.Scene().FloatAniBallY[b]->Running()) return std::nullopt;
        if (n == 2 || n == 4) return 0;  // leg durations
        const float x = ball->Position.X, y = ball->Position.Y;
        const int W = g.ClientWidth();
        const bool onPaddle = y == g.Scene().ImgPad->Position.Y - ball->Height - 5;
        const bool firstLeg = onPaddle && g.GameBoard().FirstBallDown() && n == W;
        const bool goesRight = x >= g.Scene().FloatAniBallX[b]->StartValue;
        const int rx = static_cast<int>(std::lrint(x));
        const bool aimRight = goesRight && n == W - rx + 100;
        const bool aimLeft = !goesRight && n == rx + 100;
        if (!firstLeg && !aimRight && !aimLeft) return std::nullopt;

        // Where the ball's left edge must be when its top reaches the aimed face.
        const int column = aimBlock >= 0 ? aimBlock % 16 : GapColumn(TargetSlot());
        const TImage* aim = g.Scene().ImgBlock[aimBlock >= 0 ? aimBlock : column];
        if (aimBlock < 0)
            for (int r = 2; r >= 1; --r)
                if (g.Scene().ImgBlock[r * 16 + column]->Visible) { aim = g.Scene().ImgBlock[r * 16 + column]; break; }
        const float aimX = aim->Position.X + aim->Width / 2 - ball->Width / 2;

        const float yStop = onPaddle ? 0.0f : g.Scene().FloatAniBallY[b]->StopValue;
        float stop;
        if (yStop < y) {  // upwards: cross the aimed face at aimX
            const float face = aim->Position.Y + aim->Height;
            const float part = (y - face) / (y - yStop);
            stop = part > 0.05f ? x + (aimX - x) / part : aimX;
        } else {  // downwards: land where the next leg can turn up to the aim
            const bool aimIsAhead = goesRight ? aimX >= x : aimX < x;
            stop = aimIsAhead ? (goesRight ? x : x - 1) : (goesRight ? 1e6f : -1e6f);
        }
        if (firstLeg) return static_cast<int>(std::lrint(stop - 50));
        if (aimRight) return stop < x ? n - 1 : static_cast<int>(std::lrint(stop - x));
        return stop >= x ? 0 : static_cast<int>(std::lrint(stop + 100));
    }
};

}  // namespace game_test
