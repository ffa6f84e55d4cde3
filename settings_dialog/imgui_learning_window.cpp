#include "settings_dialog/imgui_learning_window.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>
#include <imgui_stdlib.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "game/learning_log.h"
#include "game/learning_record.h"
#include "game/progress.h"
#include "platform/application.h"
#include "platform/scene.h"
#include "platform/sdl/sdl_event_backend.h"
#include "settings_dialog/dialog_texts.h"
#include "settings_dialog/imgui_layer.h"
#include "settings_dialog/imgui_settings_dialog.h"
#include "settings_dialog/learning_card.h"
#include "settings_dialog/learning_charts.h"

namespace {

constexpr int kChartDays = 60;
constexpr int kForecastDays = 7;
constexpr std::size_t kChartGames = 20;
// Besides the window's texts, the figures its counts and dates are written in.
constexpr const char* kFigures = "0123456789/-";
constexpr ResultsChartTexts kScoreChart = {LearningWindowText::ScoreChart, LearningWindowText::ScoreBest, LearningWindowText::ScoreEmpty};
constexpr ResultsChartTexts kStrokeChart = {LearningWindowText::StrokeChart, LearningWindowText::StrokeBest,
                                            LearningWindowText::StrokeEmpty};

// A sort choice is read back as the column's id, so no two columns may share one.
constexpr bool EachColumnOnce() {
    for (const LearningColumnSpec& a : kLearningTableColumns) {
        int seen = 0;
        for (const LearningColumnSpec& b : kLearningTableColumns) seen += a.column == b.column;
        if (seen != 1) return false;
    }
    return true;
}
static_assert(EachColumnOnce());

// A weight for a shared width, pixels for a fixed one; a fitted column keeps a
// character's room for the sort arrow.
float ColumnWidthOf(const LearningColumnSpec& c) {
    const ImGuiStyle& style = ImGui::GetStyle();
    switch (c.width) {
        case ColumnWidth::Share: return c.weight;
        case ColumnWidth::Fit:
            return std::max(ImGui::CalcTextSize(c.header).x, ImGui::CalcTextSize(c.sample).x) + ImGui::GetFontSize() +
                   style.CellPadding.x * 2;
        case ColumnWidth::Button:
            return ImGui::CalcTextSize(c.sample).x + style.FramePadding.x * 2 + style.CellPadding.x * 2;
    }
    return 0;
}

ImGuiTableColumnFlags ColumnFlags(const LearningColumnSpec& c) {
    ImGuiTableColumnFlags flags =
        c.width == ColumnWidth::Share ? ImGuiTableColumnFlags_WidthStretch : ImGuiTableColumnFlags_WidthFixed;
    if (c.sort == ColumnSort::None) flags |= ImGuiTableColumnFlags_NoSort;
    if (c.sort == ColumnSort::First) flags |= ImGuiTableColumnFlags_DefaultSort;
    return flags;
}

bool KeyPressed(ImGuiKey key) { return ImGui::IsKeyPressed(ImGui::GetKeyIndex(key), false); }
bool EnterPressed() { return KeyPressed(ImGuiKey_Enter) || KeyPressed(ImGuiKey_KeyPadEnter); }

// The keyboard's highlight on the item with this id in this window.
void PutKeyboardOn(ImGuiID id, ImGuiWindow* window) {
    ImGui::FocusWindow(window);
    ImGui::SetFocusID(id, window);
    GImGui->NavDisableHighlight = false;
    GImGui->NavDisableMouseHover = true;
}

// Hiragana and ー only: what the reading font holds.
bool IsKanaOnly(const std::string& utf8) {
    const char* p = utf8.c_str();
    const char* end = p + utf8.size();
    while (p < end) {
        unsigned c = 0;
        const int n = ImTextCharFromUtf8(&c, p, end);
        if (n <= 0 || ((c < 0x3041 || c > 0x3096) && c != 0x30FC)) return false;
        p += n;
    }
    return true;
}

std::string ReviewDealLine(int due) {
    if (due == 0) return LearningWindowText::NoReviewDue;
    return Format(LearningWindowText::ReviewDue, {{"due", std::to_string(due)}});
}

}  // namespace

