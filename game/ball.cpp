// The ball in play: contacts with the paddle, the blocks and the window's edges,
// each followed by a new straight leg; stones dropped by block contacts.
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "game/paddle_rules.h"
#include "game/tform1.h"

namespace {
// How far along its leg (0 at the start, 1 at the stop value) an animated
// coordinate v stands; NaN when the leg does not move that coordinate.
float LegFraction(const TFloatAnimation* leg, float v) {
    const float span = leg->StopValue - leg->StartValue;
    return span == 0 ? std::numeric_limits<float>::quiet_NaN() : (v - leg->StartValue) / span;
}

// Whether (x, y) lies on the ball's current leg: each running coordinate at the
// same fraction of the way (both run on one duration), a still one where it was.
bool OnLeg(const TFloatAnimation* legX, const TFloatAnimation* legY, float x, float y, float stillX, float stillY,
           float* fraction) {
    constexpr float kSlack = 0.002f;
    float f = std::numeric_limits<float>::quiet_NaN();
    for (auto [leg, v, still] : {std::tuple{legX, x, stillX}, std::tuple{legY, y, stillY}}) {
        if (!leg->Running()) {
            if (v != still && v != leg->StopValue) return false;
            continue;
        }
        const float g = LegFraction(leg, v);
        if (std::isnan(g)) {
            if (v != leg->StartValue) return false;
            continue;
        }
        if (g < -kSlack || g > 1 + kSlack) return false;
        if (!std::isnan(f) && std::fabs(f - g) > kSlack) return false;
        f = g;
    }
    *fraction = std::isnan(f) ? 0 : f;
    return true;
}
}  // namespace

float SweptContact(const TImage* moving, float x0, float y0, const TImage* still) {
    if (x0 == moving->Position.X && y0 == moving->Position.Y) return ImagesOverlap(moving, still) ? 1.0f : -1.0f;
    // The still picture's contact rectangle as the contact test rounds it; the
    // moving one's (its bounds less 5 units a side) must overlap it.
    const float left = std::nearbyint(still->Position.X + 5.0f);
    const float right = std::nearbyint(still->Position.X + still->Width - 5.0f);
    const float top = std::nearbyint(still->Position.Y + 5.0f);
    const float bottom = std::nearbyint(still->Position.Y + still->Height - 5.0f);
    const float w = moving->Width, h = moving->Height;
    // Positions of the moving picture's corner at which the two overlap, per axis (open intervals).
    const float xLo = left - w + 5, xHi = right - 5, yLo = top - h + 5, yHi = bottom - 5;
    float enter = -std::numeric_limits<float>::infinity(), leave = std::numeric_limits<float>::infinity();
    auto slab = [&](float from, float to, float lo, float hi) {
        const float d = to - from;
        if (d == 0) {
            if (!(lo < from && from < hi)) enter = std::numeric_limits<float>::infinity();
            return;
        }
        float t0 = (lo - from) / d, t1 = (hi - from) / d;
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    };
    slab(x0, moving->Position.X, xLo, xHi);
    slab(y0, moving->Position.Y, yLo, yHi);
    if (enter < leave && enter <= 1 && leave > 0) return std::max(enter, 0.0f);
    // Where it stands now the contact test has the last word (rounding).
    return ImagesOverlap(moving, still) ? 1.0f : -1.0f;
}

void TForm1::MarkBallPath() {
    if (board.MovingBallNo() < 0) {
        ForgetBallPath();
        return;
    }
    const int b = board.MovingBallNo();
    LastBallMark = {b,
                    ImgBall[b]->Position.X,
                    ImgBall[b]->Position.Y,
                    FloatAniBallX[b]->StartValue,
                    FloatAniBallX[b]->StopValue,
                    FloatAniBallY[b]->StartValue,
                    FloatAniBallY[b]->StopValue};
}

void TForm1::AimX(int b) {
    TFloatAnimation* ani = FloatAniBallX[b];
    ani->StopValue = AimStop(ImgBall[b]->Position.X, ani->StartValue, ClientWidth(), 100, svc.random);
}

