#include "settings_dialog/imgui_learning_window.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/learning_log.h"
#include "platform/application.h"
#include "platform/scene.h"
#include "platform/sdl/sdl_event_backend.h"
#include "settings_dialog/imgui_layer.h"
#include "settings_dialog/imgui_settings_dialog.h"

namespace {

constexpr int kSettleFrames = 3;
constexpr int kChartDays = 60;
constexpr const char* kCaption = "学習記録";
constexpr const char* kFixedTexts =
    "学習記録苦手な熟語を多く出すだけ検索記録を消す閉じる読み意味正解ミスヒント次の復習聞く"
    "覚えた熟語の数（過去60日）得点挑戦の最終得点まだありません学習記録をすべて消しますか？"
    "消せませんでした。設定を保存できませんでした。はいいいえ0123456789/-";

const char* ColumnName(LearningColumn c) {
    switch (c) {
        case LearningColumn::Idiom: return "熟語";
        case LearningColumn::Reading: return "読み";
        case LearningColumn::Meaning: return "意味";
        case LearningColumn::Right: return "正解";
        case LearningColumn::Missed: return "ミス";
        case LearningColumn::Hints: return "ヒント";
        case LearningColumn::Due: return "次の復習";
    }
    return "";
}

constexpr LearningColumn kColumns[] = {LearningColumn::Idiom,  LearningColumn::Reading, LearningColumn::Meaning,
                                       LearningColumn::Right,  LearningColumn::Missed,  LearningColumn::Hints,
                                       LearningColumn::Due};

}  // namespace

ImGuiLearningWindow::ImGuiLearningWindow(LearningWindowHost& host, Application& app, SdlEventBackend& backend,
                                         ImGuiSettingsDialog& layerOwner)
    : host_(host),
      app_(app),
      backend_(backend),
      layerOwner_(layerOwner),
      boxes_(app, kCaption),
      passFilter_(backend.EventFilter()),
      passOverlay_(backend.Overlay()),
      passFrames_(backend.OverlayFrames()),
      passCompose_(backend.OverlayCompose()) {
    backend_.SetEventFilter([this](const SDL_Event& e) {
        if (open_) return HandleEvent(e);
        return passFilter_ && passFilter_(e);
    });
    // A frame is worked out before the scene is drawn, so that one the same as
    // the last (a pointer move over nothing that reacts) costs no drawing.
    backend_.SetOverlayCompose([this] {
        if (open_)
            return layerOwner_.Layer().ComposeFrame([this] { DrawOverlay(); }, [this] { return MsUntilFrame() == 0; });
        return !passCompose_ || passCompose_();
    });
    backend_.SetOverlay([this] {
        if (open_ && layerOwner_.Layer().HasComposedFrame()) layerOwner_.Layer().DrawComposed();
        else if (open_) DrawOverlay();
        else if (passOverlay_) passOverlay_();
    });
    backend_.SetOverlayFrames([this] {
        if (open_) return MsUntilFrame();
        return passFrames_ ? passFrames_() : SdlEventBackend::kOverlayHidden;
    });
}

ImGuiLearningWindow::~ImGuiLearningWindow() {
    backend_.SetEventFilter(passFilter_);
    backend_.SetOverlay(passOverlay_);
    backend_.SetOverlayFrames(passFrames_);
    backend_.SetOverlayCompose(passCompose_);
}

void ImGuiLearningWindow::Rebuild() {
    LearningLog& log = host_.LearningRecordLog();
    entries_ = BuildLearningEntries(host_.LearningQuestions(), log.Record());
    reviewDeal_ = log.reviewDeal;
    status_ = log.Problem();
    const std::string today = log.Today();
    knownPerDay_ = today.empty() ? std::vector<int>() : KnownIdiomsPerDay(entries_, log.Record(), today, kChartDays);
    knownPlot_.assign(knownPerDay_.begin(), knownPerDay_.end());
    const std::vector<int> scores = ScoreChallengeResults(log.History());
    scorePlot_.assign(scores.begin(), scores.end());
    ImGuiLayer& layer = layerOwner_.Layer();
    layer.RequireGlyphs(kFixedTexts);
    layer.RequireGlyphs(status_);
    for (const LearningEntry& e : entries_) {
        layer.RequireGlyphs(e.idiom);
        layer.RequireGlyphs(e.reading);
        layer.RequireGlyphs(e.meaning);
    }
    Refilter();
}

