// Every question begins here: SetUpStage resets the board for the next question,
// DealQuestions draws four idioms, hides one character of each and starts the countdown.
#include <algorithm>

#include "game/question_draw.h"
#include "game/paddle_rules.h"
#include "game/tform1.h"
#include "platform/text_codec.h"

namespace {

std::string CharacterAt(const std::string& idiom, int p) { return Utf16UnitCharacter(idiom, p); }

}  // namespace

void TForm1::SetUpStage() {
    FloatAniKaitoMoji->Stop();
    LblKaitoMoji->Opacity = 1;
    LblScore->Visible = false;

    if (progress.GameMode() == Challenge::Stroke)
        SetUpStrokeChallengeLabels();
    else
        SetUpScoreChallengeQuestion();

    progress.BeginQuestion(Title);
    LblImi->Visible = progress.HintHyoji();
    LblYomi->Visible = false;

    ChooseBlockKinds();
    ResetBlockCounts();
    PlaceRowsAndStones();
    LineUpBalls();

    ImgPad->Visible = true;
    ThinkingTimeCount = -1;
    board.NoBallInPlay();
}

void TForm1::ShowStageScenery() {
    Fill.LoadFromFile(AssetPath("Data/haikei" + IntToStr(progress.Stage()) + ".jpg"));
    sound.StartStageMusic(progress.Stage());
}

void TForm1::SetUpStrokeChallengeLabels() {
    progress.PlayStrokeBoard();
    if (!progress.GameOver() && !progress.Mode1_Clear()) ShowStageScenery();
    LblTotalScore->Visible = false;
    LblHighScore->Visible = false;
    LblMode1HighScore->Visible = true;
    LblMondaiCount->Visible = false;
    if (progress.ChangeHighScore()) LblMode1HighScore->Text = StrokeRecordText(progress.Mode1HighScore());
}

// The next question of the score challenge: the one after a cleared one, the
// first of the stage again after a lost one, the first of all after a whole game.
void TForm1::SetUpScoreChallengeQuestion() {
    const bool restartsStage = progress.GameOver(), startsAnew = progress.GameClear();
    progress.NextScoreQuestion();
    if (restartsStage) LblTotalScore->Text = ScoreText(progress.TotalScore());
    if (startsAnew) {
        sound.StopMusic();
        LblTotalScore->Text = ScoreText(0);
        LblHighScore->Text = HighScoreText(progress.HighScore());
    }
    LblTotalScore->Visible = true;
    LblHighScore->Visible = true;
    LblMode1HighScore->Visible = false;
    LblMondaiCount->Visible = true;
    LblMondaiCount->Text = QuestionNumberText(progress.MondaiCount());
    if (progress.Clear() && progress.MondaiCount() % 10 == 1) ShowStageScenery();
}

void TForm1::ChooseBlockKinds() {
    board.LayTopRow();
    // Rows below the top row in play become stone or wood at random.
    for (int c = 0; c < kBlocksPerRow; ++c) {
        for (int r = 0; r < kBlockRows; ++r) {
            const int i = BlockIndex(r, c);
            if (progress.Stage() < r + 1) {
                ImgBlock[i]->Visible = false;
                continue;
            }
            ImgBlock[i]->Visible = true;
            if (r >= 1) {
                board.LayLowerBlock(i, Random(4 - progress.Stage() + 1) == 0);
                ImgBlock[i]->Bitmap.LoadFromFile(AssetPath(BlockPicture(board.BlockKind()[i])));
            }
        }
    }
}

void TForm1::ResetBlockCounts() {
    board.ResetBrokenCounts(progress.Stage());

    LblVisibleBlockCount1->Visible = progress.Stage() >= 2;
    LblVisibleBlockCount2->Visible = progress.Stage() >= 3;
    if (progress.Stage() >= 2) LblVisibleBlockCount1->Text = "16";
    if (progress.Stage() >= 3) LblVisibleBlockCount2->Text = "16";
}

void TForm1::PlaceRowsAndStones() {
    // Rows and parked stones back in place (this also undoes sideways slides).
    const float W = ClientWidth();
    const float hb = ImgBall[0]->Height;
    for (int r = 0; r < kBlockRows; ++r) {
        for (int c = 0; c < kBlocksPerRow; ++c) {
            const int i = BlockIndex(r, c);
            TImage* b = ImgBlock[i];
            if (b->Visible) {
                b->Position.X = BlockX(W, b->Width, c);
                b->Position.Y = BlockY(b->Height, hb, r);
                ImgStone[i]->Position = b->Position;
            }
            ImgStone[i]->Visible = false;
        }
    }
}

void TForm1::LineUpBalls() {
    // Balls stand in a column at the left edge below the lowest row in play.
    for (int i = 0; i < kBalls; ++i) {
        const float h = ImgBall[i]->Height;
        ImgBall[i]->Position.X = ImageBall->Position.X;
        ImgBall[i]->Position.Y = 4 * h + ImgBlock[BlockIndex(progress.Stage() - 1, 0)]->Position.Y + 40 - (h + 5) * i;
        ImgBall[i]->Visible = true;
        TextBallMoji[i]->Visible = false;
    }
    if (progress.GameMode() == Challenge::Score) ImgBall[kScoreChallengeBalls]->Visible = false;
}

