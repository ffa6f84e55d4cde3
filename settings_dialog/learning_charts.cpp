#include "settings_dialog/learning_charts.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>

#include "game/learning_record.h"

namespace {

constexpr int kValueTicks = 4;
constexpr ImU32 kBestColour = IM_COL32(220, 70, 40, 255);
constexpr ImU32 kBestInk = IM_COL32(190, 50, 20, 255);

// Labels side by side on one line, none over another.
class LabelRow {
public:
    // Whether [left, right] is free (and now taken), with a little room between labels.
    bool Take(float left, float right) {
        for (const auto& [l, r] : taken_)
            if (left < r + kGap && right + kGap > l) return false;
        taken_.emplace_back(left, right);
        return true;
    }

private:
    static constexpr float kGap = 6;
    std::vector<std::pair<float, float>> taken_;
};

ImU32 Faint() { return ImGui::GetColorU32(ImGuiCol_Text, 0.18f); }
ImU32 Ink() { return ImGui::GetColorU32(ImGuiCol_Text); }

// The plot's frame: room for the value labels at the left and the day labels
// below, in the size given (title excluded).
struct Plot {
    ImVec2 min, max;  // the plotting area
    int top = 1;      // the value at its top
    int step = 1;

    float Y(float v) const { return max.y - (max.y - min.y) * v / static_cast<float>(top); }
};

Plot BeginPlot(int highest, const ImVec2& size) {
    Plot p;
    p.step = AxisStep(std::max(highest, 1), kValueTicks);
    p.top = std::max(p.step, ((std::max(highest, 1) + p.step - 1) / p.step) * p.step);
    const float line = ImGui::GetTextLineHeight();
    const float labelWidth = ImGui::CalcTextSize(std::to_string(p.top).c_str()).x + 6;
    const ImVec2 at = ImGui::GetCursorScreenPos();
    p.min = ImVec2(at.x + labelWidth, at.y + line * 0.5f);
    p.max = ImVec2(at.x + size.x - 4, at.y + size.y - line - 4);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    for (int v = 0; v <= p.top; v += p.step) {
        const float y = p.Y(static_cast<float>(v));
        draw->AddLine(ImVec2(p.min.x, y), ImVec2(p.max.x, y), v == 0 ? Ink() : Faint());
        const std::string label = std::to_string(v);
        draw->AddText(ImVec2(p.min.x - 4 - ImGui::CalcTextSize(label.c_str()).x, y - line * 0.5f), Ink(), label.c_str());
    }
    draw->AddLine(p.min, ImVec2(p.min.x, p.max.y), Ink());
    ImGui::Dummy(size);
    return p;
}

// A day label centred under x, kept inside the plot's width, when there is room for it.
void DayLabel(const Plot& p, LabelRow& row, float x, const std::string& text) {
    const float w = ImGui::CalcTextSize(text.c_str()).x;
    const float left = std::clamp(x - w * 0.5f, p.min.x - 2, p.max.x - w);
    if (row.Take(left, left + w)) ImGui::GetWindowDrawList()->AddText(ImVec2(left, p.max.y + 2), Ink(), text.c_str());
}

// The sentence in the chart's place, which keeps its width so the next chart stays put.
void Empty(const char* sentence, const ImVec2& size) {
    ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + size.x);
    ImGui::TextDisabled("%s", sentence);
    ImGui::PopTextWrapPos();
    ImGui::Dummy(ImVec2(size.x, 1));
}

}  // namespace

