#pragma once
// Where the settings dialog puts its voice choice: one radio button a row of the
// voices table. Two voices fill the group box as designed; each further voice
// adds a row below, and the group box, the caption of the question editor and the
// editor's top move down by that row (the editor keeps its bottom edge, above the
// buttons).
#include <vector>

// A rectangle in the dialog's client area, in its design pixels.
struct DialogRect {
    float x, y, w, h;
};

struct VoiceChoiceLayout {
    DialogRect groupBox;
    std::vector<DialogRect> buttons;  // relative to the group box's top-left corner
    DialogRect editorCaption;
    DialogRect editor;
};

VoiceChoiceLayout LayOutVoiceChoice(int voiceCount);
