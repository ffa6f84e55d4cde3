// The scene tree: order, visibility, scaling with the window, mouse routing,
// picture loading and closing a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/scene.h"

namespace {

std::vector<SceneObject*> Kids(const SceneObject& o) { return o.Children(); }

TEST(SceneTreeTest, ParentOrderAndRoot) {
    TForm form(800, 600);
    auto* a = form.Create<TImage>(&form);
    auto* b = form.Create<TImage>(&form);
    auto* c = form.Create<TText>(&form);
    EXPECT_EQ(Kids(form), (std::vector<SceneObject*>{a, b, c}));
    a->BringToFront();
    EXPECT_EQ(Kids(form), (std::vector<SceneObject*>{b, c, a}));
    a->SendToBack();
    EXPECT_EQ(Kids(form), (std::vector<SceneObject*>{a, b, c}));

    c->SetParent(a);  // re-parented: leaves the old list, drawn last in the new one
    EXPECT_EQ(Kids(form), (std::vector<SceneObject*>{a, b}));
    EXPECT_EQ(Kids(*a), (std::vector<SceneObject*>{c}));
    EXPECT_EQ(c->RootForm(), &form);

    auto* loose = form.Create<TImage>(nullptr);
    EXPECT_EQ(loose->RootForm(), nullptr);
    EXPECT_EQ(loose->Owner(), &form);
    c->SetParent(loose);
    EXPECT_EQ(c->RootForm(), nullptr);
    EXPECT_TRUE(Kids(*a).empty());
}

TEST(SceneTreeTest, ShownOnlyWhenEveryAncestorIsVisible) {
    TForm form(800, 600);
    auto* panel = form.Create<TRectangle>(&form);
    auto* text = form.Create<TText>(panel);
    EXPECT_TRUE(text->IsShownInScene());
    panel->Visible = false;
    EXPECT_TRUE(text->Visible);
    EXPECT_FALSE(text->IsShownInScene());
}

TEST(SceneTreeTest, DestroyingAnObjectUnlinksIt) {
    TForm form(800, 600);
    auto* keep = form.Create<TImage>(&form);
    {
        TImage temp(&form);
        temp.SetParent(&form);
        keep->SetParent(&temp);
    }
    EXPECT_EQ(keep->Parent(), nullptr);
    EXPECT_TRUE(Kids(form).empty());
}

TEST(SceneTreeTest, Defaults) {
    TForm form(800, 600);
    auto* img = form.Create<TImage>(&form);
    auto* label = form.Create<TLabel>(&form);
    auto* shadow = form.Create<TShadowEffect>(img);
    auto* glow = form.Create<TGlowEffect>(label);
    EXPECT_TRUE(img->HitTest);
    EXPECT_EQ(img->WrapMode, TImageWrapMode::iwFit);
    EXPECT_FALSE(label->HitTest);
    EXPECT_TRUE(label->WordWrap);
    EXPECT_EQ(label->TextAlign, TTextAlign::taLeading);
    EXPECT_EQ(shadow->Direction, 45);
    EXPECT_EQ(shadow->Distance, 3);
    EXPECT_EQ(glow->GlowColor, Colors::Gold);
}

class ScalingTest : public ::testing::Test {
protected:
    TForm form{800, 600};
    TImage* img = form.Create<TImage>(&form);
    TLabel* label = form.Create<TLabel>(&form);
    TImage* inner = form.Create<TImage>(img);
    TImage* fill = form.Create<TImage>(img);
    TRectangle* panel = form.Create<TRectangle>(&form);
    TImage* fixed = form.Create<TImage>(&form);