ImGuiLearningWindow::ImGuiLearningWindow(LearningWindowHost& host, Application& app, SdlEventBackend& backend,
                                         ImGuiSettingsDialog& layerOwner)
    : host_(host),
      app_(app),
      backend_(backend),
      layerOwner_(layerOwner),
      boxes_(app, LearningWindowText::Caption),
      panel_(app, boxes_),
      passFilter_(backend.EventFilter()),
      passOverlay_(backend.Overlay()),
      passFrames_(backend.OverlayFrames()),
      passCompose_(backend.OverlayCompose()),
      passAreas_(backend.OverlayInAreas()) {
    backend_.SetEventFilter([this](const SDL_Event& e) {
        if (panel_.IsOpen()) return HandleEvent(e);
        return passFilter_ && passFilter_(e);
    });
    // A frame is worked out before the scene is drawn, so that one the same as
    // the last (a pointer move over nothing that reacts) costs no drawing.
    backend_.SetOverlayCompose([this] {
        if (panel_.IsOpen())
            return layerOwner_.Layer().ComposeFrame([this] { DrawOverlay(); }, [this] { return MsUntilFrame() == 0; });
        return !passCompose_ || passCompose_();
    });
    backend_.SetOverlay([this] {
        if (panel_.IsOpen() && layerOwner_.Layer().HasComposedFrame()) layerOwner_.Layer().DrawComposed();
        else if (panel_.IsOpen()) DrawOverlay();
        else if (passOverlay_) passOverlay_();
    });
    backend_.SetOverlayFrames([this] {
        if (panel_.IsOpen()) return MsUntilFrame();
        return passFrames_ ? passFrames_() : SdlEventBackend::kOverlayHidden;
    });
    // A key or a pointer move mostly changes a few widgets: only their part of
    // the screen is drawn again.
    backend_.SetOverlayAreas({[this](std::vector<SDL_Rect>& areas) {
                                  if (panel_.IsOpen()) return layerOwner_.Layer().TakeChangedAreas(areas);
                                  return passAreas_.changedAreas && passAreas_.changedAreas(areas);
                              },
                              [this](const SDL_Rect& area) {
                                  if (panel_.IsOpen()) layerOwner_.Layer().DrawComposedIn(area);
                                  else if (passAreas_.drawIn) passAreas_.drawIn(area);
                              }});
}

ImGuiLearningWindow::~ImGuiLearningWindow() {
    backend_.SetEventFilter(passFilter_);
    backend_.SetOverlay(passOverlay_);
    backend_.SetOverlayFrames(passFrames_);
    backend_.SetOverlayCompose(passCompose_);
    backend_.SetOverlayAreas(passAreas_);
}

void ImGuiLearningWindow::Rebuild() {
    LearningLog& log = host_.LearningRecordLog();
    entries_ = BuildLearningEntries(host_.LearningQuestions(), log.Record());
    reviewDeal_ = log.reviewDeal;
    status_ = log.Problem();
    today_ = log.Today();
    filter_.today = today_;
    headline_ = MakeHeadline(entries_, today_, kForecastDays);
    knownPerDay_ = today_.empty() ? std::vector<int>() : KnownIdiomsPerDay(entries_, log.Record(), today_, kChartDays);
    scores_ = GameResults(log.History(), "score", kChartGames);
    strokes_ = GameResults(log.History(), "strokes", kChartGames);
    ImGuiLayer& layer = layerOwner_.Layer();
    layer.RequireGlyphs(FixedTexts());
    layer.RequireGlyphs(status_);
    for (const LearningEntry& e : entries_) {
        layer.RequireGlyphs(e.idiom);
        layer.RequireHeadingGlyphs(e.idiom);  // for its card
        layer.RequireGlyphs(e.reading);
        layer.RequireGlyphs(e.meaning);
    }
    if (cardQuestion_ >= static_cast<int>(entries_.size())) cardQuestion_ = -1;
    Refilter();
}

