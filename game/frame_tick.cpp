// The 50 ms frame tick: countdown and release of the first ball, sliding rows
// and parked balls, the ball logic, stones against the paddle, the music loop.
#include <algorithm>
#include <cmath>

#include "game/tform1.h"

bool ImagesOverlap(const TImage* a, const TImage* b) {
    // nearbyint rounds ties to even in the default rounding mode.
    auto rect = [](const TImage* i, float out[4]) {
        out[0] = std::nearbyint(i->Position.X + 5.0f);
        out[1] = std::nearbyint(i->Position.Y + 5.0f);
        out[2] = std::nearbyint(i->Position.X + i->Width - 5.0f);
        out[3] = std::nearbyint(i->Position.Y + i->Height - 5.0f);
    };
    float ra[4], rb[4];
    rect(a, ra);
    rect(b, rb);
    return std::max(ra[0], rb[0]) < std::min(ra[2], rb[2]) && std::max(ra[1], rb[1]) < std::min(ra[3], rb[3]);
}

void TForm1::HoldFallingStones() {
    for (int i = 0; i < kBlocks; ++i)
        if (ImgStone[i]->Visible && FloatAniStoneY[i]->Running()) FloatAniStoneY[i]->Hold();
}

void TForm1::ResumeHeldStones() {
    for (int i = 0; i < kBlocks; ++i)
        if (ImgStone[i]->Visible) FloatAniStoneY[i]->Start();
}

void TForm1::Timer1Timer(SceneObject*) {
    // 1. Countdown, or parking of the question-number label.
    if (ThinkingTimeCount > 0) {
        CountDown();
        if (progress.GameMode() == Challenge::Score) PlaceQuestionNumber(true);
    } else if (progress.GameMode() == Challenge::Score) {
        PlaceQuestionNumber(false);
    }

    // 2. Sliding rows and parked balls with the mouse buttons.
    const bool mayPlaySlide = board.MovingBallNo() >= 0 || (progress.GameMode() == Challenge::Score && progress.Clear()) || (progress.GameMode() == Challenge::Stroke && progress.Mode1_Clear());
    if (!Pause && progress.PadHitCount() > 0 && mayPlaySlide) {
        const float d = ClientWidth() * 0.015f * (svc.input.Ctrl ? 2 : 1);
        const bool left = svc.input.LeftButton, right = svc.input.RightButton;
        SlideRows(d, left, right);
        if (board.UnVisibleBlockCount()[1] == kBlocksPerRow && board.UnVisibleBlockCount()[2] == kBlocksPerRow)
            SlideParkedBalls(d, left, right);
    }

    // 3. Let waiting input and animation ticks run.
    svc.app.ProcessMessages();

    // 4. The ball in play.
    ProcessBall();

    // 5. A falling stone against the paddle.
    if (ImgPad->Visible && !progress.GameOver() && !progress.Clear() && StoneHitsPaddle()) return;

    // 6. The media player does not loop: restart the track once its length has passed.
    if (sound.TrackEnded()) RestartMusic();
}

void TForm1::CountDown() {
    OldThinkingTimeCount = ThinkingTimeCount;
    const int elapsed = static_cast<int>(ElapsedMs(timeGetTime(), StartThinkingTime) / 1000);
    // A late tick must not skip the release: the count stops at 0.
    ThinkingTimeCount = std::max(0, 5 - elapsed);
    if (ThinkingTimeCount == 0) {
        // The first ball drops straight down.
        sound.PlayEffect("Data/Sound/Down.wav", false);
        FloatAniBallY[0]->StartValue = ImgBall[0]->Position.Y;
        FloatAniBallY[0]->StopValue = ClientHeight();
        FloatAniBallY[0]->Duration = 1.5f;
        FloatAniBallY[0]->Start();
        board.ServeBall(0);
    }
    if (ThinkingTimeCount != OldThinkingTimeCount) {
        if (ThinkingTimeCount > 0) sound.PlayEffect("Data/Sound/Bleep.wav", false);
        if (ThinkingTimeCount == 0)
            LblMsg->Text = Msg::Begin;
        else if (ThinkingTimeCount >= 1 && ThinkingTimeCount <= 4)
            LblMsg->Text = IntToStr(ThinkingTimeCount);
        else
            LblMsg->Text.clear();
    }
}

