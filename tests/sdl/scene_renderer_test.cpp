#include "platform/sdl/scene_renderer.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

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

namespace {

// A picture with detail in every pixel, so a copy landing a pixel off shows.
std::string PatternPicture(const std::filesystem::path& dir, const char* name, int w, int h, unsigned seed) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    auto* px = static_cast<Uint32*>(s->pixels);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned v = (x * 37u + y * 91u + seed * 53u + ((x ^ y) & 7u) * 29u) & 0xFFu;
            px[y * s->pitch / 4 + x] = 0xFF000000u | (v << 16) | (((v * 3u) & 0xFFu) << 8) | ((255u - v) & 0xFFu);
        }
    std::string path = (dir / name).string();
    EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0);
    SDL_FreeSurface(s);
    return path;
}

}  // namespace

// Frame after frame of moving, changing, appearing, disappearing and reordered
// objects over a stretched background: redrawing only the changed areas must
// leave exactly the picture a whole redraw gives.
TEST_F(RendererFixture, ChangedAreasRedrawToTheSamePictureAsAWholeFrame) {
    Open(400, 300);  // the 800 x 600 design at half size: everything is scaled
    form.Fill.LoadFromFile(PatternPicture(dir, "back.png", 301, 199, 1));
    std::vector<TControl*> movers;
    for (int i = 0; i < 4; ++i) {
        TImage* block = form.Create<TImage>(&form);
        block->SetBounds(40.0f + i * 150, 60, 120, 50);
        block->WrapMode = TImageWrapMode::iwStretch;
        block->Bitmap.LoadFromFile(PatternPicture(dir, ("block" + std::to_string(i) + ".png").c_str(), 37, 23, 2 + i));
        TText* ch = form.Create<TText>(block);
        ch->SetBounds(10, 5, 100, 40);
        ch->Stretch = true;
        ch->Text = "四";
        ch->Color = Colors::Gold;
        form.Create<TGlowEffect>(ch)->GlowColor = Colors::Crimson;
        movers.push_back(block);
    }
    TLabel* label = form.Create<TLabel>(&form);
    label->SetBounds(100, 70, 500, 60);
    label->Text = "一期一会";
    label->Font.Size = 24;
    form.Create<TShadowEffect>(label);
    TRectangle* veil = form.Create<TRectangle>(&form);
    veil->SetBounds(30, 40, 200, 100);
    veil->Fill.Color = 0x80204080;
    TImage* ball = form.Create<TImage>(&form);
    ball->SetBounds(50, 70, 30, 30);
    ball->Bitmap.LoadFromFile(PatternPicture(dir, "ball.png", 17, 17, 9));
    movers.push_back(label);
    movers.push_back(veil);
    movers.push_back(ball);

    const size_t bytes = static_cast<size_t>(target->pitch) * target->h;
    std::vector<Uint8> partial(bytes);
    auto drawChanges = [&]() -> SceneRenderer::Changes {
        form.NeedsFrame();
        SceneRenderer::Changes changes = scene->ChangedAreas(form);
        scene->DrawChanges(form, changes);
        SDL_RenderFlush(renderer);
        form.FrameDrawn();
        return changes;
    };
    // A few frames first: pictures drawn at a steady size get their scaled
    // copies (a frame making one is drawn whole, so it is not what is tested).
    for (int i = 0; i < 4; ++i) {
        form.Invalidate();
        drawChanges();
    }

    std::mt19937 random(7);
    int partialFrames = 0;
    const char* texts[] = {"温故知新", "千客万来", "", "一石二鳥の長い説明の文"};
    for (int step = 0; step < 80; ++step) {
        // Everything overlaps: the ball crosses the blocks' characters and
        // glows, under and over the veil and the label.
        ball->Position.X += 9.5f;
        TControl* c = movers[random() % movers.size()];
        switch (random() % 6) {
            case 0: c->Position.X += static_cast<float>(static_cast<int>(random() % 41) - 20) * 0.7f; break;
            case 1: c->Position.Y += static_cast<float>(static_cast<int>(random() % 21) - 10) * 1.3f; break;
            case 2: c->Visible = !c->Visible; break;
            case 3: c->BringToFront(); break;
            case 4: label->Text = texts[random() % 4]; break;
            case 5: c->Opacity = c->Opacity < 1 ? 1.0f : 0.5f; break;
        }
        const SceneRenderer::Changes changes = drawChanges();
        if (!changes.whole) ++partialFrames;
        std::memcpy(partial.data(), target->pixels, bytes);

        form.Invalidate();
        EXPECT_TRUE(drawChanges().whole);
        int differing = 0;
        SDL_Rect where{0, 0, 0, 0};
        for (int y = 0; y < target->h; ++y)
            for (int x = 0; x < target->w; ++x) {
                const size_t at = static_cast<size_t>(y) * target->pitch + static_cast<size_t>(x) * 4;
                if (std::memcmp(&partial[at], static_cast<Uint8*>(target->pixels) + at, 3) == 0) continue;
                ++differing;
                const SDL_Rect p{x, y, 1, 1};
                if (SDL_RectEmpty(&where)) where = p;
                else SDL_UnionRect(&where, &p, &where);
            }
        std::string areas;
        for (const SDL_Rect& a : changes.areas)
            areas += " " + std::to_string(a.x) + "," + std::to_string(a.y) + " " + std::to_string(a.w) + "x" +
                     std::to_string(a.h);
        ASSERT_EQ(differing, 0) << "step " << step << ": differing pixels within " << where.x << "," << where.y
                                << " " << where.w << "x" << where.h << "; areas drawn:" << areas;
    }
    // Most steps touched only part of the window.
    EXPECT_GT(partialFrames, 40);
}

TEST_F(RendererFixture, NothingChangedMeansNoAreaAndASmallChangeASmallArea) {
    TImage* ball = form.Create<TImage>(&form);
    ball->SetBounds(20, 20, 10, 10);
    ball->Bitmap.LoadFromFile(Picture("red.png", 10, 10, 0xFFFF0000));
    form.NeedsFrame();
    EXPECT_TRUE(scene->ChangedAreas(form).whole);  // never drawn
    scene->Draw(form);
    form.FrameDrawn();

    form.NeedsFrame();
    SceneRenderer::Changes same = scene->ChangedAreas(form);
    EXPECT_FALSE(same.whole);
    EXPECT_TRUE(same.areas.empty());
    scene->DrawChanges(form, same);
    form.FrameDrawn();

    ball->Position.X = 25;
    ASSERT_TRUE(form.NeedsFrame());
    SceneRenderer::Changes moved = scene->ChangedAreas(form);
    ASSERT_FALSE(moved.whole);
    ASSERT_EQ(moved.areas.size(), 1u);
    // The old and the new place, with a pixel of margin.
    EXPECT_LE(moved.areas[0].x, 20);
    EXPECT_GE(moved.areas[0].x + moved.areas[0].w, 35);
    EXPECT_LE(moved.areas[0].w * moved.areas[0].h, 17 * 12);
    scene->DrawChanges(form, moved);
    EXPECT_EQ(CountPixels(0, 0, kW, kH, IsRed), 100);
    EXPECT_EQ(Pixel(22, 25), 0u);
}