std::string ImGuiLearningWindow::FixedTexts() {
    std::string texts = LearningGlyphTexts() + kFigures;
    for (const LearningColumnSpec& c : kLearningTableColumns) texts += std::string(c.header) + c.sample;
    // The card's words, and those of the notes under the charts.
    LearningEntry met;
    met.met = true;
    met.due = "2000-01-01";
    for (int i = 0; i <= kCardDays; ++i) met.days.push_back({"2000-01-01", i % 2 == 0});  // both marks and the "more" sign
    for (const CardFact& f : CardFacts(met, "2000-01-02")) texts += f.label + f.value;
    for (const CardFact& f : CardFacts(LearningEntry(), "")) texts += f.label + f.value;
    return texts;
}

void ImGuiLearningWindow::PrepareFonts() {
    std::string texts = FixedTexts(), idioms;
    for (const LearningQuestion& q : host_.LearningQuestions()) {
        texts += q.idiom + q.reading + q.meaning;
        idioms += q.idiom;
    }
    layerOwner_.PrepareFonts(std::move(texts), std::move(idioms));
}

void ImGuiLearningWindow::Refilter() {
    filter_.search = search_;
    visible_ = VisibleEntries(entries_, filter_, sortColumn_, sortAscending_);
}

void ImGuiLearningWindow::ShowModal() {
    if (panel_.IsOpen()) return;
    ImGuiLayer& layer = layerOwner_.Layer();
    Open();
    layer.ResetInput();
    ImGuiIO& io = ImGui::GetIO();
    const ImGuiConfigFlags flagsBefore = io.ConfigFlags;
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    // The [R] that opened the window must not land in the search box.
    panel_.BeginModal();

    host_.LearningWindowShown();
    TForm waiter(1, 1);
    waiter_ = &waiter;
    app_.ShowModal(waiter);
    waiter_ = nullptr;
    panel_.EndModal();

    io.ConfigFlags = flagsBefore;
    host_.LearningWindowClosed();
    panel_.PassOnQuit();
}

void ImGuiLearningWindow::Open() {
    Rebuild();
    panel_.Open();
    closeRequested_ = false;
    cardQuestion_ = -1;
    cardClosing_ = false;
    focusedRow_ = -1;
    inTable_ = leaveTable_ = false;
    notice_.clear();
}

void ImGuiLearningWindow::PrepareAndDrawForBenchmark() {
    Open();
    DrawOverlay();
    panel_.Close();
}

void ImGuiLearningWindow::OpenWithoutLoop() {
    Open();
    ImGui::GetIO().ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    DrawOverlay();
}

void ImGuiLearningWindow::EventWithoutLoop(const SDL_Event& e) {
    HandleEvent(e);
    // A frame for each key, as the loop gives them, and the frames that settle it.
    do DrawOverlay();
    while (layerOwner_.Layer().HasWaitingInput());
    for (int i = 0; i < ModalPanel::kSettleFrames; ++i) DrawOverlay();
}

int ImGuiLearningWindow::MsUntilFrame() const { return panel_.MsUntilFrame(layerOwner_.Layer()); }

bool ImGuiLearningWindow::HandleEvent(const SDL_Event& e) {
    ImGuiLayer& layer = layerOwner_.Layer();
    panel_.WantSettleFrames();
    switch (e.type) {
        case SDL_KEYDOWN: {
            const bool typing = ImGui::GetCurrentContext() && ImGui::GetIO().WantTextInput;
            // [Esc] steps back one level in the frame that sees it: out of a
            // card, out of the table, then the window closes.
            if (e.key.keysym.sym == SDLK_ESCAPE) {
                if (!e.key.repeat) layer.ProcessEvent(e);
                return true;
            }
            // [R] closes as it opened, unless it is typed into the search box.
            if (e.key.keysym.sym == SDLK_r && !typing && !boxes_.IsOpen()) {
                if (!e.key.repeat) Request(Action::Close);
                return true;
            }
            break;
        }
        case SDL_TEXTINPUT:
            // The character of the [R] that closes the window is not typed.
            if (!ImGui::GetIO().WantTextInput && (e.text.text[0] == 'r' || e.text.text[0] == 'R')) return true;
            break;
        default:
            break;
    }
    return panel_.HandleEvent(e, layer, [this] { Request(Action::Close); });
}