void TForm1::PlaceQuestionNumber(bool overCountdown) {
    // Above the countdown while it runs, else parked at the top right.
    if (overCountdown) {
        LblMondaiCount->Position.X = (ClientWidth() - LblMondaiCount->Width) * 0.5f;
        LblMondaiCount->Position.Y = LblMsg->Position.Y - LblMondaiCount->Height;
        LblMondaiCount->TextAlign = TTextAlign::taCenter;
    } else {
        LblMondaiCount->Position.X = ClientWidth() - LblMondaiCount->Width - 10;
        LblMondaiCount->Position.Y = 0;
        LblMondaiCount->TextAlign = TTextAlign::taTrailing;
    }
}

void TForm1::SlideRows(float d, bool left, bool right) {
    // A row slides once the rows below it are all gone; parked stones go with their blocks.
    for (int r = 0; r < kBlockRows; ++r) {
        if (board.UnVisibleBlockCount()[r + 1] != kBlocksPerRow || board.UnVisibleBlockCount()[r + 2] != kBlocksPerRow) continue;
        for (int c = 0; c < kBlocksPerRow; ++c) {
            TImage* block = ImgBlock[BlockIndex(r, c)];
            TImage* stone = ImgStone[BlockIndex(r, c)];
            if (left) {
                if (ImgBlock[BlockIndex(r, 15)]->Position.X > -block->Width) block->Position.X -= d;
                if (!stone->Visible) stone->Position.X = block->Position.X;
            }
            if (right) {
                if (ImgBlock[BlockIndex(r, 0)]->Position.X < ClientWidth()) block->Position.X += d;
                if (!stone->Visible) stone->Position.X = block->Position.X;
            }
        }
    }
}

void TForm1::SlideParkedBalls(float d, bool left, bool right) {
    // Balls answered and resting in the top row's gaps slide with it.
    for (int i = 0; i < kBalls; ++i) {
        TImage* ball = ImgBall[i];
        if (!ball->Visible) continue;
        const bool slides =
            (progress.GameMode() == Challenge::Score && progress.Clear() && ball->Position.Y <= ImgBlock[0]->Position.Y + ImgBlock[0]->Height) ||
            (progress.GameMode() == Challenge::Stroke && !progress.Mode1_Clear() && i < board.MovingBallNo()) || (progress.GameMode() == Challenge::Stroke && progress.Mode1_Clear());
        if (!slides) continue;
        if (left && ImgBlock[BlockIndex(0, 15)]->Position.X > -ImgBlock[0]->Width) ball->Position.X -= d;
        if (right && ImgBlock[0]->Position.X < ClientWidth()) ball->Position.X += d;
    }
}

bool TForm1::StoneHitsPaddle() {
    // The paddle explodes; the round is lost when the explosion is over.
    for (int i = 0; i < kBlocks; ++i) {
        if (!ImagesOverlap(ImgPad, ImgStone[i])) continue;
        sound.PlayEffect("Data/Sound/Bakuhatu.wav", false);
        ImgPad->Visible = false;
        FloatAniStoneY[i]->Stop();
        if (board.MovingBallNo() >= 0) Hold(board.MovingBallNo());
        ImgBakuhatu->Position.X = ImgPad->Position.X;
        ImgBakuhatu->Position.Y = ImgPad->Position.Y;
        ImgBakuhatu->Visible = true;
        ImgBakuhatu->Opacity = 1;
        ImgBakuhatu->BringToFront();
        FloatAniBakuhatuX->StopValue = Random(ClientWidth());
        FloatAniBakuhatuY->StopValue = 0;
        FloatAniBakuhatuX->Start();
        FloatAniBakuhatuY->Start();
        FloatAniBakuhatuOpacity->Start();
        return true;
    }
    return false;
}

void TForm1::RestartMusic() {
    // Everything on the clock holds while the track starts again.
    FreezePlay();
    sound.RestartTrack();
    if (!Pause && !GameSetting) {
        ContinueBallInPlay();
        ResumeHeldStones();
        Timer1->SetEnabled(true);
    }
}
