#include "settings_dialog/imgui_settings_dialog.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>
#include <imgui_stdlib.h>

#include <algorithm>

#include "platform/application.h"
#include "platform/sdl/fonts.h"
#include "platform/sdl/sdl_event_backend.h"
#include "platform/sdl/sdl_window.h"
#include "settings_dialog/dialog_texts.h"
#include "settings_dialog/imgui_layer.h"
#include "settings_dialog/voice_choice_layout.h"
#include "voice/voices.h"

namespace {

constexpr float kFontPixels = 14;

using Rect = DialogRect;
// The design of the dialog, relative to the top-left corner of its client area
// (the voice choice and the editor above the buttons: voice_choice_layout.h).
constexpr Rect kBtnImputYomi{16, 544, 105, 33};
constexpr Rect kBtnOK{296, 544, 105, 33};
constexpr Rect kBtnCancel{432, 544, 105, 33};

std::string DialogFontFile() {
    for (const char* pattern : {"IPAPGothic", "sans-serif:lang=ja"}) {
        std::string file = FindJapaneseFontFile(pattern);
        if (!file.empty()) return file;
    }
    return "";
}

void ApplyDialogStyle() {
    ImGui::StyleColorsLight();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 6;
    style.FrameRounding = 5;  // the rounded-corner button look
    style.FrameBorderSize = 1;
    style.WindowBorderSize = 1;
    style.PopupRounding = 6;
    style.GrabRounding = 4;
    style.ScrollbarRounding = 6;
    style.FramePadding = ImVec2(6, 3);
    style.Colors[ImGuiCol_WindowBg] = ImVec4(0.95f, 0.95f, 0.95f, 1);
    style.Colors[ImGuiCol_PopupBg] = ImVec4(0.97f, 0.97f, 0.97f, 1);
    style.Colors[ImGuiCol_FrameBg] = ImVec4(1, 1, 1, 1);
    style.Colors[ImGuiCol_Border] = ImVec4(0.62f, 0.62f, 0.62f, 1);
    style.Colors[ImGuiCol_Button] = ImVec4(0.90f, 0.90f, 0.90f, 1);
    style.Colors[ImGuiCol_ButtonHovered] = ImVec4(0.80f, 0.88f, 0.97f, 1);
    style.Colors[ImGuiCol_ButtonActive] = ImVec4(0.68f, 0.80f, 0.95f, 1);
    style.Colors[ImGuiCol_ModalWindowDimBg] = ImVec4(0, 0, 0, 0.25f);
}

// A frame with its caption set into the top edge, like a desktop group box.
void DrawGroupBox(ImVec2 origin, const Rect& r, const char* caption) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImGuiStyle& style = ImGui::GetStyle();
    const float fontSize = ImGui::GetFontSize();
    const ImVec2 topLeft(origin.x + r.x, origin.y + r.y + fontSize * 0.5f);
    const ImVec2 bottomRight(origin.x + r.x + r.w, origin.y + r.y + r.h);
    draw->AddRect(topLeft, bottomRight, ImGui::GetColorU32(ImGuiCol_Border), 4);
    const ImVec2 textPos(origin.x + r.x + 8, origin.y + r.y);
    const ImVec2 textSize = ImGui::CalcTextSize(caption);
    draw->AddRectFilled(ImVec2(textPos.x - 3, textPos.y), ImVec2(textPos.x + textSize.x + 3, textPos.y + textSize.y),
                        ImGui::ColorConvertFloat4ToU32(style.Colors[ImGuiCol_WindowBg]));
    draw->AddText(textPos, ImGui::GetColorU32(ImGuiCol_Text), caption);
}

}  // namespace

ImGuiSettingsDialog::ImGuiSettingsDialog(SettingsDialogHost& host, Application& app, SdlWindow& window,
                                         SdlEventBackend& backend, std::string fontFile)
    : app_(app),
      window_(window),
      backend_(backend),
      fontFile_(std::move(fontFile)),
      boxes_(app, Msg::Title),
      panel_(app, boxes_),
      logic_(host, boxes_) {
    backend_.SetEventFilter([this](const SDL_Event& e) { return panel_.IsOpen() && HandleEvent(e); });
    backend_.SetOverlay([this] { DrawOverlay(); });
    backend_.SetOverlayFrames([this] { return MsUntilFrame(); });
}