void ImGuiLearningWindow::Request(Action a, int question) {
    if (!panel_.Request([this, a, question] { RunAction(a, question); })) return;
    closeRequested_ = closeRequested_ || a == Action::Close;
}

void ImGuiLearningWindow::RunAction(Action a, int question) {
    if (!panel_.IsOpen() || !waiter_) return;
    panel_.Run([this, a, question] {
        switch (a) {
            case Action::Close: waiter_->Close(); break;
            case Action::Speak: notice_ = host_.SpeakQuestion(question) ? "" : LearningWindowText::SoundOff; break;
            case Action::Clear:
                // Opens on いいえ: one more [Space] must not erase everything.
                if (boxes_.AskYesNo(LearningWindowText::ClearQuestion, MessageBoxes::Answer::No) == MessageBoxes::Answer::Yes) {
                    if (!host_.LearningRecordLog().Clear()) {
                        boxes_.ShowMessage(LearningWindowText::NotCleared);
                    } else {
                        Rebuild();
                    }
                }
                break;
            case Action::None: break;
        }
    });
}

void ImGuiLearningWindow::DrawOverlay() {
    ImGuiLayer& layer = layerOwner_.Layer();
    boxes_.SetLayer(&layer);
    // Actions are carried out only in the window's own loop.
    panel_.DrawFrame(layer, [this] {
        HandleEscape();
        DrawPanel();
        DrawCard();
    }, waiter_ != nullptr);
}

void ImGuiLearningWindow::HandleEscape() {
    if (!KeyPressed(ImGuiKey_Escape)) return;
    if (boxes_.IsOpen()) boxes_.EscapePressed();
    else if (cardQuestion_ >= 0) cardClosing_ = true;
    else if (inTable_) leaveTable_ = true;  // ImGui's own step back has left the table's rows
    else Request(Action::Close);
}

void ImGuiLearningWindow::TakeFocusBackHere() {
    if (!leaveTable_) return;
    leaveTable_ = false;
    PutKeyboardOn(ImGui::GetItemID(), ImGui::GetCurrentWindow());
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
    // Square corners: the software renderer fills a rounded background of this
    // size as a fan of window-wide triangles, most of a drawn frame's cost.
    ImGui::PushStyleVar(ImGuiStyleVar_WindowRounding, 0);
    const bool shown = ImGui::Begin((std::string(LearningWindowText::Caption) + "###learning_window").c_str(), &stayOpen, flags);
    ImGui::PopStyleVar();
    if (shown) {
        if (panel_.FirstFrame()) ImGui::SetKeyboardFocusHere();
        DrawHeadline();
        DrawToolbar();
        const float line = ImGui::GetTextLineHeightWithSpacing();
        const float chartHeight = std::max(8 * line, ImGui::GetContentRegionAvail().y * 0.26f);
        DrawTable(ImGui::GetContentRegionAvail().y - chartHeight - ImGui::GetStyle().ItemSpacing.y);
        DrawCharts(chartHeight);
    }
    ImGui::End();
    if (!stayOpen) Request(Action::Close);
}

