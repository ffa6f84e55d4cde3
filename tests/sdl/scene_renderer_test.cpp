#include "platform/sdl/scene_renderer.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

namespace {

// A scene drawn by the software renderer into a plain surface: no display.
struct RendererFixture : ::testing::Test {
    static constexpr int kW = 160, kH = 120;
    SDL_Surface* target = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<FontLibrary> fonts;
    std::unique_ptr<SceneRenderer> scene;
    TForm form{kW, kH};
    std::filesystem::path dir;

    void SetUp() override { Open(kW, kH); }

    void Open(int w, int h) {
        scene.reset();
        if (renderer) SDL_DestroyRenderer(renderer);
        if (target) SDL_FreeSurface(target);
        target = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(target, nullptr);
        renderer = SDL_CreateSoftwareRenderer(target);
        ASSERT_NE(renderer, nullptr) << SDL_GetError();
        if (!fonts) fonts = std::make_unique<FontLibrary>();
        scene = std::make_unique<SceneRenderer>(renderer, *fonts);
        dir = std::filesystem::temp_directory_path() / ("teramon_sdl_test_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
    }

    void TearDown() override {
        scene.reset();
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(target);
        std::filesystem::remove_all(dir);
    }

    // A solid picture file of the given size and colour.
    std::string Picture(const char* name, int w, int h, Uint32 argb) {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        SDL_FillRect(s, nullptr, argb);
        std::string path = (dir / name).string();
        EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0);
        SDL_FreeSurface(s);
        return path;
    }

    Uint32 Pixel(int x, int y) {
        SDL_RenderFlush(renderer);
        return static_cast<Uint32*>(target->pixels)[y * target->pitch / 4 + x] & 0xFFFFFF;
    }

    int CountPixels(int x0, int y0, int x1, int y1, bool (*pred)(Uint32)) {
        SDL_RenderFlush(renderer);
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += pred(Pixel(x, y));
        return n;
    }
};

bool IsRed(Uint32 c) { return c == 0xFF0000; }
bool IsBlack(Uint32 c) { return c == 0; }
int Red(Uint32 c) { return (c >> 16) & 0xFF; }
int Green(Uint32 c) { return (c >> 8) & 0xFF; }
int Blue(Uint32 c) { return c & 0xFF; }

}  // namespace

TEST_F(RendererFixture, PicturesStretchOrFitIntoTheirRectangles) {
    std::string red = Picture("red.png", 3, 3, 0xFFFF0000);
    TImage* stretched = form.Create<TImage>(&form);
    stretched->SetBounds(10, 10, 50, 20);
    stretched->WrapMode = TImageWrapMode::iwStretch;
    ASSERT_TRUE(stretched->Bitmap.LoadFromFile(red));
    TImage* fitted = form.Create<TImage>(&form);
    fitted->SetBounds(80, 10, 60, 20);  // a square picture fits as 20 × 20, centred
    ASSERT_TRUE(fitted->Bitmap.LoadFromFile(red));

    // Later frames draw from copies scaled once to the steady size: same result.
    for (int frame = 0; frame < 5; ++frame) {
        scene->Draw(form);
        EXPECT_EQ(CountPixels(10, 10, 60, 30, IsRed), 50 * 20) << "frame " << frame;
        EXPECT_EQ(CountPixels(0, 0, 70, 40, IsRed), 50 * 20);  // nothing outside the rectangle
        EXPECT_EQ(CountPixels(100, 10, 120, 30, IsRed), 20 * 20);
        EXPECT_EQ(CountPixels(80, 0, 160, 40, IsRed), 20 * 20);
    }
    stretched->Width = 30;  // a new size is stretched again at once
    scene->Draw(form);
    EXPECT_EQ(CountPixels(0, 0, 70, 40, IsRed), 30 * 20);
}

