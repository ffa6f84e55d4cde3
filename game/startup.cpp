// The life of the main window: creation of the run-time scene (blocks, stones,
// balls), the first screen, activation, closing and destruction.
#include <filesystem>
#include <system_error>

#include "game/help_panel.h"
#include "game/tform1.h"
#include "platform/text_codec.h"

std::string IntToStr(int v) { return std::to_string(v); }

std::string ZeroPad(int value, int width) {
    if (value < 0) return std::to_string(value);
    long long power = 1;
    for (int i = 1; i <= width; ++i) {
        power *= 10;
        if (value / power == 0) return std::string(width - i, '0') + std::to_string(value);
    }
    return std::string(width > 0 ? width : 0, '-');
}

std::string ScoreText(int totalScore) { return Format(Msg::Score, {{"value", ZeroPad(totalScore, 6)}}); }
std::string HighScoreText(int highScore) { return Format(Msg::HighScore, {{"value", ZeroPad(highScore, 6)}}); }
std::string StrokeRecordText(int strokes) { return Format(Msg::StrokeRecord, {{"value", ZeroPad(strokes, 3)}}); }
std::string QuestionNumberText(int question) { return Format(Msg::QuestionNumber, {{"n", IntToStr(question)}}); }

TForm1::TForm1(GameServices& services) : TForm(800, 600), svc(services), sound(services) {
    // The design's pictures are loaded with the layout, before FormCreate:
    // the program folder must be known by then, whatever the working folder.
    Folda = AssetFolder(svc);
    BuildLayout();
}

void TForm1::HideCursor() {
    // The display counter may have been raised several times; lower it until hidden.
    for (int guard = 0; guard < 64 && svc.host.ShowCursor(false) >= 0; ++guard) {
    }
}

void TForm1::ShowCursorUntilVisible() {
    for (int guard = 0; guard < 64 && svc.host.ShowCursor(true) < 0; ++guard) {
    }
}

void TForm1::FormCreate() {
    Folda = AssetFolder(svc);
    files = DataFiles(DataFiles::FolderIn(svc.documentsFolder));
    files.CreateFolder();

    CreateBlocks();
    CreateBlockCharacters();
    CreateStones();
    CreateBalls();

    LblVisibleBlockCount1->Position.Y = ImgBlock[BlockIndex(1, 0)]->Position.Y;
    LblVisibleBlockCount2->Position.Y = ImgBlock[BlockIndex(2, 0)]->Position.Y;
    LblVisibleBlockCount1->BringToFront();
    LblVisibleBlockCount2->BringToFront();

    LblSosaHoho->Text = HelpPanelText(0);
    RectSosaHoho->SendToBack();

    LoadAdditionalQuestions();

    progress.ReadyFirstGame();
    Title = true;
    ImgTitle->BringToFront();
    progress.TakeHighScore(kDefaultHighScore);

    ReadSavedFilesAtStartup();
    OpenLearningRecord();
    // Behind a folder that cannot be entered every file looks unreadable or
    // missing: the folder is what the player must hear about.
    if (!files.FolderReadable())
        StartupNotices = {Msg::FolderUnreadable};
    ShowDueReviews();

    // Speech: note which voices can speak, and have the fixed phrases of both
    // ready (the chosen voice first), so that they start at once even right after
    // the player changes voice.
    sound.FindVoices();
    PrepareFixedPhrases();
    LblGameMode->Text = progress.GameMode() == Challenge::Score ? Msg::ScoreChallenge : Msg::StrokeChallenge;
    HideCursor();
}

void TForm1::CreateBlocks() {
    // 16 per row with 17 equal gaps across the window, in the colours of the top row.
    const float W = ClientWidth();
    const float w = Image1->Width, h = Image1->Height, hb = ImageBall->Height;
    for (int row = 0; row < kBlockRows; ++row) {
        for (int col = 0; col < kBlocksPerRow; ++col) {
            TImage* b = Create<TImage>(this);
            b->Align = TAlignLayout::alScale;
            b->WrapMode = TImageWrapMode::iwStretch;
            b->Width = w;
            b->Height = h;
            b->Position.X = BlockX(W, w, col);
            b->Position.Y = BlockY(h, hb, row);
            b->Bitmap.LoadFromFile(AssetPath(BlockPicture(TopRowKind(col / 4))));
            b->HitTest = false;
            b->OnMouseMove = MouseMovesPaddle();
            ImgBlock[BlockIndex(row, col)] = b;
        }
    }
}

// A block's character, placed as on the design's sample block.
TText* TForm1::CreateBlockCharacter(TImage* block) {
    TText* t = Create<TText>(block);
    t->Align = TAlignLayout::alScale;
    t->SetBounds(Text1->Position.X, Text1->Position.Y, Text1->Width, Text1->Height);
    t->Text = Msg::BlockPlaceholder;
    t->Stretch = true;
    return t;
}

