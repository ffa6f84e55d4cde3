// What a contact with a gap or a special block means: correct and wrong
// answers, the points of an answer, and characters copied from special blocks.
#include <algorithm>

#include "game/paddle_rules.h"
#include "game/tform1.h"
#include "platform/text_codec.h"
#include "voice/speech_text.h"

int AnswerPoints(int stage, int padHitCount, int movingBallNo, bool hintShown,
                 bool dealtCharacter) {
    int factor = hintShown ? 1 : 2;
    if (stage >= 2 && dealtCharacter) factor *= 2;
    // A continued game may carry more contacts than its stage allows: no points then, never fewer.
    return std::max(0, ContactsLeft(stage, padHitCount)) * (3 - movingBallNo) * factor * 10;
}

std::string TForm1::IdiomSpeechText(int s) { return QuestionSpeechText(board.MondaiNo()[s]); }

std::string TForm1::QuestionSpeechText(int q) {
    std::string text = questions.At(q).SpeakMoji;
    if (text.empty()) text = Utf8ToCp932Lossy(questions.At(q).Yomi);
    // The meaning: a built-in one is said from its reviewed speech text; the
    // player's own is passed on as written (kanji and all), and the speech engine
    // reads it with its text analyser. Built-in speech texts already end in "。":
    // the doubled stop is kept as it is.
    const std::string meaning = q >= 0 && q < kBuiltInQuestions ? questions.At(q).ImiSpeakMoji
                                                                 : Utf8ToCp932Lossy(questions.At(q).Imi);
    return text + Utf8ToCp932Lossy(Msg::SpeechStop) + meaning;
}

void TForm1::ShowAnswerLabels() {
    LblImi->Position.X = 0;
    LblImi->Width = static_cast<float>(ClientWidth());
    LblImi->Position.Y = LblKaitoMoji->Position.Y + LblKaitoMoji->Height;
    LblImi->Visible = true;
    LblYomi->Position.X = 0;
    LblYomi->Width = static_cast<float>(ClientWidth());
    LblYomi->Position.Y = LblKaitoMoji->Position.Y - LblYomi->Height;
    LblYomi->Visible = true;
    AnswerLabelsAcross = true;
    FitAnswerLabels();
}

void TForm1::CorrectAnswerScore(int c) {
    const int s = c / 4;
    progress.ClearQuestion();
    StopAllStoneFalls();
    LblKaitoMoji->Text = SlotQuestion(s).Jukugo;
    ShowAnswerLabels();  // their texts were set when s became the target

    const bool lastQuestion = progress.MondaiCount() == kQuestionsPerGame;
    if (lastQuestion) board.NoBallInPlay();  // makes the last question's ball factor 4
    progress.AddAnswerPoints(AnswerPoints(progress.Stage(), progress.PadHitCount(), board.MovingBallNo(),
                                          progress.HintHyoji(), board.BallSeikaiMojiNo() == board.FirstBallSeikaiMojiNo()));
    if (lastQuestion) {
        // The record is judged, shown and saved on the final total, the one the history gets.
        if (progress.FinishScoreGame()) LblHighScore->Text = HighScoreText(progress.HighScore());
        ImgTitle->Bitmap.LoadFromFile(
            AssetPath(progress.ChangeHighScore() ? "Data/Png/newrecord.png" : "Data/Png/GameClear.png"));
        SaveGame();
    }
    if (!progress.GameClear()) ImgTitle->Bitmap.LoadFromFile(AssetPath("Data/Png/seikai.png"));

    progress.KeepStageStartTotal();
    Learning.Right(SlotQuestion(s));
    if (progress.MondaiCount() == kQuestionsPerGame) Learning.GameFinished("score", progress.TotalScore());
    Learning.SaveIfChanged();  // the question has ended
    ShowDueReviews();

    LblScore->Text = Format(Msg::Points, {{"points", IntToStr(progress.Score())}});
    LblScore->Position.X = (ClientWidth() - LblScore->Width) * 0.5f;
    LblScore->Position.Y = LblMsg->Position.Y - LblScore->Height;
    LblScore->Visible = true;
    LblScore->BringToFront();
    // The points wait in the middle, then fly up to end flush with the total.
    FloatAniScoreX->StartValue = LblScore->Position.X;
    FloatAniScoreX->StopValue = LblTotalScore->Position.X + LblTotalScore->Width - LblScore->Width;
    FloatAniScoreY->StartValue = LblScore->Position.Y;
    FloatAniScoreX->Start();
    FloatAniScoreY->Start();

    // Waiting events run; the jingle then paints the new labels before it holds the thread.
    svc.app.ProcessMessages();
    if (!progress.GameClear()) sound.PlayEffect("Data/Sound/Seikai1.wav", true);
    sound.Say(IdiomSpeechText(s), 100);
    board.NoBallInPlay();  // the answered ball stays in its gap
    progress.ShowHints();
}

