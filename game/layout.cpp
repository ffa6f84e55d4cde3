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
    explicit LayoutBuilder(TForm1& form) : f(form) {}

    void SoundIcons();
    void Samples();  // the block, character and ball that start-up copies
    void Labels();
    void TitleAndScore();
    void Explosion();
    void HelpPanel();
    void Logo() { f.ImgLogo = Image(&f, 16, 488, 281, 50, "Data/Png/logo.png", TImageWrapMode::iwFit, false); }
    void Notice();

private:
    TImage* Image(SceneObject* parent, float x, float y, float w, float h, const char* picture,
                  TImageWrapMode wrap, bool movesPaddle);
    void Glow(SceneObject* on, GlowStyle g);
    TLabel* Label(float x, float y, float w, float h, const std::string& text, LabelStyle st, GlowStyle g);
    TFloatAnimation* Animation(SceneObject* parent, const char* property, float start, float stop, float duration,
                               float delay);

    TForm1& f;
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
    f.GlowEffects.push_back(e);
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
    f.ImgMusic = Image(&f, 0, 560, 41, 41, "Data/Png/music.png", stretch, true);
    f.ImgMusicStop = Image(f.ImgMusic, 0, 0, 41, 41, "Data/Png/music_stop.png", stretch, true);
    f.ImgMusicStop->Align = TAlignLayout::alClient;
    f.ImgMusicStop->Visible = false;
    f.ImgSound = Image(&f, 40, 560, 41, 41, "Data/Png/sound.png", stretch, true);
    f.ImgSoundStop = Image(f.ImgSound, 0, 0, 41, 41, "Data/Png/sound_stop.png", stretch, true);
    f.ImgSoundStop->Align = TAlignLayout::alClient;
    f.ImgSoundStop->Visible = false;
}

void LayoutBuilder::Samples() {
    f.Image1 = Image(&f, 16, 70, 40, 24, BlockPicture(KindOfBlock::Top0), TImageWrapMode::iwStretch, false);
    f.Image1->Visible = false;
    f.Text1 = f.Create<TText>(f.Image1);
    f.Text1->SetBounds(10, 0, 20, 24);
    f.Text1->Align = TAlignLayout::alScale;
    f.Text1->Text = Msg::BlockPlaceholder;
    f.Text1->Color = Colors::Black;
    f.Text1->Stretch = true;
    f.ShadowEffect1 = f.Create<TShadowEffect>(f.Text1);
    f.ShadowEffect1->Softness = 0.3f;
    f.ShadowEffect1->ShadowColor = Colors::Aquamarine;
    f.ShadowEffect1->Opacity = 1;
    f.ShadowEffect1->Distance = 3;
    f.ShadowEffect1->Direction = 45;

    f.ImgPad = Image(&f, 104, 544, 64, 26, "Data/Png/pad.png", TImageWrapMode::iwStretch, true);
    f.ImageBall = Image(&f, 8, 432, 30, 30, "Data/Png/ball.png", TImageWrapMode::iwStretch, false);
    f.ImageBall->Visible = false;
    f.FloatAnimation1 = Animation(f.ImageBall, "Position.X", 0, 0, 0.2f, 0);
}

void LayoutBuilder::Labels() {
    f.LblImi = Label(0, 496, 793, 57, "LblImi", {24, true, Colors::Springgreen, A::taCenter, true},
                     {1, Colors::Black, 1});
    f.LblPadHitCount = Label(352, 5, 89, 44, "000", {36, false, Colors::Crimson, A::taCenter, true}, kHoneydew);
    f.LblMode1HighScore = Label(5, 5, 276, 44, "000", {36, false, Colors::Aqua, A::taLeading, true}, kHoneydew);
    f.LblTotalScore =
        Label(0, 0, 260, 44, ScoreText(0), {26, false, Colors::Aqua, A::taTrailing, true}, kHoneydew);
    f.LblHighScore =
        Label(0, 25, 260, 44, HighScoreText(0), {26, false, Colors::Aqua, A::taTrailing, true}, kHoneydew);
    f.LblGameMode =
        Label(540, 0, 133, 44, Msg::ScoreChallenge, {26, true, Colors::Chartreuse, A::taLeading, true}, kHoneydew);
    f.LblKaitoMoji = Label(0, 448, 793, 49, Msg::BlockPlaceholder, {36, true, Colors::Gold, A::taCenter, true},
                           {0.4f, Colors::Darkmagenta, 0.9f});
    f.FloatAniKaitoMoji = Animation(f.LblKaitoMoji, "Opacity", 1, 0.3f, 1, 0.5f);
    f.FloatAniKaitoMoji->Loop = true;
    f.FloatAniKaitoMoji->AutoReverse = true;
    f.LblYomi = Label(0, 416, 793, 33, "LblYomi", {24, true, Colors::Springgreen, A::taCenter, true},
                      {1, Colors::Black, 1});
    f.LblMsg = Label(0, 344, 793, 65, Msg::Begin, {28, true, Colors::Azure, A::taCenter, true},
                     {1, Colors::Black, 0.9f});
    f.LblMondaiCount = Label(696, 0, 97, 44, QuestionNumberText(1),
                             {26, true, Colors::Chartreuse, A::taTrailing, true}, {0.4f, Colors::Black, 0.9f});
}