void TForm1::CreateBlockCharacters() {
    // Characters of the top row, then the eight special-block characters.
    for (int col = 0; col < kBlocksPerRow; ++col) {
        const bool light = (col / 4) % 2 == 0;
        TText* t = CreateBlockCharacter(ImgBlock[col]);
        t->Color = light ? Colors::Cornsilk : Colors::Black;
        t->HitTest = false;
        TextBlockMoji[col] = t;
        TShadowEffect* s = Create<TShadowEffect>(t);
        s->ShadowColor = light ? Colors::Aquamarine : Colors::Darkorchid;
        s->Opacity = 0.7f;
        ShadowText[col] = s;
    }
    for (int row = 1; row <= 2; ++row) {
        for (int k = 0; k < 4; ++k) {
            const int i = (row - 1) * 4 + k;
            TText* t = CreateBlockCharacter(ImgBlock[BlockIndex(row, k)]);
            t->HitTest = false;
            TextSpecialBlockMoji[i] = t;
            TShadowEffect* s = Create<TShadowEffect>(t);
            s->ShadowColor = Colors::Aquamarine;
            s->Opacity = 0.7f;
            ShadowSpecialText[i] = s;
        }
    }
}

void TForm1::CreateStones() {
    // Parked on their blocks until a contact drops them.
    const float w = Image1->Width, h = Image1->Height;
    for (int i = 0; i < kBlocks; ++i) {
        TImage* s = Create<TImage>(this);
        s->Align = TAlignLayout::alScale;
        s->WrapMode = TImageWrapMode::iwStretch;
        s->Width = 0.7f * w;
        s->Height = h;
        s->Position = ImgBlock[i]->Position;
        s->HitTest = false;
        s->OnMouseMove = MouseMovesPaddle();
        ImgStone[i] = s;
        TFloatAnimation* a = Create<TFloatAnimation>(s);
        a->PropertyName = "Position.Y";
        a->StartFromCurrent = true;
        a->OnFinish = [this](SceneObject* sender) { FloatAniStoneYFinish(sender); };
        FloatAniStoneY[i] = a;
    }
}

void TForm1::CreateBalls() {
    // In a column at the left edge, ball 0 lowest, each with its character and its two legs.
    const float hb = ImageBall->Height;
    for (int i = 0; i < kBalls; ++i) {
        TImage* b = Create<TImage>(this);
        b->Align = TAlignLayout::alScale;
        b->WrapMode = TImageWrapMode::iwStretch;
        b->Width = ImageBall->Width;
        b->Height = hb;
        b->Position.X = ImageBall->Position.X;
        b->Position.Y = 3 * hb + ImgBlock[BlockIndex(2, 0)]->Position.Y + 40 - (hb + 5) * i;
        b->Bitmap.LoadFromFile(AssetPath("Data/Png/ball.png"));
        b->HitTest = false;
        b->OnMouseMove = MouseMovesPaddle();
        ImgBall[i] = b;
        TText* t = Create<TText>(b);
        t->Align = TAlignLayout::alScale;
        t->SetBounds(0.25f * b->Width, 0.15f * b->Height, 0.5f * b->Width, 0.7f * b->Height);
        t->Text = Msg::BlockPlaceholder;
        t->Stretch = true;
        t->Color = Colors::Darkviolet;
        t->HitTest = false;
        TextBallMoji[i] = t;
        TShadowEffect* s = Create<TShadowEffect>(t);
        s->Enabled = true;
        s->ShadowColor = Colors::Darkmagenta;
        s->Opacity = 0.7f;
        ShadowEffectTextBallMoji[i] = s;
        FloatAniBallX[i] = Create<TFloatAnimation>(b);
        FloatAniBallX[i]->PropertyName = "Position.X";
        FloatAniBallX[i]->StartFromCurrent = true;
        FloatAniBallY[i] = Create<TFloatAnimation>(b);
        FloatAniBallY[i]->PropertyName = "Position.Y";
        FloatAniBallY[i]->StartFromCurrent = true;
    }
}

void TForm1::PrepareFixedPhrases() {
    sound.ForEachVoiceChosenFirst([this](int v) {
        const std::string farewell = std::string(SpeechText::Otsukare) + kVoices[v].farewell;
        for (const std::string& phrase : {farewell, std::string(SpeechText::NewRecord), std::string(SpeechText::WellDone)})
            svc.speech.Prepare(v, Utf8ToCp932Lossy(phrase), 110);
    });
}

void TForm1::FormShow() {
    if (!Title) return;
    LblMode1HighScore->Visible = false;
    LblScore->Visible = false;
    LblYomi->Visible = false;
    LblImi->Visible = false;
    LblKaitoMoji->Visible = false;
    ImgBakuhatu->Visible = false;
    if (!OffersSuspendedGame()) {
        progress.MarkGameFinished();
    }
    if (!GameLoading) SetUpStage();
    FitMessage();
    ShowStartupNotices();
}

void TForm1::FormActivate() {
    if (IsMinimized && sound.ResumeMusicAfterMinimise()) IsMinimized = false;
    HideCursor();
}

void TForm1::FormCloseQuery(SceneObject*, bool& canClose) {
    // A game that could not be saved is not closed without the player's word.
    if (!leaving.unsaved && !Title && progress.Stage() > 0 && !SavedBeforeLeaving()) {
        OfferLeavingUnsaved(LeaveAfterFailedSave::Close);
        canClose = false;
        return;
    }
    Learning.SaveIfChanged();
    canClose = true;
}

void TForm1::FormDestroy() {
    ShowCursorUntilVisible();
}
