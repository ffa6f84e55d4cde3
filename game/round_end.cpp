// How a question or round ends: lost (DoGameOver), the explosion over, the
// points landed on the total, and the title zoom at the end of a game.
#include "game/tform1.h"
#include "platform/text_codec.h"

std::string ScoreLostMessage(int stage) {
    return Format(Msg::ScoreLost, {{"first", IntToStr(stage * 10 - 9)}});
}

void TForm1::DoGameOver() {
    sound.PlayEffect("Data/Sound/gameover.wav", true);
    if (const VoiceRow* voice = sound.ChosenVoice())
        sound.Say(Utf8ToCp932Lossy(std::string(SpeechText::Otsukare) + voice->farewell), 110);
    if (board.MovingBallNo() >= 0) {
        FloatAniBallX[board.MovingBallNo()]->Stop();
        FloatAniBallY[board.MovingBallNo()]->Stop();
    }
    StopAllStoneFalls();

    // Show the player the answer that was missed. Without a ball in play (which
    // the stroke challenge should never reach here) the first ball's slot stands in.
    const int s = progress.GameMode() == Challenge::Score ? board.BallSeikaiMojiNo() : board.BallMojiNo()[board.MovingBallNo() >= 0 ? board.MovingBallNo() : 0];
    Learning.Missed(SlotQuestion(s));
    Learning.SaveIfChanged();  // the ball is stopped: the question has ended
    ShowDueReviews();
    LblKaitoMoji->Text = SlotQuestion(s).Jukugo;
    LblKaitoMoji->Visible = true;
    LblImi->Text = SlotQuestion(s).Imi;
    LblYomi->Text = SlotQuestion(s).Yomi;
    ShowAnswerLabels();

    ImgTitle->Bitmap.LoadFromFile(AssetPath("Data/Png/GameOver.png"));
    ImgTitle->Visible = true;
    LblMsg->Text = progress.GameMode() == Challenge::Score ? ScoreLostMessage(progress.Stage()) : std::string(Msg::StrokeRestart);
    LblMsg->Visible = true;
    progress.ShowHints();
    board.NoBallInPlay();
}

void TForm1::FloatAniBakuhatuXFinish(SceneObject* sender) {
    // An explosion cut short by hiding its picture (a new board, a loaded game)
    // ends nothing.
    if (!ImgBakuhatu->Visible) return;
    ImgBakuhatu->Visible = false;
    progress.LoseQuestion();
    DoGameOver();
}

void TForm1::ZoomInTitle() {
    FloatAniTitleWidth->StopValue = ImgTitle->Width;
    FloatAniTitleHeight->StopValue = ImgTitle->Height;
    ImgTitle->Width = 0;
    ImgTitle->Height = 0;
    FloatAniTitleWidth->Start();
    FloatAniTitleHeight->Start();
}

void TForm1::FloatAniScoreYFinish(SceneObject* sender) {
    LblScore->Visible = false;
    LblScore->Position.Y = FloatAniScoreY->StartValue;
    LblScore->Position.X = FloatAniScoreX->StartValue;
    LblTotalScore->Text = ScoreText(progress.TotalScore());
    if (progress.GameMode() != Challenge::Score) return;
    ImgTitle->Visible = true;  // seikai, newrecord or GameClear, chosen at the answer
    if (progress.GameClear()) ZoomInTitle();
}

void TForm1::FloatAniTitleWidthFinish(SceneObject* sender) {
    // A zoom cut short because the title was hidden ([Shift] or [Alt] within the
    // second) must not put its message over the next board or start the parade.
    if (!ImgTitle->Visible) return;
    // A save that failed at the answer stays in view until the player acts.
    const std::string& failure = progress.GameMode() == Challenge::Score ? SaveFailure : StrokeRecordFailure;
    LblMsg->Text = failure + (progress.GameMode() == Challenge::Score ? Msg::GameClearRestart : Msg::StrokeNext);
    LblMsg->Visible = true;
    notice.Fit();  // which file and why stays under the longer message
    sound.Say(Utf8ToCp932Lossy(progress.ChangeHighScore() ? SpeechText::NewRecord : SpeechText::WellDone), 110);
    // The parade plays even with the music switched off.
    sound.StartMusicEvenWhenOff("Data/Sound/parade.mp3");
}