void DrawKnownChart(const std::vector<int>& perDay, int total, const std::string& today, const ImVec2& size) {
    ImGui::BeginGroup();
    const int latest = perDay.empty() ? 0 : perDay.back();
    const std::string title = Format(LearningWindowText::KnownChart, {{"days", std::to_string(perDay.size())},
                                                               {"latest", std::to_string(latest)},
                                                               {"total", std::to_string(total)}});
    ImGui::TextUnformatted(title.c_str());
    const ImVec2 plotSize(size.x, size.y - ImGui::GetTextLineHeightWithSpacing());
    if (perDay.empty() || *std::max_element(perDay.begin(), perDay.end()) == 0) {
        Empty(LearningWindowText::KnownChartEmpty, plotSize);
        ImGui::EndGroup();
        return;
    }
    const Plot p = BeginPlot(*std::max_element(perDay.begin(), perDay.end()), plotSize);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const int n = static_cast<int>(perDay.size());
    const auto X = [&](int i) { return p.min.x + (p.max.x - p.min.x) * (n > 1 ? static_cast<float>(i) / (n - 1) : 1); };
    std::vector<ImVec2> points;
    for (int i = 0; i < n; ++i) points.emplace_back(X(i), p.Y(static_cast<float>(perDay[i])));
    draw->AddPolyline(points.data(), n, ImGui::GetColorU32(ImGuiCol_PlotLines), 0, 2.0f);
    draw->AddCircleFilled(points.back(), 3.5f, ImGui::GetColorU32(ImGuiCol_PlotLines));
    // The days: about every two weeks back from today.
    LabelRow days;
    for (int i = n - 1; i >= 0; i -= 14) {
        const std::string label = i == n - 1 ? LearningWindowText::Today : MonthDay(AddDays(today, i - (n - 1)));
        draw->AddLine(ImVec2(X(i), p.max.y), ImVec2(X(i), p.max.y + 3), Ink());
        DayLabel(p, days, X(i), label);
    }
    const std::string value = Format(LearningWindowText::Words, {{"n", std::to_string(latest)}});
    const ImVec2 w = ImGui::CalcTextSize(value.c_str());
    draw->AddText(ImVec2(points.back().x - w.x - 4, std::max(p.min.y, points.back().y - w.y - 2)), Ink(), value.c_str());
    ImGui::EndGroup();
}

void DrawResultsChart(const ResultsChartTexts& texts, const std::vector<GameResult>& results, bool fewerIsBetter,
                      const ImVec2& size) {
    ImGui::BeginGroup();
    ImGui::TextUnformatted(texts.title);
    const ImVec2 plotSize(size.x, size.y - ImGui::GetTextLineHeightWithSpacing());
    if (results.empty()) {
        Empty(texts.empty, plotSize);
        ImGui::EndGroup();
        return;
    }
    int highest = 0;
    for (const GameResult& r : results) highest = std::max(highest, r.value);
    // Room over the highest bar for its value and the best mark.
    const Plot p = BeginPlot(highest + highest / 4 + 1, plotSize);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const int n = static_cast<int>(results.size());
    const int best = BestResult(results, fewerIsBetter);
    const float slot = (p.max.x - p.min.x) / static_cast<float>(n);
    const float line = ImGui::GetTextLineHeight();
    const auto barLeft = [&](int i) { return p.min.x + slot * i + slot * 0.15f; };
    const auto centre = [&](int i) { return p.min.x + slot * (i + 0.5f); };
    for (int i = 0; i < n; ++i) {
        const ImU32 colour = i == best ? kBestColour : ImGui::GetColorU32(ImGuiCol_PlotHistogram);
        draw->AddRectFilled(ImVec2(barLeft(i), p.Y(static_cast<float>(results[i].value))),
                            ImVec2(barLeft(i) + slot * 0.7f, p.max.y), colour);
    }
    // Values over the bars where they do not run into one another: the best
    // (which says so) and the latest first, then from the latest back.
    std::vector<int> order = {best};
    if (best != n - 1) order.push_back(n - 1);
    for (int i = n - 2; i >= 0; --i)
        if (i != best) order.push_back(i);
    LabelRow values, days;
    for (int i : order) {
        const std::string value = (i == best ? std::string(texts.best) + " " : "") + std::to_string(results[i].value);
        const float w = ImGui::CalcTextSize(value.c_str()).x;
        const float left = std::clamp(centre(i) - w * 0.5f, p.min.x, p.max.x - w);
        if (values.Take(left, left + w))
            draw->AddText(ImVec2(left, p.Y(static_cast<float>(results[i].value)) - line - 1),
                          i == best ? kBestInk : Ink(), value.c_str());
    }
    for (int i = n - 1; i >= 0; --i) DayLabel(p, days, centre(i), MonthDay(results[i].when));
    ImGui::EndGroup();
}
