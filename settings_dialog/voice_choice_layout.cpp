#include "settings_dialog/voice_choice_layout.h"

#include <algorithm>

namespace {

// The design, for its two voices.
constexpr DialogRect kGroupBoxVoiceMode{16, 16, 120, 100};
constexpr DialogRect kRadioButtonF{0, 32, 120, 19};  // inside the group box
constexpr DialogRect kRadioButtonM{0, 64, 120, 19};
constexpr DialogRect kLabel1{16, 128, 120, 25};
constexpr DialogRect kMemo1{16, 160, 577, 369};
constexpr int kDesignedVoices = 2;

}  // namespace

VoiceChoiceLayout LayOutVoiceChoice(int voiceCount) {
    const float step = kRadioButtonM.y - kRadioButtonF.y;
    const float added = static_cast<float>(std::max(0, voiceCount - kDesignedVoices)) * step;
    VoiceChoiceLayout layout;
    layout.groupBox = kGroupBoxVoiceMode;
    layout.groupBox.h += added;
    for (int v = 0; v < voiceCount; ++v) {
        DialogRect button = kRadioButtonF;
        button.y += static_cast<float>(v) * step;
        layout.buttons.push_back(button);
    }
    layout.editorCaption = kLabel1;
    layout.editorCaption.y += added;
    layout.editor = kMemo1;
    layout.editor.y += added;
    layout.editor.h -= added;
    return layout;
}
