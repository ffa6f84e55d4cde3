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

}  // namespace

void TForm1::BuildLayout() {
    Caption = "てらもん2";
    FullScreen = true;
    Fill.LoadFromFile(AssetPath("Data/haikei1.jpg"));

    auto mouseToPaddle = [this](TFmxObject* s, TShiftState sh, float x, float y) {
        FormMouseMove(s, sh, x, y);
    };
    auto image = [&](TFmxObject* parent, float x, float y, float w, float h, const char* picture,
                     TImageWrapMode wrap, bool movesPaddle) {
        TImage* img = Create<TImage>(parent);
        img->SetBounds(x, y, w, h);
        img->Align = TAlignLayout::alScale;
        img->WrapMode = wrap;
        if (picture) img->Bitmap.LoadFromFile(AssetPath(picture));
        if (movesPaddle) img->OnMouseMove = mouseToPaddle;
        return img;
    };
    auto glow = [&](TFmxObject* on, GlowStyle g) {
        TGlowEffect* e = Create<TGlowEffect>(on);
        e->Softness = g.softness;
        e->GlowColor = g.colour;
        e->Opacity = g.opacity;
        GlowEffects.push_back(e);
    };
    auto label = [&](float x, float y, float w, float h, const char* text, LabelStyle st, GlowStyle g) {
        TLabel* l = Create<TLabel>(this);
        l->SetBounds(x, y, w, h);
        l->Align = TAlignLayout::alScale;
        l->Text = text;
        l->Font.Size = st.size;
        l->Font.Bold = st.bold;
        l->FontColor = st.colour;
        l->TextAlign = st.align;
        l->WordWrap = st.wordWrap;
        l->OnMouseMove = mouseToPaddle;  // used only if a label is ever made hit-testable
        glow(l, g);
        return l;
    };
    auto animation = [&](TFmxObject* parent, const char* property, float start, float stop, float duration,
                         float delay) {
        TFloatAnimation* a = Create<TFloatAnimation>(parent);
        a->PropertyName = property;
        a->StartValue = start;
        a->StopValue = stop;
        a->Duration = duration;
        a->Delay = delay;
        return a;
    };
    using A = TTextAlign;
    const GlowStyle honeydew{0.4f, Colors::Honeydew, 0.9f};

    ImgMusic = image(this, 0, 560, 41, 41, "Data/Png/music.png", TImageWrapMode::iwStretch, true);
    ImgMusicStop = image(ImgMusic, 0, 0, 41, 41, "Data/Png/music_stop.png", TImageWrapMode::iwStretch, true);
    ImgMusicStop->Align = TAlignLayout::alClient;
    ImgMusicStop->Visible = false;
    ImgSound = image(this, 40, 560, 41, 41, "Data/Png/sound.png", TImageWrapMode::iwStretch, true);
    ImgSoundStop = image(ImgSound, 0, 0, 41, 41, "Data/Png/sound_stop.png", TImageWrapMode::iwStretch, true);
    ImgSoundStop->Align = TAlignLayout::alClient;
    ImgSoundStop->Visible = false;

    Image1 = image(this, 16, 70, 40, 24, BlockPicture(KindOfBlock::Top0), TImageWrapMode::iwStretch, false);
    Image1->Visible = false;
    Text1 = Create<TText>(Image1);
    Text1->SetBounds(10, 0, 20, 24);
    Text1->Align = TAlignLayout::alScale;
    Text1->Text = "四";
    Text1->Color = Colors::Black;
    Text1->Stretch = true;
    ShadowEffect1 = Create<TShadowEffect>(Text1);
    ShadowEffect1->Softness = 0.3f;
    ShadowEffect1->ShadowColor = Colors::Aquamarine;
    ShadowEffect1->Opacity = 1;
    ShadowEffect1->Distance = 3;
    ShadowEffect1->Direction = 45;

    ImgPad = image(this, 104, 544, 64, 26, "Data/Png/pad.png", TImageWrapMode::iwStretch, true);
    ImageBall = image(this, 8, 432, 30, 30, "Data/Png/ball.png", TImageWrapMode::iwStretch, false);
    ImageBall->Visible = false;
    FloatAnimation1 = animation(ImageBall, "Position.X", 0, 0, 0.2f, 0);

    LblImi = label(0, 496, 793, 57, "LblImi", {24, true, Colors::Springgreen, A::taCenter, true},
                   {1, Colors::Black, 1});
    LblPadHitCount = label(352, 5, 89, 44, "000", {36, false, Colors::Crimson, A::taCenter, true}, honeydew);
    LblMode1HighScore = label(5, 5, 276, 44, "000", {36, false, Colors::Aqua, A::taLeading, true}, honeydew);
    LblTotalScore =
        label(0, 0, 260, 44, "SCORE:000000", {26, false, Colors::Aqua, A::taTrailing, true}, honeydew);
    LblHighScore =
        label(0, 25, 260, 44, "HIGHSCORE:000000", {26, false, Colors::Aqua, A::taTrailing, true}, honeydew);
    LblGameMode = label(540, 0, 133, 44, "得点挑戦", {26, true, Colors::Chartreuse, A::taLeading, true}, honeydew);
    LblKaitoMoji = label(0, 448, 793, 49, "四", {36, true, Colors::Gold, A::taCenter, true},
                         {0.4f, Colors::Darkmagenta, 0.9f});
    FloatAniKaitoMoji = animation(LblKaitoMoji, "Opacity", 1, 0.3f, 1, 0.5f);
    FloatAniKaitoMoji->Loop = true;
    FloatAniKaitoMoji->AutoReverse = true;
    LblYomi = label(0, 416, 793, 33, "LblYomi", {24, true, Colors::Springgreen, A::taCenter, true},
                    {1, Colors::Black, 1});
    LblMsg = label(0, 344, 793, 65, "競技開始", {28, true, Colors::Azure, A::taCenter, true},
                   {1, Colors::Black, 0.9f});
    LblMondaiCount = label(696, 0, 97, 44, "第1問", {26, true, Colors::Chartreuse, A::taTrailing, true},
                           {0.4f, Colors::Black, 0.9f});

    ImgTitle = image(this, 120, 152, 553, 162, "Data/Png/title.png", TImageWrapMode::iwStretch, true);
    FloatAniTitleHeight = animation(ImgTitle, "Height", 0, 0, 1, 0);
    FloatAniTitleWidth = animation(ImgTitle, "Width", 0, 0, 1, 0);
    FloatAniTitleWidth->OnFinish = [this](TFmxObject* s) { FloatAniTitleWidthFinish(s); };

    const GlowStyle darkblue{0.4f, Colors::Darkblue, 0.9f};
    LblVisibleBlockCount1 =
        label(5, 112, 34, 25, "16", {16, false, Colors::Blanchedalmond, A::taLeading, true}, darkblue);
    LblVisibleBlockCount2 =
        label(5, 152, 34, 25, "16", {16, false, Colors::Blanchedalmond, A::taLeading, true}, darkblue);
    LblScore = label(312, 312, 177, 49, "1000点", {36, true, Colors::Aqua, A::taCenter, false},
                     {1, Colors::Black, 0.9f});
    FloatAniScoreY = animation(LblScore, "Position.Y", 0, 0, 1, 2);
    FloatAniScoreY->OnFinish = [this](TFmxObject* s) { FloatAniScoreYFinish(s); };
    FloatAniScoreX = animation(LblScore, "Position.X", 0, 0, 1, 2);

    ImgBakuhatu = image(this, 688, 240, 89, 73, "Data/Png/Bakuhatu.png", TImageWrapMode::iwStretch, true);
    FloatAniBakuhatuX = animation(ImgBakuhatu, "Position.X", 0, 0, 3, 0.2f);
    FloatAniBakuhatuX->StartFromCurrent = true;
    FloatAniBakuhatuX->OnFinish = [this](TFmxObject* s) { FloatAniBakuhatuXFinish(s); };
    FloatAniBakuhatuY = animation(ImgBakuhatu, "Position.Y", 0, 0, 3, 0.2f);
    FloatAniBakuhatuY->StartFromCurrent = true;
    FloatAniBakuhatuOpacity = animation(ImgBakuhatu, "Opacity", 1, 0, 3, 0);

    Timer1 = Create<TTimer>(this);
    Timer1->SetInterval(50);
    Timer1->OnTimer = [this](TFmxObject* s) { Timer1Timer(s); };

    RectSosaHoho = Create<TRectangle>(this);
    RectSosaHoho->SetBounds(420, 350, 380, 250);
    RectSosaHoho->AnchorRightBottom = true;
    RectSosaHoho->Fill.Color = Colors::Darkslategray;
    RectSosaHoho->HitTest = false;
    RectSosaHoho->OnMouseMove = mouseToPaddle;
    LblSosaHoho = Create<TLabel>(RectSosaHoho);
    LblSosaHoho->SetBounds(8, 0, 370, 250);
    LblSosaHoho->Text = "LblSosaHoho";
    LblSosaHoho->Font.Size = 16;
    LblSosaHoho->Font.Family = "ＭＳ ゴシック";
    LblSosaHoho->FontColor = Colors::Cornsilk;
    LblSosaHoho->WordWrap = false;
    LblSosaHoho->OnMouseMove = mouseToPaddle;

    ImgLogo = image(this, 16, 488, 281, 50, "Data/Png/logo.png", TImageWrapMode::iwFit, false);

    OnMouseMove = mouseToPaddle;
    OnCloseQuery = [this](TFmxObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
}
