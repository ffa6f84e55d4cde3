#pragma once
// The two message boxes the settings dialog needs: an information box with an
// OK button, and a question with the buttons Yes and No. Both wait for the
// player's answer. The drawn dialog shows them over itself; tests script them.
#include <string>

class MessageBoxes {
public:
    enum class Answer { Yes, No };

    virtual ~MessageBoxes() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual Answer AskYesNo(const std::string& text) = 0;
};