    void SetUp() override {
        img->SetBounds(100, 60, 40, 30);
        img->Align = TAlignLayout::alScale;
        label->SetBounds(200, 300, 400, 50);
        label->Align = TAlignLayout::alScale;
        label->Font.Size = 24;
        inner->SetBounds(10, 6, 20, 15);
        inner->Align = TAlignLayout::alScale;
        fill->Align = TAlignLayout::alClient;
        panel->SetBounds(600, 450, 180, 140);
        panel->AnchorRightBottom = true;
        fixed->SetBounds(5, 5, 10, 10);
    }
    void ExpectRect(const TControl* c, float x, float y, float w, float h) {
        EXPECT_FLOAT_EQ(c->Position.X, x);
        EXPECT_FLOAT_EQ(c->Position.Y, y);
        EXPECT_FLOAT_EQ(c->Width, w);
        EXPECT_FLOAT_EQ(c->Height, h);
    }
};

TEST_F(ScalingTest, WindowResizeScalesAnchorsAndFills) {
    form.SetClientSize(1600, 900);
    EXPECT_EQ(form.ClientWidth(), 1600);
    EXPECT_EQ(form.ClientHeight(), 900);
    ExpectRect(img, 200, 90, 80, 45);
    ExpectRect(label, 400, 450, 800, 75);
    EXPECT_EQ(label->Font.Size, 24);        // fonts are not scaled
    ExpectRect(inner, 20, 9, 40, 22.5f);    // scaled against its parent's new size
    ExpectRect(fill, 0, 0, 80, 45);         // fills its scaled parent
    ExpectRect(panel, 1400, 750, 180, 140); // keeps its distances to the bottom-right corner
    ExpectRect(fixed, 5, 5, 10, 10);
}

TEST_F(ScalingTest, MinimiseAndRestoreMovesNothing) {
    form.SetClientSize(1600, 900);
    form.SetClientSize(0, 0);
    ExpectRect(img, 200, 90, 80, 45);
    form.SetClientSize(1600, 900);
    ExpectRect(img, 200, 90, 80, 45);
    ExpectRect(panel, 1400, 750, 180, 140);
    form.SetClientSize(800, 600);  // and back to the design size
    ExpectRect(img, 100, 60, 40, 30);
    ExpectRect(inner, 10, 6, 20, 15);
    ExpectRect(panel, 600, 450, 180, 140);
}

// Mouse moves reach the topmost visible hit-testable object under the pointer.
TEST(MouseRoutingTest, RoutesToTopmostHitTestableObject) {
    TForm form(800, 600);
    std::string got;
    float gotX = -1, gotY = -1;
    auto record = [&](const char* who) {
        return [&got, &gotX, &gotY, who](SceneObject*, TShiftState, float x, float y) {
            got = who;
            gotX = x;
            gotY = y;
        };
    };
    form.OnMouseMove = record("window");
    auto* back = form.Create<TImage>(&form);
    back->SetBounds(0, 0, 200, 200);
    back->OnMouseMove = record("back");
    auto* label = form.Create<TLabel>(&form);  // HitTest false by default
    label->SetBounds(0, 0, 300, 100);
    label->OnMouseMove = record("label");
    auto* swallow = form.Create<TImage>(&form);  // HitTest true, no handler
    swallow->SetBounds(150, 150, 100, 100);
    auto* hidden = form.Create<TImage>(&form);
    hidden->SetBounds(0, 0, 800, 600);
    hidden->Visible = false;
    hidden->OnMouseMove = record("hidden");
    auto* holder = form.Create<TImage>(&form);
    holder->SetBounds(400, 300, 100, 100);
    holder->HitTest = false;
    auto* child = form.Create<TImage>(holder);  // children lie above their parent
    child->SetBounds(10, 20, 30, 30);
    child->OnMouseMove = record("child");
    form.Create<TShadowEffect>(child);

    struct Case {
        float x, y;
        const char* expected;  // "" = taken without a handler
        float relX, relY;
        TControl* object;
    };
    const Case cases[] = {
        {50, 50, "back", 50, 50, back},          // through the label
        {250, 50, "window", 250, 50, nullptr},   // label only: passes through to the window
        {160, 170, "", 0, 0, swallow},           // swallowed
        {415, 325, "child", 5, 5, child},
        {405, 305, "window", 405, 305, nullptr}, // the holder lets it through
        {700, 500, "window", 700, 500, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        got.clear();
        EXPECT_EQ(form.ObjectAt(c.x, c.y), c.object);
        form.RouteMouseMove(c.x, c.y, TShiftState{});
        EXPECT_EQ(got, c.expected);
        if (*c.expected) {
            EXPECT_FLOAT_EQ(gotX, c.relX);
            EXPECT_FLOAT_EQ(gotY, c.relY);
        }
    }
}

TEST(BitmapTest, LoadsOnlyReadableNonEmptyFiles) {
    const std::string dir = ::testing::TempDir();
    const std::string good = dir + "/bitmap_good.png", empty = dir + "/bitmap_empty.png";
    std::ofstream(good, std::ios::binary) << "\x89PNG";
    std::ofstream(empty, std::ios::binary).flush();

    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromFile(good));
    EXPECT_EQ(bmp.Path(), good);
    const uint32_t version = bmp.Version();
    for (const std::string& bad : {empty, dir + "/no_such_picture.png", dir}) {
        EXPECT_FALSE(bmp.LoadFromFile(bad)) << bad;
        EXPECT_EQ(bmp.Path(), good);
        EXPECT_EQ(bmp.Version(), version);
    }
    EXPECT_TRUE(bmp.LoadFromFile(good));  // reloading the same file counts as a change
    EXPECT_GT(bmp.Version(), version);
    std::remove(good.c_str());
    std::remove(empty.c_str());
}

TEST(FormCloseTest, CloseQueryMayRefuse) {
    TForm form(622, 599);
    bool allow = false;
    int closes = 0;
    form.OnCloseQuery = [&](SceneObject*, bool& canClose) {
        EXPECT_TRUE(canClose);
        canClose = allow;
    };
    form.OnClose = [&](SceneObject*) { ++closes; };
    form.Close();
    EXPECT_FALSE(form.IsClosed());
    EXPECT_TRUE(form.Visible);
    EXPECT_EQ(closes, 0);
    allow = true;
    form.Close();
    EXPECT_TRUE(form.IsClosed());
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(closes, 1);
    form.Reopen();
    EXPECT_FALSE(form.IsClosed());
    EXPECT_TRUE(form.Visible);
}

}  // namespace
