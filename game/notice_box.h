#pragma once
// The box under the message that tells the player about files: lines of text
// in the help panel's colours, clear of the help panel and the logo.
#include <string>

#include "game/window_objects.h"
#include "platform/scene.h"

class NoticeBox {
public:
    NoticeBox(TForm& window, WindowObjects& objects) : window_(window), w_(objects) {}
    void Show(const std::string& text);  // one line a '\n'-separated paragraph
    void Hide();
    // After every change of its text, of the message above it or of the window size.
    void Fit();

private:
    TForm& window_;
    WindowObjects& w_;
};