void ImGuiLearningWindow::DrawHeadline() {
    const LearningHeadline& h = headline_;
    ImGui::PushStyleColor(ImGuiCol_Text, h.due > 0 ? ImVec4(0.85f, 0.35f, 0.05f, 1) : ImGui::GetStyle().Colors[ImGuiCol_Text]);
    ImGui::TextUnformatted(Format(LearningWindowText::DueToday, {{"due", std::to_string(h.due)}}).c_str());
    ImGui::PopStyleColor();
    ImGui::SameLine(0, 0);
    ImGui::TextUnformatted(Format(LearningWindowText::WeakAndLearned, {{"weak", std::to_string(h.weak)},
                                                                {"learned", std::to_string(h.learned)},
                                                                {"total", std::to_string(h.total)}})
                               .c_str());
    if (today_.empty()) return;
    std::string forecast = LearningWindowText::Forecast;
    for (int d = 0; d < static_cast<int>(h.forecast.size()); ++d)
        forecast += (d ? LearningWindowText::ForecastGap : "") +
                    Format(LearningWindowText::ForecastDay, {{"day", ShortDay(AddDays(today_, d + 1))},
                                                       {"count", std::to_string(h.forecast[d])}});
    ImGui::TextDisabled("%s", forecast.c_str());
}

void ImGuiLearningWindow::DrawToolbar() {
    if (!status_.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.75f, 0.1f, 0.1f, 1));
        ImGui::TextUnformatted(status_.c_str());
        ImGui::PopStyleColor();
    }
    DrawRecordFileState();
    if (!notice_.empty() && cardQuestion_ < 0) {
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.75f, 0.1f, 0.1f, 1));
        ImGui::TextUnformatted(notice_.c_str());
        ImGui::PopStyleColor();
    }
    if (ImGui::Checkbox(LearningWindowText::ReviewDeal, &reviewDeal_)) {
        if (!host_.SetReviewDeal(reviewDeal_)) {
            reviewDeal_ = !reviewDeal_;
            status_ = LearningWindowText::SettingNotSaved;
        }
    }
    ImGui::SameLine();
    ImGui::TextDisabled("%s", ReviewDealLine(headline_.due).c_str());
    const ImGuiStyle& style = ImGui::GetStyle();
    const float buttonsWidth = ImGui::CalcTextSize(LearningWindowText::Clear).x + ImGui::CalcTextSize(LearningWindowText::Close).x +
                               style.FramePadding.x * 4 + style.ItemSpacing.x + 24;
    const float right = ImGui::GetWindowContentRegionMax().x;
    ImGui::SameLine(std::max(ImGui::GetCursorPosX(), right - buttonsWidth));
    const bool canClear = host_.LearningRecordLog().Problem().empty();  // a bad file is never replaced
    if (!canClear) ImGui::BeginDisabled();
    if (ImGui::Button(LearningWindowText::Clear, ImVec2(ImGui::CalcTextSize(LearningWindowText::Clear).x + style.FramePadding.x * 2 + 12, 0)))
        Request(Action::Clear);
    if (!canClear) ImGui::EndDisabled();
    ImGui::SameLine();
    if (ImGui::Button(LearningWindowText::Close, ImVec2(ImGui::CalcTextSize(LearningWindowText::Close).x + style.FramePadding.x * 2 + 12, 0)))
        Request(Action::Close);

    // The line right above the table: the keyboard comes back here from it.
    if (ImGui::Checkbox(LearningWindowText::DueOnly, &filter_.dueOnly)) Refilter();
    TakeFocusBackHere();
    ImGui::SameLine(0, 24);
    if (ImGui::Checkbox(LearningWindowText::WeakOnly, &filter_.weakOnly)) Refilter();
    ImGui::SameLine(0, 24);
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(LearningWindowText::Search);
    ImGui::SameLine();
    ImGui::SetNextItemWidth(ImGui::CalcTextSize(LearningWindowText::SearchWidthCharacter).x * 14);
    if (ImGui::InputText("##search", &search_)) {
        layerOwner_.Layer().RequireGlyphs(search_);
        Refilter();
    }
    ImGui::SameLine(0, 24);
    const std::string shown = Format(LearningWindowText::Shown, {{"shown", std::to_string(visible_.size())},
                                                                {"all", std::to_string(entries_.size())}});
    ImGui::TextUnformatted(shown.c_str());
}

