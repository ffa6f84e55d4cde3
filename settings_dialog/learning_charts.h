#pragma once
// The learning window's progress charts, drawn with Dear ImGui in the current
// window, each in the room it is given: a title line, then axes with their
// values, or a sentence when there is nothing to draw yet.
#include <string>
#include <vector>

#include "settings_dialog/learning_view.h"

struct ImVec2;

// How many idioms were known at the end of each day, oldest first, up to today,
// against the total.
void DrawKnownChart(const std::vector<int>& perDay, int total, const std::string& today, const ImVec2& size);

// Finished games' results as bars with their values and days; the best one
// marked (the highest, or the lowest when fewer is better).
struct ResultsChartTexts {
    const char* title;
    const char* best;   // said before the best bar's value
    const char* empty;  // said when there is no result yet
};
void DrawResultsChart(const ResultsChartTexts& texts, const std::vector<GameResult>& results, bool fewerIsBetter,
                      const ImVec2& size);
