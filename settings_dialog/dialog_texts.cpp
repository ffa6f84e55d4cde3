// The dialogs' texts run together, so their glyphs are in the atlas before the first frame.
#include "settings_dialog/dialog_texts.h"

#include <initializer_list>
#include <string_view>

namespace {

// The texts without their {placeholders}, whose names the player never sees.
std::string Joined(std::initializer_list<const char*> texts) {
    std::string all;
    for (std::string_view t : texts) {
        for (size_t open; (open = t.find('{')) != std::string_view::npos;) {
            const size_t close = t.find('}', open);
            if (close == std::string_view::npos) break;
            all.append(t.substr(0, open));
            t.remove_prefix(close + 1);
        }
        all.append(t);
    }
    return all;
}

std::string BoxTexts() { return Joined({Msg::Title, BoxText::Yes, BoxText::No, BoxText::Ok}); }

}  // namespace

std::string DialogGlyphTexts() {
    using namespace SettingsDialogText;
    return Joined({Caption, Voices, AddQuestions, ReadingInput, BoxText::Ok, Cancel, Msg::Title});
}

std::string LearningGlyphTexts() {
#define TERAMON_LEARNING_WINDOW_WORDS(name, words) words,
    std::string all = BoxTexts() + Joined({TERAMON_LEARNING_WINDOW_TEXTS(TERAMON_LEARNING_WINDOW_WORDS)});
#undef TERAMON_LEARNING_WINDOW_WORDS
    for (const char* day : LearningWindowText::Weekdays) all += day;
    return all;
}