void ImGuiLearningWindow::PrepareFonts() {
    std::string texts = kFixedTexts;
    for (const LearningQuestion& q : host_.LearningQuestions()) texts += q.idiom + q.reading + q.meaning;
    layerOwner_.PrepareFonts(std::move(texts));
}

void ImGuiLearningWindow::Refilter() {
    filter_.search = search_;
    visible_ = VisibleEntries(entries_, filter_, sortColumn_, sortAscending_);
}

void ImGuiLearningWindow::ShowModal() {
    if (open_) return;
    ImGuiLayer& layer = layerOwner_.Layer();
    Rebuild();
    layer.ResetInput();
    ImGuiIO& io = ImGui::GetIO();
    const ImGuiConfigFlags flagsBefore = io.ConfigFlags;
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    // The [R] that opened the window must not land in the search box.
    const bool textInputWasOn = SDL_IsTextInputActive() == SDL_TRUE;
    SDL_FlushEvents(SDL_TEXTEDITING, SDL_TEXTINPUT);
    SDL_StartTextInput();

    open_ = true;
    firstFrame_ = true;
    framesWanted_ = kSettleFrames;
    pending_ = Action::None;
    quitAfterClose_ = false;
    host_.LearningWindowShown();
    TForm waiter(1, 1);
    waiter_ = &waiter;
    app_.ShowModal(waiter);
    waiter_ = nullptr;
    open_ = false;

    io.ConfigFlags = flagsBefore;
    if (!textInputWasOn) SDL_StopTextInput();
    host_.LearningWindowClosed();
    if (quitAfterClose_) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

void ImGuiLearningWindow::PrepareAndDrawForBenchmark() {
    Rebuild();
    open_ = true;
    firstFrame_ = true;
    DrawOverlay();
    open_ = false;
}

int ImGuiLearningWindow::MsUntilFrame() const {
    ImGuiLayer& layer = layerOwner_.Layer();
    const bool actionWaits = pending_ != Action::None && !boxes_.IsOpen() && !actionRunning_;
    if (framesWanted_ > 0 || actionWaits || layer.HasWaitingInput()) return 0;
    const int caret = layer.MsUntilCaretBlink();
    return caret >= 0 ? caret : std::numeric_limits<int>::max();
}

bool ImGuiLearningWindow::HandleEvent(const SDL_Event& e) {
    ImGuiLayer& layer = layerOwner_.Layer();
    framesWanted_ = kSettleFrames;
    switch (e.type) {
        case SDL_QUIT:
            quitAfterClose_ = true;
            Request(Action::Close);
            return true;
        case SDL_KEYDOWN: {
            const bool typing = ImGui::GetCurrentContext() && ImGui::GetIO().WantTextInput;
            const bool escape = e.key.keysym.sym == SDLK_ESCAPE;
            // [R] closes as it opened, unless it is typed into the search box.
            if (escape || (e.key.keysym.sym == SDLK_r && !typing && !boxes_.IsOpen())) {
                if (!e.key.repeat) {
                    if (boxes_.IsOpen()) boxes_.EscapePressed();
                    else Request(Action::Close);
                }
                return true;
            }
            break;
        }
        case SDL_TEXTINPUT:
            // The character of the [R] that closes the window is not typed.
            if (!ImGui::GetIO().WantTextInput && (e.text.text[0] == 'r' || e.text.text[0] == 'R')) return true;
            break;
        case SDL_WINDOWEVENT:
            layer.ProcessEvent(e);
            return false;
        case SDL_KEYUP:
        case SDL_MOUSEBUTTONUP:
            layer.ProcessEvent(e);
            return false;
        default:
            break;
    }
    layer.ProcessEvent(e);
    return true;
}

void ImGuiLearningWindow::Request(Action a, int question) {
    if (pending_ != Action::None) return;
    pending_ = a;
    pendingQuestion_ = question;
}

void ImGuiLearningWindow::RunAction(Action a, int question) {
    if (!open_ || !waiter_) return;
    actionRunning_ = true;
    framesWanted_ = kSettleFrames;
    switch (a) {
        case Action::Close: waiter_->Close(); break;
        case Action::Speak: host_.SpeakQuestion(question); break;
        case Action::Clear:
            if (boxes_.AskYesNo("学習記録をすべて消しますか？（元に戻せません）") == MessageBoxes::Answer::Yes) {
                if (!host_.LearningRecordLog().Clear()) {
                    boxes_.ShowMessage("消せませんでした。");
                } else {
                    Rebuild();
                }
            }
            break;
        case Action::None: break;
    }
    actionRunning_ = false;
}

void ImGuiLearningWindow::DrawOverlay() {
    if (!open_ || drawing_) return;
    ImGuiLayer& layer = layerOwner_.Layer();
    drawing_ = true;
    boxes_.SetLayer(&layer);
    layer.BeginFrame();
    if (firstFrame_) {
        ImGui::ClearActiveID();
    }
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::GetBackgroundDrawList()->AddRectFilled(ImVec2(0, 0), io.DisplaySize, IM_COL32(0, 0, 0, 70));
    DrawPanel();
    boxes_.Draw();
    layer.EndFrame();
    firstFrame_ = false;
    drawing_ = false;
    if (framesWanted_ > 0) --framesWanted_;
    if (pending_ != Action::None && !boxes_.IsOpen() && !actionRunning_) {
        const Action a = pending_;
        const int q = pendingQuestion_;
        pending_ = Action::None;
        app_.Post([this, a, q] { RunAction(a, q); });
    }
}

void ImGuiLearningWindow::DrawPanel() {
    const ImGuiIO& io = ImGui::GetIO();
    // Most of the screen: a table of 170 and more rows needs the room.
    const ImVec2 size(std::floor(io.DisplaySize.x * 0.94f), std::floor(io.DisplaySize.y * 0.94f));
    ImGui::SetNextWindowPos(ImVec2(std::floor((io.DisplaySize.x - size.x) * 0.5f),
                                   std::floor((io.DisplaySize.y - size.y) * 0.5f)),
                            ImGuiCond_Always);
    ImGui::SetNextWindowSize(size, ImGuiCond_Always);
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse;
    bool stayOpen = true;
    if (ImGui::Begin("学習記録###learning_window", &stayOpen, flags)) {
        if (firstFrame_) ImGui::SetKeyboardFocusHere();
        DrawToolbar();
        const float chartHeight = std::max(90.0f, ImGui::GetContentRegionAvail().y * 0.22f);
        DrawTable(ImGui::GetContentRegionAvail().y - chartHeight - ImGui::GetStyle().ItemSpacing.y);
        DrawCharts(chartHeight);
    }
    ImGui::End();
    if (!stayOpen) Request(Action::Close);
}

void ImGuiLearningWindow::DrawToolbar() {
    if (!status_.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.75f, 0.1f, 0.1f, 1));
        ImGui::TextUnformatted(status_.c_str());
        ImGui::PopStyleColor();
    }
    if (ImGui::Checkbox("苦手な熟語を多く出す", &reviewDeal_)) {
        if (!host_.SetReviewDeal(reviewDeal_)) {
            reviewDeal_ = !reviewDeal_;
            status_ = "設定を保存できませんでした。";
        }
    }
    ImGui::SameLine(0, 24);
    if (ImGui::Checkbox("苦手だけ", &filter_.weakOnly)) Refilter();
    ImGui::SameLine(0, 24);
    ImGui::TextUnformatted("検索");
    ImGui::SameLine();
    ImGui::SetNextItemWidth(220);
    if (ImGui::InputText("##search", &search_)) {
        layerOwner_.Layer().RequireGlyphs(search_);
        Refilter();
    }
    ImGui::SameLine(0, 24);
    ImGui::Text("%d / %d", static_cast<int>(visible_.size()), static_cast<int>(entries_.size()));
    const float right = ImGui::GetWindowContentRegionMax().x;
    const float buttonsWidth = 110 + 80 + ImGui::GetStyle().ItemSpacing.x;
    ImGui::SameLine(std::max(ImGui::GetCursorPosX(), right - buttonsWidth));
    const bool canClear = host_.LearningRecordLog().Problem().empty();  // a bad file is never replaced
    if (!canClear) ImGui::BeginDisabled();
    if (ImGui::Button("記録を消す", ImVec2(110, 0))) Request(Action::Clear);
    if (!canClear) ImGui::EndDisabled();
    ImGui::SameLine();
    if (ImGui::Button("閉じる", ImVec2(80, 0))) Request(Action::Close);
}

