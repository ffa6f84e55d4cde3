// The player's commands: keys, the paddle under the mouse, pause and resume.
#include "game/tform1.h"

void TForm1::FormKeyDown(SceneObject*, int key, char16_t keyChar, TShiftState) {
    // A save that failed on the way out waits for the player's choice.
    if (LeaveChoiceKey(keyChar)) return;

    // 1. Keys tested by their code.
    if (key == VK_SHIFT_KEY)
        StartKey();
    else if (key == VK_MENU_KEY)
        ModeKey();
    else if (key == VK_ESCAPE_KEY)
        EscapeKey();

    // 2. The answers to the resume question.
    if ((Title && !GameModeSetting) || GameLoading) ResumeAnswerKey(keyChar);

    // 3. Letter commands; only the lower-case characters count.
    switch (keyChar) {
        case u'a': PauseKey(); break;
        case u'd': MinimiseKey(); break;
        case u'z': HintKey(); break;
        case u'x': MusicKey(); break;
        case u'c': SoundKey(); break;
        case u's': SettingsKey(); break;
        case u'r': LearningKey(); break;
        default: break;
    }
}

void TForm1::StartKey() {
    // Start: not while a ball flies, the countdown runs, a question is pending,
    // or the points of the last answer are still flying to the total.
    if (board.MovingBallNo() != -1 || CountdownRuns() || GameModeSetting || GameLoading || GameSaving ||
        FloatAniScoreY->Running())
        return;
    Title = false;
    ImgTitle->Visible = false;
    ImgLogo->Visible = false;
    notice.Hide();
    PlaceMessageAtDesign();  // the countdown and play messages stand where they always did
    SetUpStage();
    Pause = false;
    Timer1->SetEnabled(true);
    GameModeSetting = false;
    DealQuestions();
}

void TForm1::ModeKey() {
    if (CountdownRuns() || ExplosionShows() || GameModeSetting) return;
    notice.Hide();
    Pause = true;
    PauseGame();
    GameModeSetting = true;
    GameLoading = false;
    GameSaving = false;
    LblGameMode->Text = progress.GameMode() == Challenge::Score ? Msg::StrokeChallenge : Msg::ScoreChallenge;
    ImgTitle->Visible = false;
    LblYomi->Visible = false;
    LblImi->Visible = false;
    if (progress.GameMode() == Challenge::Score)
        SwitchToStrokeChallenge();
    else
        SwitchToScoreChallenge();
    Title = false;
}

void TForm1::SwitchToStrokeChallenge() {
    // The score challenge is saved to be continued later.
    SaveFailure.clear();
    if (!Title) {
        GameSaving = true;
        SaveGame();
        GameSaving = false;
    }
    if (progress.GameClear()) sound.StopMusic();
    LblTotalScore->Visible = false;
    LblHighScore->Visible = false;
    LblMondaiCount->Visible = false;
    LblMode1HighScore->Visible = true;
    // A save that failed must not be hidden by the start message.
    LblMsg->Text = SaveFailure.empty() ? std::string(Msg::Start) : SaveFailure + Msg::Start;
    LblMsg->Visible = true;
    FitMessage();
    notice.Fit();  // which file and why stays under the longer message
    board.NoBallInPlay();
    GameModeSetting = false;
    progress.StartStrokeChallenge();
}

void TForm1::SwitchToScoreChallenge() {
    // A saved game not yet cleared may be continued: the player is asked.
    if (progress.Mode1_Clear()) sound.StopMusic();
    // The stroke challenge's fourth ball (number 3) has no place in the score
    // challenge: a save from the resume question must not record it.
    board.NoBallInPlay();
    std::string message;
    if (OffersSuspendedGame()) {
        message = Msg::ResumeQuestion;
        GameLoading = true;
    } else {
        progress.MarkGameFinished();
        message = Msg::Start;
        board.NoBallInPlay();
        GameModeSetting = false;
    }
    LblMsg->Text = message;
    LblMsg->Visible = true;
    FitMessage();
    LblTotalScore->Visible = true;
    LblHighScore->Visible = true;
    LblMondaiCount->Visible = true;
    LblMode1HighScore->Visible = false;
    progress.StartScoreChallenge();
}

void TForm1::EscapeKey() {
    if (CountdownRuns() || ExplosionShows()) return;
    Timer1->SetEnabled(false);
    if (board.MovingBallNo() >= 0) Hold(board.MovingBallNo());
    Close();
}

