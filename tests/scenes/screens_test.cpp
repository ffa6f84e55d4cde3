// Whole screens of a played game drawn by the real renderer (software, no
// display): the answer with its reading and meaning, and a lost question.
// With TERAMON_SCENE_DIR set, the frames are also written there as PNG files.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/sdl/fonts.h"
#include "platform/sdl/scene_renderer.h"
#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

constexpr int kW = 1280, kH = 720;

class Screen {
public:
    Screen() {
        SDL_Init(SDL_INIT_VIDEO);
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer_ = SDL_CreateSoftwareRenderer(surface_);
    }
    ~Screen() {
        scene_.reset();
        SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(surface_);
    }
    void Draw(const TForm& form, const char* name) {
        if (!scene_) scene_ = std::make_unique<SceneRenderer>(renderer_, fonts_);
        scene_->Draw(form);
        SDL_RenderFlush(renderer_);
        if (const char* dir = std::getenv("TERAMON_SCENE_DIR"); dir && *dir)
            IMG_SavePNG(surface_, (std::string(dir) + "/" + name + ".png").c_str());
    }
    // Pixels inside the control's rectangle whose colour is close to rgb.
    int PixelsNear(const TControl& c, uint32_t rgb) const {
        const int x0 = std::max(0, static_cast<int>(c.Position.X)), y0 = std::max(0, static_cast<int>(c.Position.Y));
        const int x1 = std::min(kW, static_cast<int>(c.Position.X + c.Width));
        const int y1 = std::min(kH, static_cast<int>(c.Position.Y + c.Height));
        const auto* px = static_cast<const uint32_t*>(surface_->pixels);
        const int pitch = surface_->pitch / 4;
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const uint32_t p = px[y * pitch + x];
                const int dr = static_cast<int>((p >> 16) & 0xFF) - static_cast<int>((rgb >> 16) & 0xFF);
                const int dg = static_cast<int>((p >> 8) & 0xFF) - static_cast<int>((rgb >> 8) & 0xFF);
                const int db = static_cast<int>(p & 0xFF) - static_cast<int>(rgb & 0xFF);
                n += dr * dr + dg * dg + db * db < 40 * 40;
            }
        return n;
    }

private:
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    FontLibrary fonts_;
    std::unique_ptr<SceneRenderer> scene_;
};

TEST(ScreensTest, AnswerShowsIdiomReadingAndMeaningThenThePointsLand) {
    GameFixture fx;
    TForm1& f = fx.f();
    f.SetClientSize(kW, kH);
    Screen screen;
    fx.steering = true;
    fx.StartQuestion();
    screen.Draw(f, "countdown_over");
    ASSERT_TRUE(fx.PlayUntil([&] { return f.GameProgress().Clear(); }, 120000));
    fx.Run(300);
    screen.Draw(f, "answer");
    ASSERT_TRUE(f.Scene().LblYomi->Visible);
    ASSERT_TRUE(f.Scene().LblImi->Visible);
    // Reading and meaning are drawn in spring green; the points in aqua.
    EXPECT_GT(screen.PixelsNear(*f.Scene().LblYomi, 0x00FF7F), 30);
    EXPECT_GT(screen.PixelsNear(*f.Scene().LblImi, 0x00FF7F), 30);
    EXPECT_GT(screen.PixelsNear(*f.Scene().LblScore, 0x00FFFF), 30);
    fx.Run(3500);
    screen.Draw(f, "answer_landed");
    EXPECT_FALSE(f.Scene().LblScore->Visible);
    EXPECT_TRUE(f.Scene().ImgTitle->Visible);
}

TEST(ScreensTest, LostQuestionShowsTheAnswerUnderTheGameOverPicture) {
    GameFixture fx;
    TForm1& f = fx.f();
    f.SetClientSize(kW, kH);
    Screen screen;
    fx.StartQuestion();
    f.Scene().ImgPad->Position.X = 2000;  // nobody returns the balls
    ASSERT_TRUE(fx.RunUntil([&] { return f.GameProgress().GameOver(); }, 20000));
    fx.Run(100);
    screen.Draw(f, "game_over");
    EXPECT_EQ(f.Scene().LblMsg->Text, "[Shift]キーを押すと第1問から再開します。");
    EXPECT_GT(screen.PixelsNear(*f.Scene().LblMsg, 0xF0FFFF), 30);   // azure message
    EXPECT_GT(screen.PixelsNear(*f.Scene().LblKaitoMoji, 0xFFD700), 30);  // the idiom in gold
    EXPECT_GT(screen.PixelsNear(*f.Scene().LblImi, 0x00FF7F), 30);
}

}  // namespace