void ImGuiLearningWindow::DrawRecordFileState() {
    LearningLog& log = host_.LearningRecordLog();
    ImGuiLayer& layer = layerOwner_.Layer();
    // Counts in memory that are not in the file must not pass for saved ones.
    const std::string unsaved = log.SaveProblem();
    if (!unsaved.empty()) {
        layer.RequireGlyphs(unsaved);
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.75f, 0.1f, 0.1f, 1));
        ImGui::TextUnformatted(unsaved.c_str());
        ImGui::PopStyleColor();
    }
    const std::vector<std::string> refused = log.RefusedFiles();
    if (refused.empty()) return;
    std::string renames;
    for (const std::string& name : refused)
        renames += (renames.empty() ? "" : LearningWindowText::RenameJoin) + Format(LearningWindowText::RenameOne, {{"file", name}});
    const std::string question = Format(LearningWindowText::StartAfreshQuestion, {{"renames", renames}});
    layer.RequireGlyphs(LearningWindowText::StartAfresh + question);
    if (!status_.empty() && unsaved.empty()) ImGui::SameLine(0, 16);
    if (!ImGui::Button(LearningWindowText::StartAfresh) || panel_.ActionWaits() || panel_.ActionRunning()) return;
    // The question waits in a nested loop, so it is asked outside the frame.
    panel_.SetActionRunning(true);
    app_.Post([this, question] {
        panel_.WantSettleFrames();
        if (panel_.IsOpen() && boxes_.AskYesNo(question, MessageBoxes::Answer::No) == MessageBoxes::Answer::Yes) {
            const FreshStart result = host_.StartFreshLearningRecord();
            Rebuild();
            panel_.WantSettleFrames();
            boxes_.ShowMessage(result.told);
        }
        panel_.SetActionRunning(false);
        panel_.WantSettleFrames();
    });
}

void ImGuiLearningWindow::DrawTable(float height) {
    // Down from the controls lands on the table as a whole: go on to its first row.
    const bool enter = tableItem_ != 0 && GImGui->NavId == tableItem_ && GImGui->NavWindow == ImGui::GetCurrentWindow();
    const ImGuiTableFlags flags = ImGuiTableFlags_Sortable | ImGuiTableFlags_ScrollY | ImGuiTableFlags_RowBg |
                                  ImGuiTableFlags_BordersOuter | ImGuiTableFlags_BordersV |
                                  ImGuiTableFlags_Resizable | ImGuiTableFlags_SizingStretchProp;
    if (!ImGui::BeginTable("##learning_table", static_cast<int>(std::size(kLearningTableColumns)), flags,
                           ImVec2(0, height)))
        return;
    ImGuiWindow* rows = ImGui::GetCurrentWindow();
    tableItem_ = rows->ChildId;
    ImGui::TableSetupScrollFreeze(0, 1);
    // The texts share out the width; the counts and the date keep what they need,
    // so no screen size cuts them off.
    for (const LearningColumnSpec& c : kLearningTableColumns)
        ImGui::TableSetupColumn(c.header, ColumnFlags(c), ColumnWidthOf(c), static_cast<ImGuiID>(c.column));
    // The headers take clicks but not the keyboard: up from the first row leaves the table.
    ImGui::PushItemFlag(ImGuiItemFlags_NoNav, true);
    ImGui::TableHeadersRow();
    ImGui::PopItemFlag();
    if (ImGuiTableSortSpecs* sorting = ImGui::TableGetSortSpecs(); sorting && sorting->SpecsDirty) {
        if (sorting->SpecsCount > 0) {
            sortColumn_ = static_cast<LearningColumn>(sorting->Specs[0].ColumnUserID);
            sortAscending_ = sorting->Specs[0].SortDirection != ImGuiSortDirection_Descending;
        }
        Refilter();
        sorting->SpecsDirty = false;
    }
    const int wasFocused = focusedRow_;
    const bool leaveUpward = wasFocused == 0 && KeyPressed(ImGuiKey_UpArrow);
    focusedRow_ = -1;
    ImGuiListClipper clipper;
    clipper.Begin(static_cast<int>(visible_.size()));
    // The keyboard's row is drawn even out of sight, so it stays known.
    if (wasFocused >= 0 && wasFocused < static_cast<int>(visible_.size())) clipper.ForceDisplayRangeByIndices(wasFocused, wasFocused + 1);
    if (enter && !visible_.empty()) {
        ImGui::SetScrollY(0);
        clipper.ForceDisplayRangeByIndices(0, 1);
    }
    ImGui::PushStyleVar(ImGuiStyleVar_SelectableTextAlign, ImVec2(0, 0.5f));
    while (clipper.Step())
        for (int i = clipper.DisplayStart; i < clipper.DisplayEnd; ++i) DrawTableRow(i, enter && i == 0);
    ImGui::PopStyleVar();
    ImGui::EndTable();
    inTable_ = GImGui->NavWindow == rows;
    if (leaveUpward && inTable_) leaveTable_ = true;
    if (!inTable_) focusedRow_ = -1;
}