void TForm1::ResumeAnswerKey(char16_t keyChar) {
    if (keyChar == u'y') {
        if (files.Exists(PlayerFile::SuspendedGame)) LoadGame();
        GameLoading = false;
        GameModeSetting = false;
        FitMessage();
    } else if (keyChar == u'n') {
        progress.MarkGameFinished();
        LblMsg->Text = Msg::Start;
        LblMsg->Visible = true;
        GameLoading = false;
        GameModeSetting = false;
        board.NoBallInPlay();
        FitMessage();
    }
}

void TForm1::PauseKey() {
    if (progress.Clear() || progress.GameOver() || CountdownRuns() || ExplosionShows() || Title || GameLoading || GameSaving ||
        GameModeSetting)
        return;
    if (!Pause) {
        Pause = true;
        PauseGame();
    } else {
        Pause = false;
        ResumeGame();
        if (progress.GameMode() == Challenge::Score) ImgBall[kScoreChallengeBalls]->Visible = false;
        GameModeSetting = false;
    }
}

// Stops the frame tick and pauses a game in progress before the window goes away.
void TForm1::PauseForLeaving() {
    Timer1->SetEnabled(false);
    if (!progress.Clear() && !progress.GameOver() && !Title) {
        Pause = true;
        PauseGame();
    }
}

void TForm1::MinimiseKey() {
    if (CountdownRuns() || ExplosionShows()) return;
    PauseForLeaving();
    if (!Title && progress.Stage() > 0 && !SavedBeforeLeaving()) {
        OfferLeavingUnsaved(LeaveAfterFailedSave::Minimise);
        return;
    }
    FinishMinimising();
}

void TForm1::HintKey() {
    if (progress.GameMode() == Challenge::Score && !progress.Clear() && !progress.HintHyoji() && !Pause && !Title) {
        progress.ShowHints();
        LblImi->Visible = true;
        Learning.Hinted(SlotQuestion(board.BallSeikaiMojiNo()));
    }
}

void TForm1::MusicKey() {
    sound.ToggleMusic(progress.Stage());
    ImgMusicStop->Visible = !sound.IsMusic;
    KeepSwitchesFromTitle();
}

void TForm1::SoundKey() {
    sound.ToggleSound();
    ImgSoundStop->Visible = !sound.IsSound;
    KeepSwitchesFromTitle();
}

void TForm1::SettingsKey() { ShowModalWindow(Form2 ? [this] { Form2->ShowModal(); } : std::function<void()>()); }

void TForm1::ShowModalWindow(const std::function<void()>& showModal) {
    if (CountdownRuns() || ExplosionShows()) return;
    PauseForLeaving();
    GameSetting = true;
    ShowCursorUntilVisible();
    if (showModal) {
        showModal();
        ShowDueReviews();  // the record may have been cleared meanwhile
    } else {
        // Without a dialog, close at once the way the dialog would.
        if (!Pause) Timer1->SetEnabled(true);
        HideCursor();
        GameSetting = false;
    }
}

void TForm1::FreezePlay() {
    Timer1->SetEnabled(false);
    if (board.MovingBallNo() >= 0) Hold(board.MovingBallNo());
    HoldFallingStones();
}

void TForm1::ContinueBallInPlay() {
    if (board.MovingBallNo() < 0) return;
    // A ball on its first fall has no sideways leg: it keeps falling straight.
    if (!board.FirstBallDown()) FloatAniBallX[board.MovingBallNo()]->Start();
    FloatAniBallY[board.MovingBallNo()]->Start();
}

void TForm1::PauseGame() {
    FreezePlay();
    for (TText* t : TextBlockMoji) t->Visible = false;
    for (TText* t : TextSpecialBlockMoji) t->Visible = false;
    for (TText* t : TextBallMoji) t->Visible = false;
    LblImi->Visible = false;
    LblMsg->Text = Msg::Paused;
    LblMsg->Visible = true;
}

void TForm1::ResumeGame() {
    Timer1->SetEnabled(true);
    for (TText* t : TextBlockMoji) t->Visible = true;
    for (TText* t : TextSpecialBlockMoji) t->Visible = true;
    for (TText* t : TextBallMoji) t->Visible = true;
    if (progress.HintHyoji()) LblImi->Visible = true;
    ResumeHeldStones();
    ContinueBallInPlay();
    LblMsg->Visible = false;
}

void TForm1::FormMouseMove(SceneObject*, TShiftState, float x, float) {
    // In full screen the pointer's screen position is the client position; the
    // back end keeps it current from motion events.
    if (FullScreen)
        ImgPad->Position.X = svc.input.ScreenMouseX - ImgPad->Width / 2;
    else
        ImgPad->Position.X = x - ImgPad->Width / 2;
    if (IsMinimized && svc.host.ScreenWidth() == ClientWidth()) svc.host.BringToForeground();
}