void TForm1::AimY(int b) {
    TFloatAnimation* ani = FloatAniBallY[b];
    ani->StopValue = AimStop(ImgBall[b]->Position.Y, ani->StartValue, ClientHeight(), 400, svc.random);
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
    const int i = BlockIndex(r, c);
    const bool wrong = kind == StoneKind::WrongAnswer;
    sound.PlayEffect(wrong ? "Data/Sound/Buzz.wav" : "Data/Sound/Block_hit.wav", false);
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

void TForm1::FloatAniStoneYFinish(SceneObject* sender) {
    // Park the stone, hidden, on the block it fell from; it follows that block's slides.
    auto* fall = static_cast<TFloatAnimation*>(sender);
    auto* stone = static_cast<TImage*>(fall->Parent());
    if (!stone) return;
    stone->Position.Y = fall->StartValue;
    stone->Visible = false;
}

namespace {

struct BlockContact {
    float at = -1;  // fraction of the way at which the ball meets the block
    int row = -1, col = -1;
};

// The first visible block the ball meets on its way from (x0, y0) to where it
// stands (upper rows first, and within a row the leftmost, when they come at once).
BlockContact FirstBlockOnWay(const TForm1& f, const TImage* ball, float x0, float y0) {
    BlockContact first;
    for (int r = 0; r < kBlockRows; ++r) {
        for (int c = 0; c < kBlocksPerRow; ++c) {
            const TImage* block = f.Scene().ImgBlock[BlockIndex(r, c)];
            if (!block->Visible) continue;
            const float at = SweptContact(ball, x0, y0, block);
            if (at >= 0 && (first.row < 0 || at < first.at)) first = {at, r, c};
        }
    }
    return first;
}

// The first visible block (upper rows first, then from the left) the ball overlaps where it stands.
BlockContact BlockUnderBall(const TForm1& f, const TImage* ball) {
    for (int r = 0; r < kBlockRows; ++r) {
        for (int c = 0; c < kBlocksPerRow; ++c) {
            const TImage* block = f.Scene().ImgBlock[BlockIndex(r, c)];
            if (block->Visible && ImagesOverlap(ball, block)) return {1, r, c};
        }
    }
    return {};
}

}  // namespace

void TForm1::BallWayStart(int b, float& x0, float& y0) const {
    // From where the last tick left it along the same leg, or from the start of a
    // leg begun since (a resumed game). A ball put somewhere by other means starts
    // where it stands.
    const float x1 = ImgBall[b]->Position.X, y1 = ImgBall[b]->Position.Y;
    x0 = x1;
    y0 = y1;
    const TFloatAnimation* legX = FloatAniBallX[b];
    const TFloatAnimation* legY = FloatAniBallY[b];
    float now = 0, before = 0;
    if (LastBallMark.ball != b || !OnLeg(legX, legY, x1, y1, LastBallMark.x, LastBallMark.y, &now)) return;
    const BallPathMark& m = LastBallMark;
    const bool sameLeg = legX->StartValue == m.startX && legX->StopValue == m.stopX &&
                         legY->StartValue == m.startY && legY->StopValue == m.stopY;
    if (sameLeg) {
        if (OnLeg(legX, legY, m.x, m.y, x1, y1, &before) && before <= now) {
            x0 = m.x;
            y0 = m.y;
        }
    } else {
        if (legX->Running()) x0 = legX->StartValue;
        if (legY->Running()) y0 = legY->StartValue;
    }
}

void TForm1::ProcessBall() {
    if (board.MovingBallNo() < 0) {
        ForgetBallPath();
        return;
    }
    const int b = board.MovingBallNo();
    TImage* ball = ImgBall[b];
    if (!ball->Visible || (progress.GameMode() == Challenge::Score && progress.Clear()) || progress.GameOver() || Pause) {
        MarkBallPath();
        return;
    }

    // The way the ball has come since the last tick.
    const float x1 = ball->Position.X, y1 = ball->Position.Y;
    float x0, y0;
    BallWayStart(b, x0, y0);
    auto moveAlongTo = [&](float t) {
        ball->Position.X = x0 + (x1 - x0) * t;
        ball->Position.Y = y0 + (y1 - y0) * t;
    };

    // The first contact on that way is this tick's contact: the paddle, or a block.
    const float padAt = ImgPad->Visible ? SweptContact(ball, x0, y0, ImgPad) : -1.0f;
    BlockContact hit = FirstBlockOnWay(*this, ball, x0, y0);
    if (padAt >= 0 && (hit.row < 0 || padAt <= hit.at)) {
        moveAlongTo(padAt);
        if (!PaddleContact(b)) {
            MarkBallPath();
            return;
        }
        // The tick goes on with the blocks, where the paddle put the ball.
        hit = BlockUnderBall(*this, ball);
    } else if (hit.row >= 0) {
        moveAlongTo(hit.at);
    }

    if (hit.row >= 0)
        BlockHit(hit.row, hit.col);
    else
        EdgeContacts(b);
    MarkBallPath();
}

bool TForm1::PaddleContact(int b) {
    TImage* ball = ImgBall[b];
    sound.PlayEffect("Data/Sound/Pad_hit.wav", false);
    Hold(b);
    ball->Position.Y = ImgPad->Position.Y - ball->Height - 5;
    if (board.FirstBallDown()) {
        LblMsg->Visible = false;
        if (progress.GameMode() == Challenge::Stroke) {
            const int s = board.BallMojiNo()[b];
            progress.ReopenQuestion();
            LblKaitoMoji->Text = SlotCharacter(s);
            LblImi->Text = SlotQuestion(s).Imi;
            LblYomi->Text = SlotQuestion(s).Yomi;
            LblYomi->Visible = false;
            FitAnswerLabels();
        }
    }
    progress.CountContact();
    LblPadHitCount->Text =
        progress.GameMode() == Challenge::Score ? ZeroPad(ContactsLeft(progress.Stage(), progress.PadHitCount()), 3) : ZeroPad(progress.PadHitCount(), 3);
    if (progress.GameMode() == Challenge::Score && ContactsUsedUp(progress.Stage(), progress.PadHitCount())) {
        progress.LoseQuestion();
        DoGameOver();
        return false;
    }
    const float duration = PaddleLegDuration(board.FirstBallDown(), svc.random);
    FloatAniBallX[b]->Duration = duration;
    FloatAniBallY[b]->Duration = duration;
    if (board.FirstBallDown())
        FloatAniBallX[b]->StopValue = FirstFallStopX(ClientWidth(), svc.random);
    else
        AimX(b);
    FloatAniBallY[b]->StopValue = 0;  // up to the top edge
    Launch(b);
    board.EndFirstFall();
    return true;
}

void TForm1::BlockHit(int r, int c) {
    const int b = board.MovingBallNo();
    const int i = BlockIndex(r, c);
    TImage* ball = ImgBall[b];
    TImage* block = ImgBlock[i];
    Hold(b);

    const bool gap = r == 0 && board.IsGap(c);
    if (gap && c / 4 == board.TargetSlot(progress.GameMode() == Challenge::Stroke, b)) {  // from any side
        if (progress.GameMode() == Challenge::Score)
            CorrectAnswerScore(c);
        else
            CorrectAnswerStroke(c);
        return;
    }
    if (progress.Stage() == 3 && r == 0 && !gap) DropStone(0, c, StoneKind::Stone);
    if (progress.Stage() >= 2) {
        if (board.BlockKind()[i] == KindOfBlock::Stone) DropStone(r, c, StoneKind::Stone);
        if (r >= 1) {
            block->Visible = false;
            board.BreakBlock(r);
            TLabel* left = r == 1 ? LblVisibleBlockCount1 : LblVisibleBlockCount2;
            left->Text = IntToStr(kBlocksPerRow - board.UnVisibleBlockCount()[r]);
        }
    }
    if (gap) WrongAnswer(c);

    // Bounce off the face the ball met.
    if (ball->Position.Y >= FloatAniBallY[b]->StartValue) {  // going down: upper face
        ball->Position.Y = block->Position.Y - ball->Height - 5;
        FloatAniBallY[b]->StopValue = 0;
        if (r == 0 && board.KnockTopRow()) {
            // The fifth knock on the top row from above lets the ball through.
            ball->Position.Y = block->Position.Y + block->Height + 5;
            FloatAniBallY[b]->StopValue = static_cast<float>(ClientHeight());
        }
    } else {
        ball->Position.Y = block->Position.Y + block->Height + 5;
        FloatAniBallY[b]->StopValue = static_cast<float>(ClientHeight());
    }
    AimX(b);
    const float duration = BlockLegDuration(svc.random);
    FloatAniBallX[b]->Duration = duration;
    FloatAniBallY[b]->Duration = duration;
    Launch(b);

    if (r >= 1 && board.SeikaiMojiNo()[i] >= 0) CharacterCopy(r, c);
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
    sound.PlayEffect("Data/Sound/Miss.wav", false);
    if (progress.GameMode() == Challenge::Stroke || board.MovingBallNo() > 1) {
        progress.LoseQuestion();
        DoGameOver();
        return;
    }
    // The next ball drops straight down from where it rests; the lost one is left alone.
    const int next = board.MovingBallNo() + 1;
    TFloatAnimation* fall = FloatAniBallY[next];
    fall->StartValue = ImgBall[next]->Position.Y;
    fall->StopValue = static_cast<float>(ClientHeight());
    fall->Duration = 1.5f;
    fall->Start();
    board.ServeBall(next);
}
