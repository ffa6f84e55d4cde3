// When a window needs a new frame: changes to what is visible do, changes to
// hidden objects do not, a drawn frame clears it; and the event loop on a
// recording back end draws only then, waiting for the next event or timer
// in between instead of spinning.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/animation.h"
#include "platform/application.h"
#include "platform/timer.h"

namespace {

// One of every kind of object, some of them not shown.
struct SceneFixture {
    TForm form{800, 600};
    TImage* picture;
    TLabel* label;
    TGlowEffect* glow;
    TText* text;
    TShadowEffect* shadow;
    TRectangle* panel;
    TRectangle* hiddenPanel;
    TLabel* labelInHiddenPanel;
    TImage* transparent;
    TRectangle* overlapped;
    std::string pictureFile;

    SceneFixture() {
        pictureFile = (std::filesystem::temp_directory_path() /
                       ("teramon_frame_needs_" + std::to_string(getpid()) + ".png"))
                          .string();
        std::ofstream(pictureFile) << "not empty";
        picture = form.Create<TImage>(&form);
        picture->SetBounds(10, 10, 100, 50);
        picture->Bitmap.LoadFromFile(pictureFile);
        label = form.Create<TLabel>(&form);
        label->SetBounds(10, 100, 300, 30);
        label->Text = "四字熟語";
        glow = form.Create<TGlowEffect>(label);
        text = form.Create<TText>(&form);
        text->SetBounds(200, 10, 40, 40);
        text->Text = "字";
        shadow = form.Create<TShadowEffect>(text);
        panel = form.Create<TRectangle>(&form);
        panel->SetBounds(400, 300, 200, 200);
        hiddenPanel = form.Create<TRectangle>(&form);
        hiddenPanel->SetBounds(0, 400, 200, 100);
        hiddenPanel->Visible = false;
        labelInHiddenPanel = form.Create<TLabel>(hiddenPanel);
        labelInHiddenPanel->Text = "隠れた";
        transparent = form.Create<TImage>(&form);
        transparent->SetBounds(500, 10, 50, 50);
        transparent->Opacity = 0;
        overlapped = form.Create<TRectangle>(panel);
        overlapped->SetBounds(10, 10, 50, 50);
    }
    ~SceneFixture() { std::remove(pictureFile.c_str()); }
};

struct ChangeCase {
    const char* what;
    std::function<void(SceneFixture&)> change;
    bool needsFrame;
};

TEST(FrameNeedsTest, EachKindOfChangeAgainstTheLastDrawnFrame) {
    const std::vector<ChangeCase> cases = {
        {"picture moved", [](SceneFixture& s) { s.picture->Position.X += 1; }, true},
        {"picture resized", [](SceneFixture& s) { s.picture->Height = 51; }, true},
        {"picture faded a little", [](SceneFixture& s) { s.picture->Opacity = 0.9f; }, true},
        {"same picture file loaded again", [](SceneFixture& s) { s.picture->Bitmap.LoadFromFile(s.pictureFile); }, true},
        {"picture cleared", [](SceneFixture& s) { s.picture->Bitmap.Clear(); }, true},
        {"picture wrap mode", [](SceneFixture& s) { s.picture->WrapMode = TImageWrapMode::iwStretch; }, true},
        {"label text", [](SceneFixture& s) { s.label->Text = "一期一会"; }, true},
        {"label colour", [](SceneFixture& s) { s.label->FontColor = Colors::Gold; }, true},
        {"label font size", [](SceneFixture& s) { s.label->Font.Size = 20; }, true},
        {"label bold", [](SceneFixture& s) { s.label->Font.Bold = true; }, true},
        {"label alignment", [](SceneFixture& s) { s.label->TextAlign = TTextAlign::taCenter; }, true},
        {"glow colour", [](SceneFixture& s) { s.glow->GlowColor = Colors::Crimson; }, true},
        {"glow switched off", [](SceneFixture& s) { s.glow->Enabled = false; }, true},
        {"character", [](SceneFixture& s) { s.text->Text = "語"; }, true},
        {"character colour", [](SceneFixture& s) { s.text->Color = Colors::White; }, true},
        {"character stretched", [](SceneFixture& s) { s.text->Stretch = true; }, true},
        {"shadow distance", [](SceneFixture& s) { s.shadow->Distance = 5; }, true},
        {"rectangle colour", [](SceneFixture& s) { s.panel->Fill.Color = Colors::Black; }, true},
        {"parent moved (children move with it)", [](SceneFixture& s) { s.panel->Position.Y -= 3; }, true},
        {"hidden panel shown", [](SceneFixture& s) { s.hiddenPanel->Visible = true; }, true},
        {"picture hidden", [](SceneFixture& s) { s.picture->Visible = false; }, true},
        {"transparent picture faded in", [](SceneFixture& s) { s.transparent->Opacity = 0.1f; }, true},
        {"drawing order changed", [](SceneFixture& s) { s.picture->BringToFront(); }, true},
        {"object added", [](SceneFixture& s) { s.form.Create<TRectangle>(&s.form); }, true},
        {"object taken out of the scene", [](SceneFixture& s) { s.text->SetParent(nullptr); }, true},
        {"window colour", [](SceneFixture& s) { s.form.FillColor = Colors::White; }, true},
        {"window picture", [](SceneFixture& s) { s.form.Fill.LoadFromFile(s.pictureFile); }, true},
        {"window size", [](SceneFixture& s) { s.form.SetClientSize(1024, 768); }, true},
        {"window exposed", [](SceneFixture& s) { s.form.Invalidate(); }, true},

        {"hidden panel moved", [](SceneFixture& s) { s.hiddenPanel->Position.X = 50; }, false},
        {"text inside the hidden panel",
         [](SceneFixture& s) { s.labelInHiddenPanel->Text = "まだ隠れている"; }, false},
        {"transparent picture moved", [](SceneFixture& s) { s.transparent->Position.X = 0; }, false},
        {"a value set to what it was", [](SceneFixture& s) { s.picture->Position.X = 10; }, false},
        {"name, hit test and mouse handler",
         [](SceneFixture& s) {
             s.picture->Name = "ImgBall";
             s.picture->HitTest = false;
             s.picture->OnMouseMove = [](SceneObject*, TShiftState, float, float) {};
         },
         false},
        {"colour of a glow that is off",
         [](SceneFixture& s) {
             s.glow->Enabled = false;
             s.form.FrameDrawn();
             s.glow->GlowColor = Colors::Aqua;
         },
         false},
    };
    for (const ChangeCase& c : cases) {
        SceneFixture s;
        EXPECT_TRUE(s.form.NeedsFrame()) << "never drawn: " << c.what;
        s.form.FrameDrawn();
        EXPECT_FALSE(s.form.NeedsFrame()) << "just drawn: " << c.what;
        c.change(s);
        EXPECT_EQ(s.form.NeedsFrame(), c.needsFrame) << c.what;
        s.form.FrameDrawn();
        EXPECT_FALSE(s.form.NeedsFrame()) << "drawn after: " << c.what;
    }
}

TEST(FrameNeedsTest, ARunningAnimationNeedsAFrameAfterEachStepOnlyWhileItShows) {
    VirtualClock clock;
    Application app(clock);
    SceneFixture s;
    auto* move = s.form.Create<TFloatAnimation>(s.picture);
    move->PropertyName = "Position.X";
    move->StopValue = 300;
    move->Duration = 0.1f;
    auto* hiddenMove = s.form.Create<TFloatAnimation>(s.labelInHiddenPanel);
    hiddenMove->PropertyName = "Position.Y";
    hiddenMove->StopValue = 300;
    hiddenMove->Duration = 1;
    s.form.FrameDrawn();

    // A hidden object's animation runs without wanting frames.
    hiddenMove->Start();
    for (int step = 0; step < 5; ++step) {
        app.RunFor(10);
        EXPECT_FALSE(s.form.NeedsFrame()) << "step " << step;
    }
    ASSERT_TRUE(hiddenMove->Running());

    // A shown one wants a frame after every step, until it has ended.
    move->Start();
    int steps = 0;
    while (move->Running() && steps < 100) {
        app.RunFor(10);
        ++steps;
        EXPECT_TRUE(s.form.NeedsFrame()) << "step " << steps;
        s.form.FrameDrawn();
    }
    EXPECT_GE(steps, 9);
    EXPECT_FLOAT_EQ(s.picture->Position.X, 300);
    app.RunFor(50);
    EXPECT_FALSE(s.form.NeedsFrame());

    // Waiting out its delay changes nothing on screen.
    move->StartValue = 300;
    move->StopValue = 0;
    move->Delay = 0.05f;
    move->Start();
    app.RunFor(30);
    EXPECT_TRUE(move->Running());
    EXPECT_FALSE(s.form.NeedsFrame());
    app.RunFor(40);
    EXPECT_TRUE(s.form.NeedsFrame());
}

// A display at 60 frames a second that draws only when the window needs a
// frame. Waiting moves the virtual clock to the next scripted event, at most
// by what the loop allows: it records every wait.
class RecordingBackend : public EventBackend {
public:
    RecordingBackend(VirtualClock& clock, Application& app, TForm& form) : clock_(clock), app_(app), form_(form) {}

