#include "platform/sdl/scene_renderer.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265358979f;

Uint8 ToByte(float v) { return static_cast<Uint8>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }

void Tint(SDL_Texture* t, TAlphaColor color, float opacity) {
    SDL_SetTextureColorMod(t, (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
    SDL_SetTextureAlphaMod(t, ToByte(opacity * ((color >> 24) & 0xFF) / 255.0f));
}

}  // namespace

SceneRenderer::SceneRenderer(SDL_Renderer* renderer, FontLibrary& fonts)
    : renderer_(renderer), pictures_(renderer), texts_(renderer, fonts) {
    SDL_RendererInfo info{};
    prescale_ = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
}

void SceneRenderer::CopyPicture(const std::string& path, CachedPicture& pic, const SDL_FRect& rect,
                                float opacity) {
    const int w = static_cast<int>(std::lround(rect.w)), h = static_cast<int>(std::lround(rect.h));
    SDL_Texture* scaled = nullptr;
    if (prescale_ && (w != pic.width || h != pic.height)) scaled = pictures_.ScaledTo(path, pic, w, h);
    if (scaled) {
        const SDL_Rect dst{static_cast<int>(std::lround(rect.x)), static_cast<int>(std::lround(rect.y)), w, h};
        SDL_SetTextureAlphaMod(scaled, ToByte(opacity));
        SDL_RenderCopy(renderer_, scaled, nullptr, &dst);
        return;
    }
    SDL_SetTextureAlphaMod(pic.texture, ToByte(opacity));
    SDL_RenderCopyF(renderer_, pic.texture, nullptr, &rect);
}

void SceneRenderer::Draw(const TForm& form) {
    ++frame_;
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    scaleX_ = form.ClientWidth() > 0 ? static_cast<float>(outW) / form.ClientWidth() : 1.0f;
    scaleY_ = form.ClientHeight() > 0 ? static_cast<float>(outH) / form.ClientHeight() : 1.0f;

    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    const TAlphaColor bg = form.FillColor;
    SDL_SetRenderDrawColor(renderer_, (bg >> 16) & 0xFF, (bg >> 8) & 0xFF, bg & 0xFF, 255);
    SDL_RenderClear(renderer_);
    if (!form.Fill.IsEmpty()) {
        CachedPicture& pic = pictures_.Get(form.Fill.Path(), frame_);
        if (pic.texture)
            CopyPicture(form.Fill.Path(), pic, SDL_FRect{0, 0, static_cast<float>(outW), static_cast<float>(outH)}, 1);
    }
    DrawChildren(form, 0, 0, form.Opacity);
    EvictIdle();
}

void SceneRenderer::EvictIdle() {
    if (frame_ % 120 != 0) return;
    if (frame_ > kTextIdleFrames) texts_.EvictUnusedSince(frame_ - kTextIdleFrames);
    if (frame_ > kPictureIdleFrames) pictures_.EvictUnusedSince(frame_ - kPictureIdleFrames);
}

void SceneRenderer::DrawChildren(const TFmxObject& parent, float x, float y, float opacity) {
    for (const TFmxObject* child : parent.Children())
        if (const auto* c = dynamic_cast<const TControl*>(child)) DrawControl(*c, x, y, opacity);
}

void SceneRenderer::DrawControl(const TControl& c, float x, float y, float opacity) {
    if (!c.Visible) return;
    const float o = opacity * std::clamp(c.Opacity, 0.0f, 1.0f);
    const float left = x + c.Position.X, top = y + c.Position.Y;
    if (o > 0) {
        const SDL_FRect rect{left * scaleX_, top * scaleY_, c.Width * scaleX_, c.Height * scaleY_};
        if (const auto* img = dynamic_cast<const TImage*>(&c))
            DrawImage(*img, rect, o);
        else if (const auto* label = dynamic_cast<const TLabel*>(&c))
            DrawLabel(*label, rect, o);
        else if (const auto* text = dynamic_cast<const TText*>(&c))
            DrawText(*text, rect, o);
        else if (const auto* r = dynamic_cast<const TRectangle*>(&c))
            DrawRectangle(*r, rect, o);
        DrawChildren(c, left, top, o);
    }
}

void SceneRenderer::DrawImage(const TImage& img, const SDL_FRect& rect, float opacity) {
    if (img.Bitmap.IsEmpty() || rect.w <= 0 || rect.h <= 0) return;
    CachedPicture& pic = pictures_.Get(img.Bitmap.Path(), frame_);
    if (!pic.texture || pic.width <= 0 || pic.height <= 0) return;
    SDL_FRect dst = rect;
    if (img.WrapMode == TImageWrapMode::iwFit) {
        const float k = std::min(rect.w / pic.width, rect.h / pic.height);
        dst.w = pic.width * k;
        dst.h = pic.height * k;
        dst.x = rect.x + (rect.w - dst.w) / 2;
        dst.y = rect.y + (rect.h - dst.h) / 2;
    }
    CopyPicture(img.Bitmap.Path(), pic, dst, opacity);
}

void SceneRenderer::DrawText(const TText& text, const SDL_FRect& rect, float opacity) {
    if (text.Text.empty() || rect.w <= 0 || rect.h <= 0) return;
    TextStyle style;
    style.align = TTextAlign::taCenter;
    if (text.Stretch) {
        // Rendered near the target height, then scaled to fill the rectangle.
        style.pixelSize = std::clamp(static_cast<int>(std::lround(rect.h)), 4, 512);
    } else {
        style.pixelSize = std::max(1, static_cast<int>(std::lround(12 * std::min(scaleX_, scaleY_))));
        if (text.WordWrap) style.wrapWidth = static_cast<int>(rect.w);
    }
    CachedText* cached = texts_.Get(text.Text, style, frame_);
    if (!cached) return;
    SDL_FRect dst = rect;
    if (!text.Stretch) {
        dst = {std::round(rect.x + (rect.w - cached->width) / 2),
               std::round(rect.y + (rect.h - cached->height) / 2), static_cast<float>(cached->width),
               static_cast<float>(cached->height)};
    }
    DrawTextWithEffects(text, *cached, dst, text.Color, opacity);
}

void SceneRenderer::DrawLabel(const TLabel& label, const SDL_FRect& rect, float opacity) {
    if (label.Text.empty()) return;
    // Label fonts keep their size in pixels however the window is scaled.
    TextStyle style;
    style.face = FaceForFamily(label.Font.Family);
    style.pixelSize = std::max(1, static_cast<int>(std::lround(label.Font.Size * std::min(scaleX_, scaleY_))));
    style.bold = label.Font.Bold;
    style.align = label.TextAlign;
    if (label.WordWrap) style.wrapWidth = std::max(1, static_cast<int>(rect.w));
    CachedText* cached = texts_.Get(label.Text, style, frame_);
    if (!cached) return;
    float x = rect.x;
    if (label.TextAlign == TTextAlign::taCenter) x = rect.x + (rect.w - cached->width) / 2;
    if (label.TextAlign == TTextAlign::taTrailing) x = rect.x + rect.w - cached->width;
    const float y = rect.y + (rect.h - cached->height) / 2;
    const SDL_FRect dst{std::round(x), std::round(y), static_cast<float>(cached->width),
                        static_cast<float>(cached->height)};
    DrawTextWithEffects(label, *cached, dst, label.FontColor, opacity);
}

void SceneRenderer::DrawTextWithEffects(const TFmxObject& owner, CachedText& text, const SDL_FRect& dst,
                                        TAlphaColor color, float opacity) {
    const float kx = dst.w / text.width, ky = dst.h / text.height;
    const float pixelScale = std::min(scaleX_, scaleY_);
    auto drawHalo = [&](const HaloShape& shape, float dx, float dy, TAlphaColor haloColor, float haloOpacity) {
        SDL_Texture* halo = texts_.HaloOf(text, shape);
        if (!halo) return;
        const float m = static_cast<float>(shape.Margin());
        const SDL_FRect hdst{dst.x - m * kx + dx, dst.y - m * ky + dy, (text.width + 2 * m) * kx,
                             (text.height + 2 * m) * ky};
        Tint(halo, haloColor, haloOpacity);
        SDL_RenderCopyF(renderer_, halo, nullptr, &hdst);
    };
    for (const TFmxObject* child : owner.Children()) {
        if (const auto* shadow = dynamic_cast<const TShadowEffect*>(child); shadow && shadow->Enabled) {
            const float angle = shadow->Direction * kPi / 180.0f;
            const float d = shadow->Distance * pixelScale;
            drawHalo(ShadowShape(shadow->Softness, pixelScale), std::cos(angle) * d, std::sin(angle) * d,
                     shadow->ShadowColor, opacity * shadow->Opacity);
        } else if (const auto* glow = dynamic_cast<const TGlowEffect*>(child); glow && glow->Enabled) {
            drawHalo(GlowShape(glow->Softness, pixelScale), 0, 0, glow->GlowColor, opacity * glow->Opacity);
        }
    }
    Tint(text.texture, color, opacity);
    SDL_RenderCopyF(renderer_, text.texture, nullptr, &dst);
}

void SceneRenderer::DrawRectangle(const TRectangle& r, const SDL_FRect& rect, float opacity) {
    const TAlphaColor c = r.Fill.Color;
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer_, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF,
                           ToByte(opacity * ((c >> 24) & 0xFF) / 255.0f));
    SDL_RenderFillRectF(renderer_, &rect);
}