void LayoutBuilder::TitleAndScore() {
    f.ImgTitle = Image(&f, 120, 152, 553, 162, "Data/Png/title.png", TImageWrapMode::iwStretch, true);
    f.FloatAniTitleHeight = Animation(f.ImgTitle, "Height", 0, 0, 1, 0);
    f.FloatAniTitleWidth = Animation(f.ImgTitle, "Width", 0, 0, 1, 0);
    f.FloatAniTitleWidth->OnFinish = [form = &f](SceneObject* s) { form->FloatAniTitleWidthFinish(s); };

    const LabelStyle count{16, false, Colors::Blanchedalmond, A::taLeading, true};
    f.LblVisibleBlockCount1 = Label(5, 112, 34, 25, "16", count, kDarkblue);
    f.LblVisibleBlockCount2 = Label(5, 152, 34, 25, "16", count, kDarkblue);
    f.LblScore = Label(312, 312, 177, 49, Msg::PointsPlaceholder, {36, true, Colors::Aqua, A::taCenter, false},
                       {1, Colors::Black, 0.9f});
    f.FloatAniScoreY = Animation(f.LblScore, "Position.Y", 0, 0, 1, 2);
    f.FloatAniScoreY->OnFinish = [form = &f](SceneObject* s) { form->FloatAniScoreYFinish(s); };
    f.FloatAniScoreX = Animation(f.LblScore, "Position.X", 0, 0, 1, 2);
}

void LayoutBuilder::Explosion() {
    f.ImgBakuhatu = Image(&f, 688, 240, 89, 73, "Data/Png/Bakuhatu.png", TImageWrapMode::iwStretch, true);
    f.FloatAniBakuhatuX = Animation(f.ImgBakuhatu, "Position.X", 0, 0, 3, 0.2f);
    f.FloatAniBakuhatuX->StartFromCurrent = true;
    f.FloatAniBakuhatuX->OnFinish = [form = &f](SceneObject* s) { form->FloatAniBakuhatuXFinish(s); };
    f.FloatAniBakuhatuY = Animation(f.ImgBakuhatu, "Position.Y", 0, 0, 3, 0.2f);
    f.FloatAniBakuhatuY->StartFromCurrent = true;
    f.FloatAniBakuhatuOpacity = Animation(f.ImgBakuhatu, "Opacity", 1, 0, 3, 0);
}

void LayoutBuilder::HelpPanel() {
    f.RectSosaHoho = f.Create<TRectangle>(&f);
    f.RectSosaHoho->SetBounds(420, 350, 380, 250);
    f.RectSosaHoho->AnchorRightBottom = true;
    f.RectSosaHoho->Fill.Color = Colors::Darkslategray;
    f.RectSosaHoho->HitTest = false;
    f.RectSosaHoho->OnMouseMove = f.MouseMovesPaddle();
    f.LblSosaHoho = f.Create<TLabel>(f.RectSosaHoho);
    f.LblSosaHoho->SetBounds(8, 0, 370, 250);
    f.LblSosaHoho->Text = "LblSosaHoho";
    f.LblSosaHoho->Font.Size = 16;
    f.LblSosaHoho->Font.Family = Msg::HelpFontFamily;
    f.LblSosaHoho->FontColor = Colors::Cornsilk;
    f.LblSosaHoho->WordWrap = false;
    f.LblSosaHoho->OnMouseMove = f.MouseMovesPaddle();
}

// A notice in the help panel's colours, over everything else; placed when shown (notices.cpp).
void LayoutBuilder::Notice() {
    f.RectNotice = f.Create<TRectangle>(&f);
    f.RectNotice->Align = TAlignLayout::alScale;
    f.RectNotice->Fill.Color = Colors::Darkslategray;
    f.RectNotice->HitTest = false;
    f.RectNotice->Visible = false;
    f.LblNotice = f.Create<TLabel>(f.RectNotice);
    f.LblNotice->Align = TAlignLayout::alScale;
    f.LblNotice->FontColor = Colors::Cornsilk;
    f.LblNotice->TextAlign = A::taCenter;
    f.LblNotice->WordWrap = true;
}

}  // namespace

void TForm1::BuildLayout() {
    Caption = Msg::Title;
    FullScreen = true;
    Fill.LoadFromFile(AssetPath("Data/haikei1.jpg"));

    LayoutBuilder build(*this);
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