void ImGuiLearningWindow::DrawTable(float height) {
    const ImGuiTableFlags flags = ImGuiTableFlags_Sortable | ImGuiTableFlags_ScrollY | ImGuiTableFlags_RowBg |
                                  ImGuiTableFlags_BordersOuter | ImGuiTableFlags_BordersV |
                                  ImGuiTableFlags_Resizable | ImGuiTableFlags_SizingStretchProp;
    if (!ImGui::BeginTable("##learning_table", 8, flags, ImVec2(0, height))) return;
    ImGui::TableSetupScrollFreeze(0, 1);
    const float widths[] = {1.0f, 1.6f, 5.0f, 0.5f, 0.5f, 0.55f, 0.9f};
    for (int c = 0; c < 7; ++c) {
        ImGuiTableColumnFlags cf = ImGuiTableColumnFlags_WidthStretch;
        if (kColumns[c] == LearningColumn::Due) cf |= ImGuiTableColumnFlags_DefaultSort;
        ImGui::TableSetupColumn(ColumnName(kColumns[c]), cf, widths[c], static_cast<ImGuiID>(c));
    }
    const float speakWidth = ImGui::CalcTextSize("聞く").x + ImGui::GetStyle().FramePadding.x * 2 + 16;
    ImGui::TableSetupColumn("", ImGuiTableColumnFlags_NoSort | ImGuiTableColumnFlags_WidthFixed, speakWidth, 7);
    ImGui::TableHeadersRow();
    if (ImGuiTableSortSpecs* sorting = ImGui::TableGetSortSpecs(); sorting && sorting->SpecsDirty) {
        if (sorting->SpecsCount > 0) {
            sortColumn_ = kColumns[sorting->Specs[0].ColumnUserID];
            sortAscending_ = sorting->Specs[0].SortDirection != ImGuiSortDirection_Descending;
        }
        Refilter();
        sorting->SpecsDirty = false;
    }
    ImGuiListClipper clipper;
    clipper.Begin(static_cast<int>(visible_.size()));
    while (clipper.Step()) {
        for (int i = clipper.DisplayStart; i < clipper.DisplayEnd; ++i) {
            const LearningEntry& e = *visible_[i];
            ImGui::TableNextRow();
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(e.idiom.c_str());
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(e.reading.c_str());
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(e.meaning.c_str());
            ImGui::TableNextColumn();
            ImGui::Text("%d", e.right);
            ImGui::TableNextColumn();
            if (e.weak) ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.75f, 0.1f, 0.1f, 1));
            ImGui::Text("%d", e.missed);
            if (e.weak) ImGui::PopStyleColor();
            ImGui::TableNextColumn();
            ImGui::Text("%d", e.hints);
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(e.due.empty() ? "-" : e.due.c_str());
            ImGui::TableNextColumn();
            ImGui::PushID(e.question);
            if (ImGui::SmallButton("聞く")) Request(Action::Speak, e.question);
            ImGui::PopID();
        }
    }
    ImGui::EndTable();
}