ImGuiSettingsDialog::~ImGuiSettingsDialog() {
    backend_.SetEventFilter({});
    backend_.SetOverlay({});
    backend_.SetOverlayFrames({});
    boxes_.SetLayer(nullptr);
}

ImGuiLayer& ImGuiSettingsDialog::Layer() {
    if (!layer_) {
        // Made at the first opening, with the atlas prepared meanwhile if there is one.
        if (fontFile_.empty()) fontFile_ = DialogFontFile();
        layer_ = std::make_unique<ImGuiLayer>(window_.Window(), window_.Renderer(), fontFile_, kFontPixels,
                                              window_.Mapping(), std::move(preparedFonts_));
        ApplyDialogStyle();
        boxes_.SetLayer(layer_.get());
    }
    return *layer_;
}

void ImGuiSettingsDialog::PrepareFonts(std::string texts, std::string headingTexts) {
    if (layer_ || preparedFonts_) return;
    if (fontFile_.empty()) fontFile_ = DialogFontFile();
    preparedFonts_ = std::make_unique<PreparedFontAtlas>(fontFile_, kFontPixels, window_.Mapping(),
                                                         DialogGlyphTexts() + texts,
                                                         std::move(headingTexts));
}

bool ImGuiSettingsDialog::FontsPrepared() const { return layer_ || (preparedFonts_ && preparedFonts_->Ready()); }

void ImGuiSettingsDialog::ShowModal() {
    if (panel_.IsOpen()) return;
    Layer();
    layer_->RequireGlyphs(DialogGlyphTexts());
    for (const VoiceRow& voice : kVoices) layer_->RequireGlyphs(voice.displayName);
    layer_->ResetInput();

    panel_.Open();
    // Typed text goes through the input method while the editor is open.
    panel_.BeginModal();

    logic_.Reopen();
    logic_.FormShow();  // may show a box; the panel is drawn behind it
    if (!logic_.IsClosed()) {
        logic_.FormActivate();
        app_.ShowModal(logic_);
    }

    panel_.EndModal();
    // The player asked to quit while the dialog was open: now the game may.
    panel_.PassOnQuit();
}

int ImGuiSettingsDialog::MsUntilFrame() const {
    if (!panel_.IsOpen() || !layer_) return SdlEventBackend::kOverlayHidden;
    return panel_.MsUntilFrame(*layer_);
}

bool ImGuiSettingsDialog::HandleEvent(const SDL_Event& e) {
    if (!layer_) return false;
    panel_.WantSettleFrames();
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) {
        // Not given to ImGui: there Escape would undo every edit of the text.
        if (!e.key.repeat) {
            if (boxes_.IsOpen()) boxes_.EscapePressed();
            else Request(Action::Close);
        }
        return true;
    }
    const bool taken = panel_.HandleEvent(e, *layer_, [this] { Request(Action::Close); });
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
        app_.Post([this] {
            if (panel_.IsOpen()) logic_.FormActivate();
        });
    return taken;
}

void ImGuiSettingsDialog::Request(Action a) {
    panel_.Request([this, a] { RunAction(a); });
}

void ImGuiSettingsDialog::RunAction(Action a) {
    if (!panel_.IsOpen() || logic_.IsClosed()) return;
    panel_.Run([this, a] {
        switch (a) {
            case Action::ReadingButton: logic_.BtnImputYomiClick(); break;
            case Action::Ok: logic_.BtnOKClick(); break;
            case Action::Cancel: logic_.BtnCancelClick(); break;
            case Action::Close: logic_.Close(); break;
            case Action::None: break;
        }
        // A close that was refused also refuses the quit that asked for it.
        if (!logic_.IsClosed()) panel_.ForgetQuit();
    });
}

void ImGuiSettingsDialog::DrawOverlay() {
    if (!layer_) return;
    panel_.DrawFrame(*layer_, [this] { DrawPanel(); });
}