    void PumpEvents() override {
        while (!script.empty() && static_cast<int32_t>(clock_.NowMs() - script.front().first) >= 0) {
            app_.Post(script.front().second);
            script.erase(script.begin());
        }
    }
    bool FrameDue() override {
        wantsFrame_ = form_.NeedsFrame();
        return wantsFrame_ && static_cast<int32_t>(clock_.NowMs() - nextFrameMs_) >= 0;
    }
    void DrawFrame() override {
        frames.push_back({clock_.NowMs(), drawnValue ? drawnValue() : 0});
        form_.FrameDrawn();
        nextFrameMs_ = clock_.NowMs() + 16;
    }
    void Idle(uint32_t ms) override {
        if (wantsFrame_) ms = std::min(ms, nextFrameMs_ - clock_.NowMs());
        if (!script.empty()) ms = std::min(ms, script.front().first - clock_.NowMs());
        waits.push_back(ms);
        clock_.Advance(std::max<uint32_t>(ms, 1));
    }

    std::vector<std::pair<uint32_t, std::function<void()>>> script;  // sorted by time
    std::vector<std::pair<uint32_t, float>> frames;
    std::vector<uint32_t> waits;
    std::function<float()> drawnValue;

private:
    VirtualClock& clock_;
    Application& app_;
    TForm& form_;
    uint32_t nextFrameMs_ = 0;
    bool wantsFrame_ = true;
};

struct LoopFixture : ::testing::Test {
    VirtualClock clock{0};
    Application app{clock};
    SceneFixture s;
    RecordingBackend backend{clock, app, s.form};
    void SetUp() override { app.SetBackend(&backend); }
    void CloseAt(uint32_t ms) { backend.script.push_back({ms, [this] { s.form.Close(); }}); }
};

TEST_F(LoopFixture, AStillWindowDrawsOnceAndThenSleepsUntilTheNextEvent) {
    backend.script.push_back({5000, [this] { s.label->Text = "変わった"; }});
    CloseAt(10000);
    app.Run(s.form);
    ASSERT_EQ(backend.frames.size(), 2u);
    EXPECT_EQ(backend.frames[0].first, 0u);
    EXPECT_EQ(backend.frames[1].first, 5000u);
    // Two long waits (to the change, then to the close), not thousands of short ones.
    EXPECT_LE(backend.waits.size(), 4u);
}

TEST_F(LoopFixture, TimersWakeTheLoopButOnlyVisibleChangesDrawFrames) {
    TTimer* timer = s.form.Create<TTimer>(nullptr, app);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&](SceneObject*) {
        ++ticks;
        s.labelInHiddenPanel->Text = std::to_string(ticks);  // hidden: no frame
        if (ticks % 5 == 0) s.label->Text = std::to_string(ticks);
    };
    CloseAt(1050);
    app.Run(s.form);
    EXPECT_EQ(ticks, 10);
    // The first frame and one for each shown change (at 500 and 1000 ms).
    ASSERT_EQ(backend.frames.size(), 3u);
    EXPECT_EQ(backend.frames[1].first, 500u);
    EXPECT_EQ(backend.frames[2].first, 1000u);
    // Each wait lasts until the next tick or the close.
    EXPECT_LE(backend.waits.size(), 14u);
}

