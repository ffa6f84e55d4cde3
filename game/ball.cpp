// The ball in play: contacts with the paddle, the blocks and the window's edges,
// each followed by a new straight leg; stones dropped by block contacts.
#include <cmath>

#include "game/tform1.h"

namespace {
// Nearest integer, ties to even (the default rounding mode).
int RoundEven(float v) { return static_cast<int>(std::lrint(v)); }

bool IsGap(const TForm1& f, int c) { return f.UnVisibleMojiNo[c / 4] == c % 4; }

int TargetSlot(const TForm1& f, int b) {
    return f.GameMode == 0 ? f.BallSeikaiMojiNo : f.BallMojiNo[b];
}
}  // namespace

void TForm1::AimX(int b) {
    TImage* ball = ImgBall[b];
    TFloatAnimation* ani = FloatAniBallX[b];
    const float x = ball->Position.X;
    if (x >= ani->StartValue)  // went right or stood still: on to the right
        ani->StopValue = x + Random(ClientWidth() - RoundEven(x) + 100);
    else
        ani->StopValue = static_cast<float>(Random(RoundEven(x) + 100) - 100);
}

void TForm1::AimY(int b) {
    TImage* ball = ImgBall[b];
    TFloatAnimation* ani = FloatAniBallY[b];
    const float y = ball->Position.Y;
    if (y >= ani->StartValue)  // went down or stood still: on downwards
        ani->StopValue = y + Random(ClientHeight() - RoundEven(y) + 400);
    else
        ani->StopValue = static_cast<float>(Random(RoundEven(y) + 400) - 400);
}

void TForm1::Launch(int b) {
    FloatAniBallX[b]->StartValue = ImgBall[b]->Position.X;
    FloatAniBallY[b]->StartValue = ImgBall[b]->Position.Y;
    FloatAniBallX[b]->Start();
    FloatAniBallY[b]->Start();
}

void TForm1::Hold(int b) {
    FloatAniBallX[b]->StopAtCurrent();
    FloatAniBallY[b]->StopAtCurrent();
}

void TForm1::DropStone(int r, int c, StoneKind kind) {
    const int i = r * kBlocksPerRow + c;
    const bool wrong = kind == StoneKind::WrongAnswer;
    if (IsSound) PlayEffect(wrong ? "Data/Sound/Buzz.wav" : "Data/Sound/Block_hit.wav", false);
    TImage* stone = ImgStone[i];
    stone->Bitmap.LoadFromFile(AssetPath(wrong ? "Data/Png/stone2.png" : "Data/Png/stone.png"));
    stone->Position.X = ImgBlock[i]->Position.X;
    stone->Position.Y = ImgBlock[i]->Position.Y;
    stone->Visible = true;
    TFloatAnimation* fall = FloatAniStoneY[i];
    fall->Duration = wrong ? Random(3) + 0.5f : static_cast<float>(Random(3) + 1);
    fall->StartValue = ImgBlock[i]->Position.Y;
    fall->StopValue = static_cast<float>(ClientHeight());
    fall->SetEnabled(true);
    fall->Start();  // a stone still falling from here starts again from the block
}

void TForm1::StopAllStoneFalls() {
    for (TFloatAnimation* fall : FloatAniStoneY) fall->Stop();
}

void TForm1::FloatAniStoneYFinish(TFmxObject* sender) {
    // Park the stone, hidden, on the block it fell from; it follows that block's slides.
    auto* fall = static_cast<TFloatAnimation*>(sender);
    auto* stone = static_cast<TImage*>(fall->Parent());
    if (!stone) return;
    stone->Position.Y = fall->StartValue;
    stone->Visible = false;
}

void TForm1::ProcessBall() {
    if (MovingBallNo < 0) return;
    const int b = MovingBallNo;
    if (!ImgBall[b]->Visible || (GameMode == 0 && Clear) || GameOver || Pause) return;

    if (ImgPad->Visible && ImagesOverlap(ImgBall[b], ImgPad) && !PaddleContact(b)) return;

    // Upper rows first, and within a row the leftmost block: one hit per tick.
    for (int r = 0; r < kBlockRows; ++r) {
        for (int c = 0; c < kBlocksPerRow; ++c) {
            TImage* block = ImgBlock[r * kBlocksPerRow + c];
            if (block->Visible && ImagesOverlap(ImgBall[b], block)) {
                BlockHit(r, c);
                return;
            }
        }
    }
    EdgeContacts(b);
}

