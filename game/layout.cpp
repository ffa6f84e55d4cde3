// The fixed design of the main window at 800 x 600: labels, paddle, icons,
// samples, help panel, the frame timer and the design animations. Start-up
// scales it to the screen and builds the blocks, stones and balls from the samples.
#include "game/tform1.h"

namespace {

struct LabelStyle {
    float size;
    bool bold;
    TAlphaColor colour;
    TTextAlign align;
    bool wordWrap;
};

struct GlowStyle {
    float softness;
    TAlphaColor colour;
    float opacity;
};

using A = TTextAlign;
constexpr GlowStyle kHoneydew{0.4f, Colors::Honeydew, 0.9f};
constexpr GlowStyle kDarkblue{0.4f, Colors::Darkblue, 0.9f};

// Puts the design together, part by part, in the order its objects stack up.
class LayoutBuilder {
public:
    LayoutBuilder(TForm1& form, WindowObjects& objects) : f(form), o(objects) {}

    void SoundIcons();
    void Samples();  // the block, character and ball that start-up copies
    void Labels();
    void TitleAndScore();
    void Explosion();
    void HelpPanel();
    void Logo() { o.ImgLogo = Image(&f, 16, 488, 281, 50, "Data/Png/logo.png", TImageWrapMode::iwFit, false); }
    void Notice();

private:
    TImage* Image(SceneObject* parent, float x, float y, float w, float h, const char* picture,
                  TImageWrapMode wrap, bool movesPaddle);
    void Glow(SceneObject* on, GlowStyle g);
    TLabel* Label(float x, float y, float w, float h, const std::string& text, LabelStyle st, GlowStyle g);
    TFloatAnimation* Animation(SceneObject* parent, const char* property, float start, float stop, float duration,
                               float delay);

