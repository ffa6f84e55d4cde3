#include "settings_dialog/learning_card.h"

#include <imgui.h>

#include <cmath>

void DrawTextAtSize(const std::string& utf8, ImFont* font, float pixels) {
    ImGui::GetWindowDrawList()->AddText(font, pixels, ImGui::GetCursorScreenPos(), ImGui::GetColorU32(ImGuiCol_Text),
                                        utf8.c_str());
    ImGui::Dummy(font->CalcTextSizeA(pixels, FLT_MAX, 0, utf8.c_str()));
}

void DrawAccentedReading(const std::vector<AccentPhrase>& phrases, ImFont* font, float kanaPixels) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImU32 ink = ImGui::GetColorU32(ImGuiCol_Text);
    const ImU32 pitch = IM_COL32(200, 40, 40, 255);
    const float thickness = std::max(1.5f, kanaPixels / 14.0f);
    const float rise = std::ceil(kanaPixels * 0.35f);  // room above and below the kana for the line
    const float phraseGap = kanaPixels * 0.8f;
    const float tail = kanaPixels * 0.35f;             // the fall after a last-mora nucleus
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const float top = origin.y + thickness, bottom = origin.y + rise * 2 + kanaPixels;
    float x = origin.x;
    for (const AccentPhrase& phrase : phrases) {
        if (&phrase != &phrases.front()) x += phraseGap + (phrase.pauseBefore ? phraseGap : 0);
        bool previousHigh = false;
        for (std::size_t m = 0; m < phrase.morae.size(); ++m) {
            const AccentMora& mora = phrase.morae[m];
            const float width = font->CalcTextSizeA(kanaPixels, FLT_MAX, 0, mora.kana.c_str()).x;
            draw->AddText(font, kanaPixels, ImVec2(x, origin.y + rise), ink, mora.kana.c_str());
            const float y = mora.high ? top : bottom;
            if (m > 0 && mora.high != previousHigh) draw->AddLine(ImVec2(x, top), ImVec2(x, bottom), pitch, thickness);
            draw->AddLine(ImVec2(x, y), ImVec2(x + width, y), pitch, thickness);
            x += width;
            previousHigh = mora.high;
        }
        // A nucleus on the last mora: the pitch falls after the phrase (on what follows).
        if (phrase.nucleus == static_cast<int>(phrase.morae.size())) {
            draw->AddLine(ImVec2(x, top), ImVec2(x, bottom), pitch, thickness);
            draw->AddLine(ImVec2(x, bottom), ImVec2(x + tail, bottom), pitch, thickness);
            x += tail;
        }
    }
    ImGui::Dummy(ImVec2(x - origin.x, bottom - origin.y + thickness));
}
