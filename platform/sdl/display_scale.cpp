#include "platform/sdl/display_scale.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#endif

namespace {

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// A finite number filling the whole text, or nothing.
std::optional<float> NumberIn(std::string_view text) {
    const std::string s(Trim(text));
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
    return static_cast<float>(v);
}

float Clamped(float factor) { return std::clamp(factor, kSmallestScaleFactor, kLargestScaleFactor); }

}  // namespace

std::optional<std::string> XftDpiOf(std::string_view resources) {
    while (!resources.empty()) {
        const size_t eol = resources.find('\n');
        const std::string_view line = resources.substr(0, eol);
        resources = eol == std::string_view::npos ? std::string_view{} : resources.substr(eol + 1);
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos && Trim(line.substr(0, colon)) == "Xft.dpi")
            return std::string(Trim(line.substr(colon + 1)));
    }
    return std::nullopt;
}

float ScaleFactorFrom(const ScaleSources& sources) {
    if (sources.xResources)
        if (auto dpi = XftDpiOf(*sources.xResources))
            if (auto v = NumberIn(*dpi)) return Clamped(*v / 96.0f);
    if (sources.gdkScale)
        if (auto v = NumberIn(*sources.gdkScale)) return Clamped(*v);
    if (sources.drawableRatio > 0 && std::isfinite(sources.drawableRatio)) return Clamped(sources.drawableRatio);
    return 1;
}

ScaleSources CurrentScaleSources(SDL_Window* window) {
    ScaleSources sources;
    if (const char* gdk = std::getenv("GDK_SCALE")) sources.gdkScale = gdk;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!window || !driver) return sources;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (std::strcmp(driver, "x11") == 0) {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11 && info.info.x11.display)
            if (const char* db = XResourceManagerString(info.info.x11.display)) sources.xResources = db;
    }
#endif
    if (std::strcmp(driver, "wayland") == 0) {
        int w = 0, h = 0, dw = 0, dh = 0;
        SDL_GetWindowSize(window, &w, &h);
        if (SDL_Renderer* r = SDL_GetRenderer(window))
            SDL_GetRendererOutputSize(r, &dw, &dh);
        if (w > 0 && dw > 0) sources.drawableRatio = static_cast<float>(dw) / w;
    }
    return sources;
}
