// Filling the placeholders of the game's texts.
#include "game/game_texts.h"

#include <algorithm>

std::string Format(std::string_view pattern,
                   std::initializer_list<std::pair<std::string_view, std::string_view>> fields) {
    std::string out;
    size_t at = 0;
    while (at < pattern.size()) {
        const size_t open = pattern.find('{', at);
        const size_t close = open == std::string_view::npos ? open : pattern.find('}', open);
        if (close == std::string_view::npos) break;
        out.append(pattern.substr(at, open - at));
        const std::string_view name = pattern.substr(open + 1, close - open - 1);
        const auto* field = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == name; });
        if (field != fields.end()) out.append(field->second);
        else out.append(pattern.substr(open, close - open + 1));
        at = close + 1;
    }
    out.append(pattern.substr(std::min(at, pattern.size())));
    return out;
}
