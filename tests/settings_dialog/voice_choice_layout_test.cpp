#include "settings_dialog/voice_choice_layout.h"

#include <gtest/gtest.h>

#include "voice/voices.h"

namespace {

bool Same(const DialogRect& a, const DialogRect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }
float Bottom(const DialogRect& r) { return r.y + r.h; }

// Two voices are laid out exactly as designed.
TEST(VoiceChoiceLayoutTest, TwoVoicesAreTheDesign) {
    const VoiceChoiceLayout l = LayOutVoiceChoice(2);
    EXPECT_TRUE(Same(l.groupBox, {16, 16, 120, 100}));
    ASSERT_EQ(l.buttons.size(), 2u);
    EXPECT_TRUE(Same(l.buttons[0], {0, 32, 120, 19}));
    EXPECT_TRUE(Same(l.buttons[1], {0, 64, 120, 19}));
    EXPECT_TRUE(Same(l.editorCaption, {16, 128, 120, 25}));
    EXPECT_TRUE(Same(l.editor, {16, 160, 577, 369}));
}

// However many voices the table holds, each has its own row inside the group
// box, and the box, the caption and the editor stay apart, the editor above the
// dialog's buttons (from y 544).
TEST(VoiceChoiceLayoutTest, EveryVoiceHasARowInsideTheBox) {
    for (int n : {1, 2, 3, 4, 6, kVoiceCount}) {
        SCOPED_TRACE(n);
        const VoiceChoiceLayout l = LayOutVoiceChoice(n);
        ASSERT_EQ(static_cast<int>(l.buttons.size()), n);
        for (int v = 0; v < n; ++v) {
            const DialogRect& b = l.buttons[v];
            EXPECT_GT(b.y, 16) << "below the box's caption: " << v;
            EXPECT_LE(Bottom(b), l.groupBox.h) << v;
            if (v > 0) {
                EXPECT_GE(b.y, Bottom(l.buttons[v - 1])) << v;
            }
        }
        EXPECT_LT(Bottom(l.groupBox), l.editorCaption.y);
        EXPECT_LE(Bottom(l.editorCaption), l.editor.y);
        EXPECT_EQ(Bottom(l.editor), 529);
        EXPECT_GT(l.editor.h, 100);
    }
}

}  // namespace