TEST_F(RendererFixture, BackgroundFillsTheOutputAndTheClientAreaIsScaledOntoIt) {
    form.Fill.LoadFromFile(Picture("bg.png", 4, 4, 0xFF0000FF));
    std::string red = Picture("red.png", 2, 2, 0xFFFF0000);
    TImage* img = form.Create<TImage>(&form);
    img->SetBounds(40, 30, 40, 30);
    img->WrapMode = TImageWrapMode::iwStretch;
    img->Bitmap.LoadFromFile(red);
    // The form keeps a 160 × 120 client area; the output is twice as large.
    Open(320, 240);
    for (int frame = 0; frame < 4; ++frame) scene->Draw(form);
    EXPECT_EQ(Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(Pixel(319, 239), 0x0000FFu);
    EXPECT_EQ(Pixel(80, 60), 0xFF0000u);
    EXPECT_EQ(Pixel(159, 119), 0xFF0000u);
    EXPECT_EQ(Pixel(161, 121), 0x0000FFu);
}

TEST_F(RendererFixture, OpacityMultipliesDownTheTreeAndHiddenParentsHideChildren) {
    TRectangle* panel = form.Create<TRectangle>(&form);
    panel->SetBounds(0, 0, 80, 60);
    panel->Fill.Color = 0x00000000;  // fully transparent itself
    panel->Opacity = 0.5f;
    TRectangle* inner = form.Create<TRectangle>(panel);
    inner->SetBounds(10, 10, 20, 20);
    inner->Fill.Color = Colors::White;
    inner->Opacity = 0.5f;
    TRectangle* hiddenParent = form.Create<TRectangle>(&form);
    hiddenParent->SetBounds(100, 0, 50, 50);
    hiddenParent->Visible = false;
    TRectangle* child = form.Create<TRectangle>(hiddenParent);
    child->SetBounds(0, 0, 10, 10);

    scene->Draw(form);
    EXPECT_NEAR(Red(Pixel(20, 20)), 64, 2);  // white at 0.5 × 0.5 over black
    EXPECT_EQ(Pixel(5, 5), 0u);
    EXPECT_EQ(CountPixels(100, 0, 160, 60, IsBlack), 60 * 60);
}

TEST_F(RendererFixture, MissingOrBrokenPicturesDrawNothing) {
    std::string broken = (dir / "broken.png").string();
    FILE* f = std::fopen(broken.c_str(), "wb");
    std::fputs("not a picture", f);
    std::fclose(f);
    TImage* img = form.Create<TImage>(&form);
    img->SetBounds(0, 0, 160, 120);
    ASSERT_TRUE(img->Bitmap.LoadFromFile(broken));
    form.Fill.LoadFromFile(broken);
    scene->Draw(form);
    scene->Draw(form);
    EXPECT_EQ(CountPixels(0, 0, 160, 120, IsBlack), 160 * 120);
}

TEST_F(RendererFixture, LabelsDrawInTheirColourWithAGlowAndRenderOnlyWhenTheTextChanges) {
    TLabel* label = form.Create<TLabel>(&form);
    label->SetBounds(0, 40, 160, 40);
    label->Text = "四字熟語";
    label->Font.Size = 24;
    label->FontColor = 0xFF00FF00;
    label->TextAlign = TTextAlign::taCenter;
    TGlowEffect* glow = form.Create<TGlowEffect>(label);
    glow->GlowColor = 0xFFFF0000;
    glow->Opacity = 1;

    scene->Draw(form);
    auto greenish = [](Uint32 c) { return Green(c) > 200 && Red(c) < 60; };
    auto reddish = [](Uint32 c) { return Red(c) > 100 && Green(c) < 40 && Blue(c) < 40; };
    int green = 0, red = 0, greenOutsideCentre = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            Uint32 c = Pixel(x, y);
            green += greenish(c);
            red += reddish(c);
            if (greenish(c) && (y < 40 || y >= 80 || x < 20 || x >= 140)) ++greenOutsideCentre;
        }
    EXPECT_GT(green, 100);     // four 24-pixel characters, centred in the label
    EXPECT_EQ(greenOutsideCentre, 0);
    EXPECT_GT(red, 50);        // the halo around them

    const size_t texts = scene->Texts().Size();
    label->FontColor = Colors::Gold;  // tinting needs no new texture
    scene->Draw(form);
    EXPECT_EQ(scene->Texts().Size(), texts);
    label->Text = "一期一会";
    scene->Draw(form);
    EXPECT_EQ(scene->Texts().Size(), texts + 1);
}

