// A blocking sound holds the thread: the frame on screen meanwhile must show what
// led to it (after a correct answer: the idiom, its reading and meaning, the points).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

// A display that wants a frame every 16 ms and records what each frame showed.
class RecordingDisplay : public EventBackend {
public:
    struct Frame {
        uint32_t atMs;
        size_t effectsBefore;  // effects started before the frame was drawn
        std::string kaitoMoji;
        bool kaitoMojiShown, yomiShown, imiShown, scoreShown;
    };

    explicit RecordingDisplay(GameFixture& fx) : fx_(fx) {}
    void PumpEvents() override {}
    void DrawFrame() override {
        TForm1& g = fx_.f();
        frames.push_back({fx_.clock.NowMs(), fx_.effects.played().size(), g.Scene().LblKaitoMoji->Text,
                          g.Scene().LblKaitoMoji->Visible, g.Scene().LblYomi->Visible, g.Scene().LblImi->Visible, g.Scene().LblScore->Visible});
        nextMs_ = fx_.clock.NowMs() + 16;
    }
    bool FrameDue() override { return static_cast<int32_t>(fx_.clock.NowMs() - nextMs_) >= 0; }
    void Idle(uint32_t) override {}

    // The last frame drawn before effect number i started.
    const Frame* LastFrameBefore(size_t i) const {
        const Frame* last = nullptr;
        for (const Frame& f : frames)
            if (f.effectsBefore <= i) last = &f;
        return last;
    }

    std::vector<Frame> frames;

private:
    GameFixture& fx_;
    uint32_t nextMs_ = 0;
};

// Every blocking sound comes right after a frame drawn at the moment it starts.
void ExpectAFrameRightBeforeEachBlockingSound(const GameFixture& fx, const RecordingDisplay& display) {
    int blocking = 0;
    const auto& played = fx.effects.played();
    for (size_t i = 0; i < played.size(); ++i) {
        if (!played[i].synchronous) continue;
        ++blocking;
        const RecordingDisplay::Frame* frame = display.LastFrameBefore(i);
        ASSERT_NE(frame, nullptr) << played[i].path;
        EXPECT_EQ(frame->effectsBefore, i) << played[i].path << ": an earlier sound came after the last frame";
        EXPECT_EQ(frame->atMs, played[i].startMs) << played[i].path;
    }
    EXPECT_GT(blocking, 0);
}

TEST(BlockingSoundFrames, TheAnswerIsOnScreenWhileTheJinglePlays) {
    GameFixture fx;
    TForm1& g = fx.f();
    RecordingDisplay display(fx);
    fx.app.SetBackend(&display);
    fx.steering = true;
    fx.StartQuestion();
    ASSERT_TRUE(fx.PlayUntil([&] { return g.GameProgress().Clear() || g.GameProgress().GameOver(); }, 300000));
    ASSERT_TRUE(g.GameProgress().Clear());
    const int s = g.GameBoard().BallSeikaiMojiNo();

    const auto& played = fx.effects.played();
    size_t jingle = played.size();
    for (size_t i = 0; i < played.size(); ++i)
        if (played[i].path == fx.programFolder + "Data/Sound/Seikai1.wav") jingle = i;
    ASSERT_LT(jingle, played.size());
    ASSERT_TRUE(played[jingle].synchronous);

    const RecordingDisplay::Frame* frame = display.LastFrameBefore(jingle);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->atMs, played[jingle].startMs);
    EXPECT_EQ(frame->kaitoMoji, g.SlotQuestion(s).Jukugo);
    EXPECT_TRUE(frame->kaitoMojiShown);
    EXPECT_TRUE(frame->yomiShown);
    EXPECT_TRUE(frame->imiShown);
    EXPECT_TRUE(frame->scoreShown);
    ExpectAFrameRightBeforeEachBlockingSound(fx, display);
    fx.app.SetBackend(nullptr);
}

TEST(BlockingSoundFrames, TheLostQuestionAndTheStrokeRoundPaintBeforeTheirSounds) {
    {
        GameFixture fx;
        RecordingDisplay display(fx);
        fx.app.SetBackend(&display);
        fx.StartQuestion();
        fx.f().Scene().ImgPad->Position.X = 2000;  // three balls fall past
        ASSERT_TRUE(fx.RunUntil([&] { return fx.f().GameProgress().GameOver(); }, 20000));
        ASSERT_TRUE(fx.Played("Data/Sound/gameover.wav"));
        ExpectAFrameRightBeforeEachBlockingSound(fx, display);
        fx.app.SetBackend(nullptr);
    }
    {
        GameFixture fx;
        RecordingDisplay display(fx);
        fx.app.SetBackend(&display);
        fx.Key(VK_MENU_KEY);  // to the stroke challenge
        fx.StartQuestion();
        fx.HitBlockFromBelow(fx.GapColumn(fx.f().GameBoard().BallMojiNo()[0]));
        ASSERT_EQ(fx.f().GameBoard().MovingBallNo(), 1);
        ASSERT_TRUE(fx.Played("Data/Sound/seikai.wav"));
        ExpectAFrameRightBeforeEachBlockingSound(fx, display);
        fx.app.SetBackend(nullptr);
    }
}

}  // namespace
