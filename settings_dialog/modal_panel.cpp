#include "settings_dialog/modal_panel.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <limits>
#include <utility>

#include "platform/application.h"
#include "settings_dialog/imgui_layer.h"
#include "settings_dialog/imgui_message_boxes.h"

void ModalPanel::BeginModal() {
    framesWanted_ = kSettleFrames;
    pending_ = nullptr;
    quitAfterClose_ = false;
    textInputWasOn_ = SDL_IsTextInputActive() == SDL_TRUE;
    SDL_FlushEvents(SDL_TEXTEDITING, SDL_TEXTINPUT);
    SDL_StartTextInput();
}

void ModalPanel::EndModal() {
    open_ = false;
    if (!textInputWasOn_) SDL_StopTextInput();
}

void ModalPanel::PassOnQuit() const {
    if (!quitAfterClose_) return;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

bool ModalPanel::HandleEvent(const SDL_Event& e, ImGuiLayer& layer, const std::function<void()>& close) {
    switch (e.type) {
        case SDL_QUIT:
            quitAfterClose_ = true;
            close();
            return true;
        case SDL_WINDOWEVENT:  // the game keeps track of its window too
        case SDL_KEYUP:
        case SDL_MOUSEBUTTONUP:
            // Releases reach both, so the game holds no key or button down.
            layer.ProcessEvent(e);
            return false;
        default:
            layer.ProcessEvent(e);
            return true;
    }
}

void ModalPanel::DrawFrame(ImGuiLayer& layer, const std::function<void()>& contents, bool mayAct) {
    if (!open_ || drawing_) return;
    drawing_ = true;
    layer.BeginFrame();
    // Nothing stays active from the last opening (ImGui would keep its own copy of an old text).
    if (firstFrame_) ImGui::ClearActiveID();
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::GetBackgroundDrawList()->AddRectFilled(ImVec2(0, 0), io.DisplaySize, IM_COL32(0, 0, 0, 70));
    contents();
    boxes_.Draw();
    layer.EndFrame();
    firstFrame_ = false;
    drawing_ = false;
    if (framesWanted_ > 0) --framesWanted_;

    // Outside drawing: the action may open a box, which runs a loop of its own that draws again.
    if (pending_ && mayAct && !boxes_.IsOpen() && !actionRunning_) app_.Post(std::exchange(pending_, nullptr));
}

int ModalPanel::MsUntilFrame(ImGuiLayer& layer) const {
    // A button's action waits for its frame, unless a box or another action holds it back.
    const bool actionWaits = pending_ && !boxes_.IsOpen() && !actionRunning_;
    if (framesWanted_ > 0 || actionWaits || layer.HasWaitingInput()) return 0;
    const int caret = layer.MsUntilCaretBlink();
    // A still panel with no caret blinking needs nothing.
    return caret >= 0 ? caret : std::numeric_limits<int>::max();
}

bool ModalPanel::Request(std::function<void()> action) {
    if (pending_) return false;
    pending_ = std::move(action);
    return true;
}

void ModalPanel::Run(const std::function<void()>& action) {
    actionRunning_ = true;
    framesWanted_ = kSettleFrames;
    action();
    actionRunning_ = false;
}