void ImGuiSettingsDialog::DrawPanel() {
    const ImGuiIO& io = ImGui::GetIO();
    const float titleHeight = ImGui::GetFrameHeight();
    const ImVec2 size(SettingsDialogLogic::kClientWidth, SettingsDialogLogic::kClientHeight + titleHeight);
    const ImVec2 pos(std::max(0.0f, std::floor((io.DisplaySize.x - size.x) * 0.5f)),
                     std::max(0.0f, std::floor((io.DisplaySize.y - size.y) * 0.5f)));
    ImGui::SetNextWindowPos(pos, ImGuiCond_Always);
    ImGui::SetNextWindowSize(size, ImGuiCond_Always);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse;
    bool stayOpen = true;
    const std::string title = logic_.Caption + "###settings_dialog";
    if (ImGui::Begin(title.c_str(), &stayOpen, flags)) {
        const ImVec2 wp = ImGui::GetWindowPos();
        const ImVec2 origin(wp.x, wp.y + titleHeight);  // the client area's top-left corner
        auto at = [&](float x, float y) { ImGui::SetCursorScreenPos(ImVec2(origin.x + x, origin.y + y)); };
        const float font = ImGui::GetFontSize();

        static const VoiceChoiceLayout voices = LayOutVoiceChoice(kVoiceCount);
        DrawGroupBox(origin, voices.groupBox, SettingsDialogText::Voices);
        // The circles sit a little inside the group box's frame.
        constexpr float inset = 10;
        for (int v = 0; v < kVoiceCount; ++v) {
            const Rect& r = voices.buttons[v];
            at(voices.groupBox.x + r.x + inset, voices.groupBox.y + r.y + (r.h - ImGui::GetFrameHeight()) * 0.5f);
            if (ImGui::RadioButton(kVoices[v].displayName, logic_.VoiceChecked(v))) logic_.CheckVoice(v);
        }

        const Rect& caption = voices.editorCaption;
        at(caption.x, caption.y + (caption.h - font) * 0.5f);
        ImGui::TextUnformatted(SettingsDialogText::AddQuestions);

        const Rect& editor = voices.editor;
        DrawEditor(origin.x + editor.x, origin.y + editor.y, editor.w, editor.h);

        const auto button = [&](const Rect& r, const char* label, Action a) {
            at(r.x, r.y);
            if (ImGui::Button(label, ImVec2(r.w, r.h))) Request(a);
        };
        button(kBtnImputYomi, SettingsDialogText::ReadingInput, Action::ReadingButton);
        button(kBtnOK, BoxText::Ok, Action::Ok);
        button(kBtnCancel, SettingsDialogText::Cancel, Action::Cancel);
    }
    ImGui::End();
    ImGui::PopStyleVar();
    if (!stayOpen) Request(Action::Close);
}

void ImGuiSettingsDialog::DrawEditor(float x, float y, float w, float h) {
    if (logic_.TextVersion() != shownVersion_) {
        // The dialog changed the text itself (loading, the reading button).
        buffer_ = logic_.EditorText();
        shownVersion_ = logic_.TextVersion();
        layer_->RequireGlyphs(buffer_);
        if (ImGui::GetActiveID() == ImGui::GetID("##Memo1")) ImGui::ClearActiveID();
    }
    if (logic_.TakeFocusRequest()) {
        ImGui::SetCursorScreenPos(ImVec2(x, y));
        ImGui::SetKeyboardFocusHere();
        caretToStart_ = true;
    }
    ImGui::SetCursorScreenPos(ImVec2(x, y));
    caretOffset_ = logic_.SelStart();
    if (ImGui::InputTextMultiline("##Memo1", &buffer_, ImVec2(w, h), ImGuiInputTextFlags_CallbackAlways,
                                  &ImGuiSettingsDialog::EditorCallback, this)) {
        logic_.EditText(buffer_);
        layer_->RequireGlyphs(buffer_);
    }
    logic_.SetCaret(caretOffset_);
}

int ImGuiSettingsDialog::EditorCallback(ImGuiInputTextCallbackData* data) {
    auto* self = static_cast<ImGuiSettingsDialog*>(data->UserData);
    if (data->EventFlag == ImGuiInputTextFlags_CallbackAlways) {
        if (self->caretToStart_) {
            data->CursorPos = data->SelectionStart = data->SelectionEnd = 0;
            self->caretToStart_ = false;
        }
        self->caretOffset_ = data->CursorPos;
    }
    return 0;
}
