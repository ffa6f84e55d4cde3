#pragma once
// The desktop's scale setting: how many physical pixels make one of its
// logical pixels. Desktops at 150-200 % on high-resolution screens set it; the
// game then lays itself out in logical pixels and draws at full resolution.
#include <optional>
#include <string>
#include <string_view>

struct SDL_Window;

// Where the scale setting may be found, in the order they are asked.
struct ScaleSources {
    // The X server's resource database text (the RESOURCE_MANAGER property),
    // where GNOME and KDE put "Xft.dpi"; 96 dpi is a factor of 1.
    std::optional<std::string> xResources;
    // The GDK_SCALE environment variable.
    std::optional<std::string> gdkScale;
    // Drawable pixels per window unit of a high-DPI window under Wayland;
    // 0 when there is none.
    float drawableRatio = 0;
};

inline constexpr float kSmallestScaleFactor = 1;
inline constexpr float kLargestScaleFactor = 4;

// The first source that holds a number decides; without any the factor is 1.
// Whatever a source says is kept within 1..4.
float ScaleFactorFrom(const ScaleSources& sources);

// The value of the Xft.dpi resource in a resource database text, if it is there.
std::optional<std::string> XftDpiOf(std::string_view resources);

// The sources as the running desktop has them for this window.
ScaleSources CurrentScaleSources(SDL_Window* window);