TEST_F(LoopFixture, AnAnimationDrawsPacedFramesShowingItsValueAtEachFrameThenStops) {
    auto* move = s.form.Create<TFloatAnimation>(s.picture);
    move->PropertyName = "Position.X";
    move->StartValue = 0;
    move->StopValue = 1000;
    move->Duration = 1;
    uint32_t startedAt = 0;
    backend.script.push_back({203, [&] {
        startedAt = clock.NowMs();
        move->Start();
    }});
    CloseAt(3000);
    backend.drawnValue = [&] { return s.picture->Position.X; };
    app.Run(s.form);

    std::vector<std::pair<uint32_t, float>> during;
    for (auto f : backend.frames)
        if (f.first > startedAt && f.first <= startedAt + 1000) during.push_back(f);
    // About 60 frames a second while it runs, each as of the moment it is drawn.
    EXPECT_GE(during.size(), 55u);
    EXPECT_LE(during.size(), 63u);
    for (auto [at, x] : during) EXPECT_FLOAT_EQ(x, static_cast<float>(at - startedAt)) << "frame at " << at;
    for (size_t i = 1; i < during.size(); ++i) EXPECT_GE(during[i].first - during[i - 1].first, 16u);
    // Nothing after it has ended.
    for (auto f : backend.frames) EXPECT_LE(f.first, startedAt + 1000 + 16) << "frame at " << f.first;
}

}  // namespace