void TForm1::CorrectAnswerStroke(int c) {
    const int b = board.MovingBallNo();
    const int s = c / 4;
    progress.ClearQuestion();  // until the next ball first meets the paddle
    const bool lastBall = b + 1 >= kBalls;
    sound.PlayEffect("Data/Sound/seikai.wav", true);
    if (!lastBall) sound.Say(IdiomSpeechText(s), 100);
    LblKaitoMoji->Text = SlotQuestion(s).Jukugo;
    LblYomi->Text = SlotQuestion(s).Yomi;
    LblYomi->Visible = true;
    FitAnswerLabels();
    BlankSpecialBlocks(s);
    Learning.Right(SlotQuestion(s));  // written when the round ends, not while the next ball falls

    if (!lastBall) {  // the next ball drops, twice as slowly as in the score challenge
        TFloatAnimation* fall = FloatAniBallY[b + 1];
        fall->Duration = 3.0f;
        fall->StartValue = ImgBall[b + 1]->Position.Y;
        fall->StopValue = static_cast<float>(ClientHeight());
        fall->Start();
        board.ServeBall(b + 1);
        return;
    }
    StrokeRoundComplete();
}

void TForm1::BlankSpecialBlocks(int s) {
    // The special blocks of the answered slot go blank.
    for (int r = 1; r < kBlockRows; ++r) {
        for (int col = 0; col < kBlocksPerRow; ++col) {
            const int i = BlockIndex(r, col);
            if (board.SeikaiMojiNo()[i] != s) continue;
            board.BlankSpecialBlock(i);
            for (int k = 0; k < 4; ++k) {
                TText* text = TextSpecialBlockMoji[(r - 1) * 4 + k];
                if (text->Parent() == ImgBlock[i]) {
                    text->Visible = false;
                    break;
                }
            }
        }
    }
}

void TForm1::StrokeRoundComplete() {
    // The fourth ball is home.
    progress.FinishStrokeRound();
    board.NoBallInPlay();
    StopAllStoneFalls();
    Learning.GameFinished("strokes", progress.PadHitCount());
    Learning.SaveIfChanged();
    ShowDueReviews();
    LblYomi->Visible = true;
    if (progress.RecordStrokes()) {
        ImgTitle->Bitmap.LoadFromFile(AssetPath("Data/Png/newrecord.png"));
        ImgTitle->Visible = true;
        ZoomInTitle();  // the rest follows when the zoom ends
        WriteStrokeRecord();
    }
    if (!progress.ChangeHighScore()) {
        ImgTitle->Bitmap.LoadFromFile(AssetPath("Data/Png/seikai.png"));
        ImgTitle->Visible = true;
        sound.PlayEffect("Data/Sound/Seikai1.wav", true);
        sound.Say(Utf8ToCp932Lossy(SpeechText::WellDone), 110);
        LblMsg->Text = Msg::StrokeNext;
        LblMsg->Visible = true;
    }
}

void TForm1::WrongAnswer(int c) {
    // Costs nothing but the stone; the ball bounces off the gap like off any block.
    DropStone(0, c, StoneKind::WrongAnswer);
}

void TForm1::CharacterCopy(int r, int c) {
    const int i = BlockIndex(r, c);
    const int t = board.SeikaiMojiNo()[i];
    const int b = board.MovingBallNo();
    // A stone block has already sounded its own hit.
    if (board.BlockKind()[i] != KindOfBlock::Stone) sound.PlayEffect("Data/Sound/Copy.wav", false);

    if (progress.GameMode() == Challenge::Stroke) {
        // The later ball that carried t now carries b's old character.
        const std::array<int, kBalls> before = board.BallMojiNo();
        board.CopyToBall(b, t);
        TextBallMoji[b]->Text = SlotCharacter(t);
        for (int k = b + 1; k < kBalls; ++k)
            if (before[k] == t) TextBallMoji[k]->Text = SlotCharacter(board.BallMojiNo()[k]);
    } else {
        board.CopyToBalls(t);
        const bool dealt = t == board.FirstBallSeikaiMojiNo();
        for (int k = b; k < kScoreChallengeBalls; ++k) {
            TextBallMoji[k]->Text = SlotCharacter(t);
            TextBallMoji[k]->Color = dealt ? Colors::Darkgoldenrod : Colors::Darkviolet;
        }
        FloatAniKaitoMoji->Stop();
        if (dealt) {
            LblKaitoMoji->FontColor = Colors::Gold;
            FloatAniKaitoMoji->Start();  // the dealt character blinks again
        } else {
            LblKaitoMoji->FontColor = Colors::Floralwhite;
            LblKaitoMoji->Opacity = 1;
        }
    }
    LblKaitoMoji->Text = SlotCharacter(t);
    LblImi->Text = SlotQuestion(t).Imi;
    LblYomi->Text = SlotQuestion(t).Yomi;
    FitAnswerLabels();
}