void ImGuiLearningWindow::DrawTableRow(int row, bool enterHere) {
    const LearningEntry& e = *visible_[row];
    const float height = ImGui::GetFrameHeight();
    ImGui::TableNextRow(0, height);
    ImGui::TableNextColumn();
    ImGui::PushID(e.question);
    auto text = [](const std::string& s, const ImVec4* colour = nullptr) {
        if (colour) ImGui::PushStyleColor(ImGuiCol_Text, *colour);
        ImGui::AlignTextToFramePadding();
        ImGui::TextUnformatted(s.c_str());
        if (colour) ImGui::PopStyleColor();
    };
    const ImVec4 weak(0.75f, 0.1f, 0.1f, 1), due(0.85f, 0.35f, 0.05f, 1);
    for (std::size_t c = 0; c < std::size(kLearningTableColumns); ++c) {
        if (c > 0) ImGui::TableNextColumn();
        switch (kLearningTableColumns[c].column) {
            case LearningColumn::Idiom: {
                const bool selected = row == focusedRow_ || e.question == cardQuestion_;
                if (ImGui::Selectable(e.idiom.c_str(), selected,
                                      ImGuiSelectableFlags_SpanAllColumns | ImGuiSelectableFlags_AllowItemOverlap,
                                      ImVec2(0, height)))
                    OpenCard(e.question);
                if (enterHere) PutKeyboardOn(ImGui::GetItemID(), ImGui::GetCurrentWindow());
                if (ImGui::IsItemFocused()) {
                    focusedRow_ = row;
                    if (EnterPressed() && cardQuestion_ < 0) OpenCard(e.question);
                }
                break;
            }
            case LearningColumn::Reading: text(e.reading); break;
            case LearningColumn::Meaning: text(e.meaning); break;
            case LearningColumn::Right: text(std::to_string(e.right)); break;
            case LearningColumn::Missed: text(std::to_string(e.missed), e.weak ? &weak : nullptr); break;
            case LearningColumn::Hints: text(std::to_string(e.hints)); break;
            case LearningColumn::Due:
                text(e.due.empty() ? LearningWindowText::NoDate : e.due, IsDueOn(e, today_) ? &due : nullptr);
                break;
            case LearningColumn::Speak:
                // The rows are the keyboard's stops; it says an idiom from its card.
                ImGui::PushItemFlag(ImGuiItemFlags_NoNav, true);
                if (ImGui::Button(kLearningTableColumns[c].sample)) Request(Action::Speak, e.question);
                ImGui::PopItemFlag();
                break;
        }
    }
    ImGui::PopID();
}

void ImGuiLearningWindow::OpenCard(int question) {
    cardQuestion_ = question;
    cardOpening_ = true;
    cardClosing_ = false;
    notice_.clear();
    cardPhrases_ = CardPitch(entries_[question]);
}