void TForm1::DealQuestions() {
    DrawQuestions();
    ShowTopRow();
    if (progress.GameMode() == Challenge::Score)
        DealScoreChallengeBalls();
    else
        DealStrokeChallengeBalls();
    PlaceSpecialBlocks();

    LblPadHitCount->Text = progress.GameMode() == Challenge::Score ? ZeroPad(ContactsAllowed(progress.Stage()), 3) : ZeroPad(0, 3);
    const int q = progress.GameMode() == Challenge::Score ? board.MondaiNo()[board.BallSeikaiMojiNo()] : board.MondaiNo()[board.BallMojiNo()[0]];
    LblImi->Text = questions.At(q).Imi;
    LblYomi->Text = questions.At(q).Yomi;
    FitAnswerLabels();

    StartCountdown();
    PrepareBoardSpeech();
    RecordDeal();
}

void TForm1::DrawQuestions() { QuestionDraw(questions, progress, board, Learning, svc.random).Draw(); }

void TForm1::ShowTopRow() {
    // Every slot's idiom with its gap.
    for (int c = 0; c < kBlocksPerRow; ++c) {
        const int k = c / 4, p = c % 4;
        if (p == board.UnVisibleMojiNo()[k]) {
            TextBlockMoji[c]->Text.clear();
            ShadowText[c]->Enabled = false;
        } else {
            TextBlockMoji[c]->Text = CharacterAt(SlotQuestion(k).Jukugo, p);
            ShadowText[c]->Enabled = true;
        }
        TextBlockMoji[c]->Visible = true;
    }
}

void TForm1::DealScoreChallengeBalls() {
    // All three balls carry one slot's hidden character, drawn at random.
    const int k = Random(4);
    board.DealBallsCharacter(k);
    for (int b = 0; b < kScoreChallengeBalls; ++b) {
        TextBallMoji[b]->Text = SlotCharacter(k);
        TextBallMoji[b]->Color = Colors::Darkgoldenrod;
        TextBallMoji[b]->Visible = true;
    }
    LblKaitoMoji->Text = SlotCharacter(k);
    LblKaitoMoji->Visible = true;
    LblKaitoMoji->FontColor = Colors::Gold;
    if (progress.Stage() >= 2) FloatAniKaitoMoji->Start();
}

void TForm1::DealStrokeChallengeBalls() {
    // The four balls carry the four slots' hidden characters in a random order.
    bool taken[kSlots] = {false, false, false, false};
    for (int b = 0; b < kBalls; ++b) {
        int k;
        do {
            k = Random(4);
        } while (taken[k]);
        taken[k] = true;
        board.DealBallCharacter(b, k);
        TextBallMoji[b]->Text = SlotCharacter(k);
        TextBallMoji[b]->Color = Colors::Darkviolet;
        TextBallMoji[b]->Visible = true;
    }
    LblKaitoMoji->Text = SlotCharacter(board.BallMojiNo()[0]);
    LblKaitoMoji->Visible = true;
    LblKaitoMoji->FontColor = Colors::Floralwhite;
}

void TForm1::PlaceSpecialBlocks() {
    // In each lower row in play, one per slot at four different columns.
    board.ClearSpecialBlocks();
    for (int r = 1; r <= 2 && r <= progress.Stage() - 1; ++r) {
        bool takenColumn[kBlocksPerRow] = {};
        for (int k = 0; k < kSlots; ++k) {
            int c;
            do {
                c = Random(kBlocksPerRow);
            } while (takenColumn[c]);
            takenColumn[c] = true;
            const int i = BlockIndex(r, c);
            const bool gold = progress.GameMode() == Challenge::Score && k == board.FirstBallSeikaiMojiNo();
            board.PlaceSpecialBlock(i, k, gold);
            TText* t = TextSpecialBlockMoji[(r - 1) * 4 + k];
            t->SetParent(ImgBlock[i]);
            t->Text = SlotCharacter(k);
            t->Visible = true;
            t->Color = Colors::White;
            if (gold) {
                ImgBlock[i]->Bitmap.LoadFromFile(AssetPath(BlockPicture(KindOfBlock::Gold)));
                t->Color = Colors::Darkmagenta;
            }
        }
    }
}

void TForm1::StartCountdown() {
    ThinkingTimeCount = 5;
    StartThinkingTime = timeGetTime();
    LblMsg->Text = "5";
    LblMsg->Width = ClientWidth();
    LblMsg->Position.X = 0;
    LblMsg->Position.Y = ImgTitle->Position.Y + ImgTitle->Height + LblScore->Height;
    LblMsg->Visible = true;
    sound.PlayEffect("Data/Sound/Bleep.wav", false);
}

void TForm1::PrepareBoardSpeech() {
    // Have the speech of this board ready before any answer can come, in both
    // voices (the chosen one first): the player may change voice during play.
    if (!sound.Speaking()) return;
    sound.ForEachVoiceChosenFirst([this](int v) {
        for (int s = 0; s < kSlots; ++s) svc.speech.Prepare(v, IdiomSpeechText(s), 100);
    });
    PrepareFixedPhrases();  // asked again so that many boards never push them out
}
