#include "settings_dialog/imgui_message_boxes.h"

#include <imgui.h>

#include "platform/application.h"
#include "platform/scene.h"
#include "settings_dialog/dialog_texts.h"
#include "settings_dialog/imgui_layer.h"

namespace {
constexpr const char* kPopupId = "##message_box";
const ImVec2 kButtonSize(96, 30);
}  // namespace

void ImGuiMessageBoxes::ShowMessage(const std::string& text) { Run(text, false, Answer::Yes); }

MessageBoxes::Answer ImGuiMessageBoxes::AskYesNo(const std::string& text) { return Run(text, true, Answer::Yes); }

MessageBoxes::Answer ImGuiMessageBoxes::AskYesNo(const std::string& text, Answer startOn) {
    return Run(text, true, startOn);
}

MessageBoxes::Answer ImGuiMessageBoxes::Run(const std::string& text, bool question, Answer startOn) {
    // Only one box at a time: the dialog takes no action while one is open.
    if (box_ || !layer_) return Answer::No;
    layer_->RequireGlyphs(caption_ + text + BoxText::Yes + BoxText::No);
    TForm waiter(1, 1);
    Box box{text, question, startOn, false, Answer::No, &waiter};
    box_ = &box;
    shownFrames_ = 0;
    app_.ShowModal(waiter);
    box_ = nullptr;
    shownFrames_ = -1;
    return box.answer;
}

void ImGuiMessageBoxes::Answered(Answer a) {
    box_->answer = a;
    box_->waiter->Close();
    ImGui::CloseCurrentPopup();
}

void ImGuiMessageBoxes::EscapePressed() {
    if (box_ && !box_->question && !box_->waiter->IsClosed()) {
        box_->answer = Answer::Yes;
        box_->waiter->Close();
    }
}

void ImGuiMessageBoxes::Draw() {
    if (!box_ || box_->waiter->IsClosed()) return;
    const std::string title = caption_ + kPopupId;
    if (!box_->popupOpened) {
        ImGui::OpenPopup(title.c_str());
        box_->popupOpened = true;
    }
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSizeConstraints(ImVec2(260, 0), ImVec2(560, FLT_MAX));
    const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoCollapse;
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(20, 16));
    if (ImGui::BeginPopupModal(title.c_str(), nullptr, flags)) {
        ++shownFrames_;
        ImGui::PushTextWrapPos(520);
        ImGui::TextUnformatted(box_->text.c_str());
        ImGui::PopTextWrapPos();
        ImGui::Dummy(ImVec2(0, 10));
        const bool enter = ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter), false) ||
                           ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_KeyPadEnter), false);
        const int buttons = box_->question ? 2 : 1;
        const float width = buttons * kButtonSize.x + (buttons - 1) * ImGui::GetStyle().ItemSpacing.x;
        const float avail = ImGui::GetContentRegionAvail().x;
        if (avail > width) ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (avail - width) * 0.5f);
        if (box_->question) {
            const bool yes = ImGui::Button(BoxText::Yes, kButtonSize);
            const bool yesFocused = ImGui::IsItemFocused();
            ImGui::SameLine();
            const bool no = ImGui::Button(BoxText::No, kButtonSize);
            if (box_->startOn == Answer::No) ImGui::SetItemDefaultFocus();
            const bool noFocused = ImGui::IsItemFocused();
            // Enter answers with the button the keyboard is on, else the default one, as desktop boxes do.
            if (yes) Answered(Answer::Yes);
            else if (no) Answered(Answer::No);
            else if (enter) Answered(noFocused ? Answer::No : yesFocused ? Answer::Yes : box_->startOn);
        } else if (ImGui::Button(BoxText::Ok, kButtonSize) || enter) {
            Answered(Answer::Yes);
        }
        ImGui::EndPopup();
    }
    ImGui::PopStyleVar();
}