void ImGuiLearningWindow::DrawCard() {
    if (cardQuestion_ < 0) return;
    const std::string cardId = std::string(LearningWindowText::Card) + "###idiom_card";
    const bool justOpened = cardOpening_;  // the [Enter] that opened it is not for it
    if (cardOpening_) {
        ImGui::OpenPopup(cardId.c_str());
        cardOpening_ = false;
    }
    const ImGuiIO& io = ImGui::GetIO();
    const float fontSize = ImGui::GetFontSize();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x * 0.5f, io.DisplaySize.y * 0.5f), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSizeConstraints(ImVec2(std::min(fontSize * 34, io.DisplaySize.x * 0.9f), 0),
                                        ImVec2(io.DisplaySize.x * 0.9f, io.DisplaySize.y * 0.9f));
    const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoCollapse;
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(fontSize * 1.5f, fontSize));
    if (!ImGui::BeginPopupModal(cardId.c_str(), nullptr, flags)) {
        ImGui::PopStyleVar();
        cardQuestion_ = -1;
        return;
    }
    const LearningEntry& e = entries_[cardQuestion_];
    const float wrap = std::min(fontSize * 40, io.DisplaySize.x * 0.8f);
    // The idiom and its reading large, in glyphs rasterised at that size.
    ImGuiLayer& layer = layerOwner_.Layer();
    ImFont* heading = layer.HeadingFont() ? layer.HeadingFont() : ImGui::GetFont();
    DrawTextAtSize(e.idiom, heading, layer.FontPixels() * ImGuiLayer::kHeadingScale);
    if (e.additional) {
        ImGui::SameLine();
        ImGui::TextDisabled("%s", LearningWindowText::AdditionalQuestion);
    }
    const float kanaPixels = layer.FontPixels() * ImGuiLayer::kReadingScale;
    ImFont* kana = layer.ReadingFont() ? layer.ReadingFont() : ImGui::GetFont();
    // A reading beyond hiragana (an additional question's) in the text's own font.
    if (!IsKanaOnly(e.reading)) kana = ImGui::GetFont();
    if (!cardPhrases_.empty()) DrawAccentedReading(cardPhrases_, kana, kanaPixels);
    else DrawTextAtSize(e.reading, kana, kanaPixels);
    ImGui::Spacing();
    ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + wrap);
    ImGui::TextUnformatted(e.meaning.c_str());
    ImGui::PopTextWrapPos();
    ImGui::Separator();
    if (ImGui::BeginTable("##card_facts", 2, ImGuiTableFlags_SizingFixedFit)) {
        for (const CardFact& f : CardFacts(e, today_)) {
            ImGui::TableNextColumn();
            ImGui::TextDisabled("%s", f.label.c_str());
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(f.value.c_str());
        }
        ImGui::EndTable();
    }
    if (!notice_.empty()) {
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.75f, 0.1f, 0.1f, 1));
        ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + wrap);
        ImGui::TextUnformatted(notice_.c_str());
        ImGui::PopTextWrapPos();
        ImGui::PopStyleColor();
    }
    ImGui::Spacing();
    const ImVec2 button(ImGui::CalcTextSize(LearningWindowText::Close).x + ImGui::GetStyle().FramePadding.x * 2 + fontSize * 2, 0);
    if (ImGui::Button(LearningWindowText::Listen, button)) Request(Action::Speak, e.question);
    ImGui::SetItemDefaultFocus();
    ImGui::SameLine();
    // [Enter] and [Esc] close the card as the button does.
    if (ImGui::Button(LearningWindowText::Close, button) || (!justOpened && EnterPressed())) cardClosing_ = true;
    if (cardClosing_) {
        ImGui::CloseCurrentPopup();
        cardQuestion_ = -1;
        cardClosing_ = false;
    }
    ImGui::EndPopup();
    ImGui::PopStyleVar();
}

void ImGuiLearningWindow::DrawCharts(float height) {
    const float spacing = ImGui::GetStyle().ItemSpacing.x * 2;
    const float width = ImGui::GetContentRegionAvail().x - 2 * spacing;
    DrawKnownChart(knownPerDay_, headline_.total, today_, ImVec2(width * 0.4f, height));
    ImGui::SameLine(0, spacing);
    DrawResultsChart(kScoreChart, scores_, false, ImVec2(width * 0.3f, height));
    ImGui::SameLine(0, spacing);
    DrawResultsChart(kStrokeChart, strokes_, true, ImVec2(width * 0.3f, height));
}
