#pragma once
// Parts of an idiom's card in the learning window, drawn with Dear ImGui
// inside the current window: the reading with its pitch drawn over the kana.
#include <string>
#include <vector>

#include "voice/accent_pattern.h"

struct ImFont;

// Draws the morae in the font at kanaPixels (logical) with a line at the top of each high mora and
// at the bottom of each low one, joined where the pitch rises or falls (the
// fall after the nucleus; a nucleus on the last mora falls after it), and a
// gap between accent phrases. Takes its room in the layout.
void DrawAccentedReading(const std::vector<AccentPhrase>& phrases, ImFont* font, float kanaPixels);

// A line of text in the font at that size, taking its room in the layout.
void DrawTextAtSize(const std::string& utf8, ImFont* font, float pixels);