bool TForm1::PaddleContact(int b) {
    TImage* ball = ImgBall[b];
    if (IsSound) PlayEffect("Data/Sound/Pad_hit.wav", false);
    Hold(b);
    ball->Position.Y = ImgPad->Position.Y - ball->Height - 5;
    if (FirstBallDown) {
        LblMsg->Visible = false;
        if (GameMode == 1) {
            const int s = BallMojiNo[b];
            Clear = false;
            LblKaitoMoji->Text = SlotCharacter(s);
            LblImi->Text = SlotImi(s);
            LblYomi->Text = SlotYomi(s);
            LblYomi->Visible = false;
        }
    }
    ++PadHitCount;
    LblPadHitCount->Text =
        GameMode == 0 ? ZeroPad(Stage * 15 - PadHitCount, 3) : ZeroPad(PadHitCount, 3);
    if (GameMode == 0 && PadHitCount >= Stage * 15) {
        GameOver = true;
        DoGameOver();
        return false;
    }
    const float duration = FirstBallDown ? 1.0f + 0.2f * Random(2) : static_cast<float>(Random(4) + 1);
    FloatAniBallX[b]->Duration = duration;
    FloatAniBallY[b]->Duration = duration;
    if (FirstBallDown)
        FloatAniBallX[b]->StopValue = static_cast<float>(Random(ClientWidth()) + 50);
    else
        AimX(b);
    FloatAniBallY[b]->StopValue = 0;  // up to the top edge
    Launch(b);
    FirstBallDown = false;
    return true;
}

void TForm1::BlockHit(int r, int c) {
    const int b = MovingBallNo;
    const int i = r * kBlocksPerRow + c;
    TImage* ball = ImgBall[b];
    TImage* block = ImgBlock[i];
    Hold(b);

    const bool gap = r == 0 && IsGap(*this, c);
    if (gap && c / 4 == TargetSlot(*this, b)) {  // from any side
        if (GameMode == 0)
            CorrectAnswerScore(c);
        else
            CorrectAnswerStroke(c);
        return;
    }
    if (Stage == 3 && r == 0 && !gap) DropStone(0, c, StoneKind::Stone);
    if (Stage >= 2) {
        if (BlockKind[i] == 4) DropStone(r, c, StoneKind::Stone);
        if (r >= 1) {
            block->Visible = false;
            ++UnVisibleBlockCount[r];
            TLabel* left = r == 1 ? LblVisibleBlockCount1 : LblVisibleBlockCount2;
            left->Text = IntToStr(16 - UnVisibleBlockCount[r]);
        }
    }
    if (gap) WrongAnswer(c);

    // Bounce off the face the ball met.
    if (ball->Position.Y >= FloatAniBallY[b]->StartValue) {  // going down: upper face
        ball->Position.Y = block->Position.Y - ball->Height - 5;
        FloatAniBallY[b]->StopValue = 0;
        if (r == 0 && ++UpBlockHitCount >= 5) {
            // The fifth knock on the top row from above lets the ball through.
            ball->Position.Y = block->Position.Y + block->Height + 5;
            FloatAniBallY[b]->StopValue = static_cast<float>(ClientHeight());
            UpBlockHitCount = 0;
        }
    } else {
        ball->Position.Y = block->Position.Y + block->Height + 5;
        FloatAniBallY[b]->StopValue = static_cast<float>(ClientHeight());
    }
    AimX(b);
    const float duration = static_cast<float>(Random(4) + 1);
    FloatAniBallX[b]->Duration = duration;
    FloatAniBallY[b]->Duration = duration;
    Launch(b);

    if (r >= 1 && SeikaiMojiNo[i] >= 0) CharacterCopy(r, c);
}

void TForm1::EdgeContacts(int b) {
    TImage* ball = ImgBall[b];
    if (ball->Position.Y <= 5) {
        Hold(b);
        ball->Position.Y = 10;
        AimX(b);
        FloatAniBallY[b]->StopValue = static_cast<float>(ClientHeight());
        Launch(b);
    }
    if (ball->Position.X <= 5) {
        Hold(b);
        ball->Position.X = 10;
        AimY(b);
        FloatAniBallX[b]->StopValue = static_cast<float>(ClientWidth());
        Launch(b);
    }
    if (ball->Position.X >= ClientWidth() - ball->Width - 5) {
        Hold(b);
        ball->Position.X = ClientWidth() - ball->Width - 10;
        AimY(b);
        FloatAniBallX[b]->StopValue = 0;
        Launch(b);
    }
    if (ball->Position.Y >= ClientHeight()) BallLost();
}

void TForm1::BallLost() {
    if (IsSound) PlayEffect("Data/Sound/Miss.wav", false);
    if (GameMode == 1 || MovingBallNo > 1) {
        GameOver = true;
        DoGameOver();
        return;
    }
    // The next ball drops straight down from where it rests; the lost one is left alone.
    const int next = ++MovingBallNo;
    TFloatAnimation* fall = FloatAniBallY[next];
    fall->StartValue = ImgBall[next]->Position.Y;
    fall->StopValue = static_cast<float>(ClientHeight());
    fall->Duration = 1.5f;
    fall->Start();
    FirstBallDown = true;
}