void ImGuiLearningWindow::DrawCharts(float height) {
    const float width = (ImGui::GetContentRegionAvail().x - ImGui::GetStyle().ItemSpacing.x) * 0.5f;
    const float plotHeight = height - ImGui::GetTextLineHeightWithSpacing();
    ImGui::BeginGroup();
    const int known = knownPerDay_.empty() ? 0 : knownPerDay_.back();
    ImGui::Text("覚えた熟語の数（過去60日） %d / %d", known, static_cast<int>(entries_.size()));
    if (!knownPlot_.empty())
        ImGui::PlotLines("##known", knownPlot_.data(), static_cast<int>(knownPlot_.size()), 0, nullptr, 0,
                         static_cast<float>(std::max<std::size_t>(1, entries_.size())), ImVec2(width, plotHeight));
    ImGui::EndGroup();
    ImGui::SameLine();
    ImGui::BeginGroup();
    ImGui::TextUnformatted("得点挑戦の最終得点");
    if (scorePlot_.empty()) {
        ImGui::TextUnformatted("まだありません");
    } else {
        const float top = *std::max_element(scorePlot_.begin(), scorePlot_.end());
        ImGui::PlotHistogram("##scores", scorePlot_.data(), static_cast<int>(scorePlot_.size()), 0, nullptr, 0,
                             std::max(1.0f, top), ImVec2(width, plotHeight));
    }
    ImGui::EndGroup();
}