    TForm1& f;
    WindowObjects& o;  // what it builds
};

TImage* LayoutBuilder::Image(SceneObject* parent, float x, float y, float w, float h, const char* picture,
                             TImageWrapMode wrap, bool movesPaddle) {
    TImage* img = f.Create<TImage>(parent);
    img->SetBounds(x, y, w, h);
    img->Align = TAlignLayout::alScale;
    img->WrapMode = wrap;
    if (picture) img->Bitmap.LoadFromFile(f.AssetPath(picture));
    if (movesPaddle) img->OnMouseMove = f.MouseMovesPaddle();
    return img;
}

void LayoutBuilder::Glow(SceneObject* on, GlowStyle g) {
    TGlowEffect* e = f.Create<TGlowEffect>(on);
    e->Softness = g.softness;
    e->GlowColor = g.colour;
    e->Opacity = g.opacity;
    o.GlowEffects.push_back(e);
}

TLabel* LayoutBuilder::Label(float x, float y, float w, float h, const std::string& text, LabelStyle st,
                             GlowStyle g) {
    TLabel* l = f.Create<TLabel>(&f);
    l->SetBounds(x, y, w, h);
    l->Align = TAlignLayout::alScale;
    l->Text = text;
    l->Font.Size = st.size;
    l->Font.Bold = st.bold;
    l->FontColor = st.colour;
    l->TextAlign = st.align;
    l->WordWrap = st.wordWrap;
    l->OnMouseMove = f.MouseMovesPaddle();  // used only if a label is ever made hit-testable
    Glow(l, g);
    return l;
}

TFloatAnimation* LayoutBuilder::Animation(SceneObject* parent, const char* property, float start, float stop,
                                          float duration, float delay) {
    TFloatAnimation* a = f.Create<TFloatAnimation>(parent);
    a->PropertyName = property;
    a->StartValue = start;
    a->StopValue = stop;
    a->Duration = duration;
    a->Delay = delay;
    return a;
}

void LayoutBuilder::SoundIcons() {
    const TImageWrapMode stretch = TImageWrapMode::iwStretch;
    o.ImgMusic = Image(&f, 0, 560, 41, 41, "Data/Png/music.png", stretch, true);
    o.ImgMusicStop = Image(o.ImgMusic, 0, 0, 41, 41, "Data/Png/music_stop.png", stretch, true);
    o.ImgMusicStop->Align = TAlignLayout::alClient;
    o.ImgMusicStop->Visible = false;
    o.ImgSound = Image(&f, 40, 560, 41, 41, "Data/Png/sound.png", stretch, true);
    o.ImgSoundStop = Image(o.ImgSound, 0, 0, 41, 41, "Data/Png/sound_stop.png", stretch, true);
    o.ImgSoundStop->Align = TAlignLayout::alClient;
    o.ImgSoundStop->Visible = false;
}

void LayoutBuilder::Samples() {
    o.Image1 = Image(&f, 16, 70, 40, 24, BlockPicture(KindOfBlock::Top0), TImageWrapMode::iwStretch, false);
    o.Image1->Visible = false;
    o.Text1 = f.Create<TText>(o.Image1);
    o.Text1->SetBounds(10, 0, 20, 24);
    o.Text1->Align = TAlignLayout::alScale;
    o.Text1->Text = Msg::BlockPlaceholder;
    o.Text1->Color = Colors::Black;
    o.Text1->Stretch = true;
    o.ShadowEffect1 = f.Create<TShadowEffect>(o.Text1);
    o.ShadowEffect1->Softness = 0.3f;
    o.ShadowEffect1->ShadowColor = Colors::Aquamarine;
    o.ShadowEffect1->Opacity = 1;
    o.ShadowEffect1->Distance = 3;
    o.ShadowEffect1->Direction = 45;

    o.ImgPad = Image(&f, 104, 544, 64, 26, "Data/Png/pad.png", TImageWrapMode::iwStretch, true);
    o.ImageBall = Image(&f, 8, 432, 30, 30, "Data/Png/ball.png", TImageWrapMode::iwStretch, false);
    o.ImageBall->Visible = false;
    o.FloatAnimation1 = Animation(o.ImageBall, "Position.X", 0, 0, 0.2f, 0);
}

void LayoutBuilder::Labels() {
    o.LblImi = Label(0, 496, 793, 57, "LblImi", {24, true, Colors::Springgreen, A::taCenter, true},
                     {1, Colors::Black, 1});
    o.LblPadHitCount = Label(352, 5, 89, 44, "000", {36, false, Colors::Crimson, A::taCenter, true}, kHoneydew);
    o.LblMode1HighScore = Label(5, 5, 276, 44, "000", {36, false, Colors::Aqua, A::taLeading, true}, kHoneydew);
    o.LblTotalScore =
        Label(0, 0, 260, 44, ScoreText(0), {26, false, Colors::Aqua, A::taTrailing, true}, kHoneydew);
    o.LblHighScore =
        Label(0, 25, 260, 44, HighScoreText(0), {26, false, Colors::Aqua, A::taTrailing, true}, kHoneydew);
    o.LblGameMode =
        Label(540, 0, 133, 44, Msg::ScoreChallenge, {26, true, Colors::Chartreuse, A::taLeading, true}, kHoneydew);
    o.LblKaitoMoji = Label(0, 448, 793, 49, Msg::BlockPlaceholder, {36, true, Colors::Gold, A::taCenter, true},
                           {0.4f, Colors::Darkmagenta, 0.9f});
    o.FloatAniKaitoMoji = Animation(o.LblKaitoMoji, "Opacity", 1, 0.3f, 1, 0.5f);
    o.FloatAniKaitoMoji->Loop = true;
    o.FloatAniKaitoMoji->AutoReverse = true;
    o.LblYomi = Label(0, 416, 793, 33, "LblYomi", {24, true, Colors::Springgreen, A::taCenter, true},
                      {1, Colors::Black, 1});
    o.LblMsg = Label(0, 344, 793, 65, Msg::Begin, {28, true, Colors::Azure, A::taCenter, true},
                     {1, Colors::Black, 0.9f});
    o.LblMondaiCount = Label(696, 0, 97, 44, QuestionNumberText(1),
                             {26, true, Colors::Chartreuse, A::taTrailing, true}, {0.4f, Colors::Black, 0.9f});
}

void LayoutBuilder::TitleAndScore() {
    o.ImgTitle = Image(&f, 120, 152, 553, 162, "Data/Png/title.png", TImageWrapMode::iwStretch, true);
    o.FloatAniTitleHeight = Animation(o.ImgTitle, "Height", 0, 0, 1, 0);
    o.FloatAniTitleWidth = Animation(o.ImgTitle, "Width", 0, 0, 1, 0);
    o.FloatAniTitleWidth->OnFinish = [form = &f](SceneObject* s) { form->FloatAniTitleWidthFinish(s); };

    const LabelStyle count{16, false, Colors::Blanchedalmond, A::taLeading, true};
    o.LblVisibleBlockCount1 = Label(5, 112, 34, 25, "16", count, kDarkblue);
    o.LblVisibleBlockCount2 = Label(5, 152, 34, 25, "16", count, kDarkblue);
    o.LblScore = Label(312, 312, 177, 49, Msg::PointsPlaceholder, {36, true, Colors::Aqua, A::taCenter, false},
                       {1, Colors::Black, 0.9f});
    o.FloatAniScoreY = Animation(o.LblScore, "Position.Y", 0, 0, 1, 2);
    o.FloatAniScoreY->OnFinish = [form = &f](SceneObject* s) { form->FloatAniScoreYFinish(s); };
    o.FloatAniScoreX = Animation(o.LblScore, "Position.X", 0, 0, 1, 2);
}

void LayoutBuilder::Explosion() {
    o.ImgBakuhatu = Image(&f, 688, 240, 89, 73, "Data/Png/Bakuhatu.png", TImageWrapMode::iwStretch, true);
    o.FloatAniBakuhatuX = Animation(o.ImgBakuhatu, "Position.X", 0, 0, 3, 0.2f);
    o.FloatAniBakuhatuX->StartFromCurrent = true;
    o.FloatAniBakuhatuX->OnFinish = [form = &f](SceneObject* s) { form->FloatAniBakuhatuXFinish(s); };
    o.FloatAniBakuhatuY = Animation(o.ImgBakuhatu, "Position.Y", 0, 0, 3, 0.2f);
    o.FloatAniBakuhatuY->StartFromCurrent = true;
    o.FloatAniBakuhatuOpacity = Animation(o.ImgBakuhatu, "Opacity", 1, 0, 3, 0);
}

void LayoutBuilder::HelpPanel() {
    o.RectSosaHoho = f.Create<TRectangle>(&f);
    o.RectSosaHoho->SetBounds(420, 350, 380, 250);
    o.RectSosaHoho->AnchorRightBottom = true;
    o.RectSosaHoho->Fill.Color = Colors::Darkslategray;
    o.RectSosaHoho->HitTest = false;
    o.RectSosaHoho->OnMouseMove = f.MouseMovesPaddle();
    o.LblSosaHoho = f.Create<TLabel>(o.RectSosaHoho);
    o.LblSosaHoho->SetBounds(8, 0, 370, 250);
    o.LblSosaHoho->Text = "LblSosaHoho";
    o.LblSosaHoho->Font.Size = 16;
    o.LblSosaHoho->Font.Family = Msg::HelpFontFamily;
    o.LblSosaHoho->FontColor = Colors::Cornsilk;
    o.LblSosaHoho->WordWrap = false;
    o.LblSosaHoho->OnMouseMove = f.MouseMovesPaddle();
}

// A notice in the help panel's colours, over everything else; placed when shown (notices.cpp).
void LayoutBuilder::Notice() {
    o.RectNotice = f.Create<TRectangle>(&f);
    o.RectNotice->Align = TAlignLayout::alScale;
    o.RectNotice->Fill.Color = Colors::Darkslategray;
    o.RectNotice->HitTest = false;
    o.RectNotice->Visible = false;
    o.LblNotice = f.Create<TLabel>(o.RectNotice);
    o.LblNotice->Align = TAlignLayout::alScale;
    o.LblNotice->FontColor = Colors::Cornsilk;
    o.LblNotice->TextAlign = A::taCenter;
    o.LblNotice->WordWrap = true;
}

}  // namespace

void TForm1::BuildLayout() {
    Caption = Msg::Title;
    FullScreen = true;
    Fill.LoadFromFile(AssetPath("Data/haikei1.jpg"));

    LayoutBuilder build(*this, *this);
    build.SoundIcons();
    build.Samples();
    build.Labels();
    build.TitleAndScore();
    build.Explosion();

    Timer1 = Create<TTimer>(this, svc.app);
    Timer1->SetInterval(50);
    Timer1->OnTimer = [this](SceneObject* s) { Timer1Timer(s); };

    build.HelpPanel();
    build.Logo();
    build.Notice();

    OnMouseMove = MouseMovesPaddle();
    OnCloseQuery = [this](SceneObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
}