TEST_F(RendererFixture, AtFactorTwoTextsAreRenderedTwiceAsLargeAndPicturesKeepTheirFullDetail) {
    // Two columns, red and blue, side by side in a 2 x 1 picture.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 2, 1, 32, SDL_PIXELFORMAT_ARGB8888);
    static_cast<Uint32*>(s->pixels)[0] = 0xFFFF0000;
    static_cast<Uint32*>(s->pixels)[1] = 0xFF0000FF;
    const std::string stripes = (dir / "stripes.png").string();
    ASSERT_EQ(IMG_SavePNG(s, stripes.c_str()), 0);
    SDL_FreeSurface(s);

    TLabel* label = form.Create<TLabel>(&form);
    label->SetBounds(0, 20, 160, 60);
    label->Text = "四字熟語";
    label->Font.Size = 20;
    label->FontColor = 0xFF00FF00;
    TImage* img = form.Create<TImage>(&form);
    img->SetBounds(100, 100, 1, 0.5f);  // the picture's full size is 2 x 1 physical pixels at factor 2
    img->WrapMode = TImageWrapMode::iwStretch;
    ASSERT_TRUE(img->Bitmap.LoadFromFile(stripes));

    struct Drawn {
        int textureHeight = 0, inkTop = 0, inkBottom = 0;
    };
    auto draw = [&](int factor) {
        Open(kW * factor, kH * factor);  // the form keeps its 160 x 120 logical pixels
        scene->Draw(form);
        Drawn d;
        const auto renderings = scene->Texts().RenderingsOf("四字熟語");
        EXPECT_EQ(renderings.size(), 1u);
        if (!renderings.empty()) d.textureHeight = renderings[0]->height;
        d.inkTop = kH * factor;
        d.inkBottom = -1;
        for (int y = 0; y < kH * factor; ++y)
            for (int x = 0; x < kW * factor; ++x)
                if (Green(Pixel(x, y)) > 128) { d.inkTop = std::min(d.inkTop, y); d.inkBottom = std::max(d.inkBottom, y); }
        return d;
    };
    const Drawn one = draw(1), two = draw(2);
    ASSERT_GT(one.textureHeight, 15);
    EXPECT_NEAR(two.textureHeight, 2 * one.textureHeight, 2);
    const int inkOne = one.inkBottom - one.inkTop + 1, inkTwo = two.inkBottom - two.inkTop + 1;
    ASSERT_GT(inkOne, 10);
    EXPECT_NEAR(inkTwo, 2 * inkOne, 3);
    // Both columns of the picture show, one physical pixel each.
    EXPECT_EQ(Pixel(200, 200), 0xFF0000u);
    EXPECT_EQ(Pixel(201, 200), 0x0000FFu);
}

TEST_F(RendererFixture, StretchedCharactersFillTheirRectangle) {
    TText* text = form.Create<TText>(&form);
    text->Text = "■";
    text->Stretch = true;
    text->Color = Colors::White;
    text->SetBounds(10, 10, 140, 40);  // much wider than one character is tall
    scene->Draw(form);
    auto lit = [](Uint32 c) { return Red(c) > 128; };
    int minX = 160, maxX = -1;
    for (int y = 10; y < 50; ++y)
        for (int x = 0; x < 160; ++x)
            if (lit(Pixel(x, y))) { minX = std::min(minX, x); maxX = std::max(maxX, x); }
    EXPECT_LT(minX, 30);
    EXPECT_GT(maxX, 130);
    EXPECT_EQ(CountPixels(0, 55, 160, 120, +[](Uint32 c) { return Red(c) > 128; }), 0);
}
