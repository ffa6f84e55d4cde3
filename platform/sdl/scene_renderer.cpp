#include "platform/sdl/scene_renderer.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/scene_changes.h"

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
    if (prescale_ && (w != pic.width || h != pic.height)) {
        // Copies are made while measuring only, so that both passes of a frame
        // (and every area of it) draw the picture the same way.
        scaled = pass_ == Pass::Measure ? pictures_.ScaledTo(path, pic, w, h) : PictureCache::ScaledCopy(pic, w, h);
    }
    if (scaled) {
        const SDL_Rect dst{static_cast<int>(std::lround(rect.x)), static_cast<int>(std::lround(rect.y)), w, h};
        SDL_SetTextureAlphaMod(scaled, ToByte(opacity));
        Emit(scaled, dst, w, h);
        return;
    }
    SDL_SetTextureAlphaMod(pic.texture, ToByte(opacity));
    Emit(pic.texture, rect, pic.width, pic.height);
}

SDL_Rect SceneRenderer::DrawnArea(const TControl& c) const {
    const auto it = drawnIndex_.find(&c);
    return it == drawnIndex_.end() ? SDL_Rect{0, 0, 0, 0} : drawnExtents_[it->second].rect;
}

void SceneRenderer::Note(const SDL_FRect& dst, bool stretched) {
    if (current_ == kNoObject || !(dst.w > 0) || !(dst.h > 0)) return;
    // A pixel more on each side: filtering reaches into the neighbours.
    const int x0 = static_cast<int>(std::floor(dst.x)) - 1, y0 = static_cast<int>(std::floor(dst.y)) - 1;
    const int x1 = static_cast<int>(std::ceil(dst.x + dst.w)) + 1, y1 = static_cast<int>(std::ceil(dst.y + dst.h)) + 1;
    const SDL_Rect r{x0, y0, x1 - x0, y1 - y0};
    Extent& e = extents_[current_];
    if (SDL_RectEmpty(&e.rect)) e.rect = r;
    else SDL_UnionRect(&e.rect, &r, &e.rect);
    e.stretched = e.stretched || stretched;
}

void SceneRenderer::Emit(SDL_Texture* texture, const SDL_FRect& dst, int srcW, int srcH) {
    if (pass_ == Pass::Measure) {
        Note(dst, texture && (std::fabs(dst.w - srcW) > 0.01f || std::fabs(dst.h - srcH) > 0.01f));
        return;
    }
    if (culled_) return;
    if (texture) SDL_RenderCopyF(renderer_, texture, nullptr, &dst);
    else SDL_RenderFillRectF(renderer_, &dst);
}

void SceneRenderer::Emit(SDL_Texture* texture, const SDL_Rect& dst, int srcW, int srcH) {
    if (pass_ == Pass::Measure) {
        const SDL_FRect f{static_cast<float>(dst.x), static_cast<float>(dst.y), static_cast<float>(dst.w),
                          static_cast<float>(dst.h)};
        Note(f, dst.w != srcW || dst.h != srcH);
        return;
    }
    if (!culled_) SDL_RenderCopy(renderer_, texture, nullptr, &dst);
}

void SceneRenderer::BeginFrame(const TForm& form) {
    outW_ = outH_ = 0;
    SDL_GetRendererOutputSize(renderer_, &outW_, &outH_);
    scaleX_ = form.ClientWidth() > 0 ? static_cast<float>(outW_) / form.ClientWidth() : 1.0f;
    scaleY_ = form.ClientHeight() > 0 ? static_cast<float>(outH_) / form.ClientHeight() : 1.0f;
}

void SceneRenderer::Measure(const TForm& form) {
    ++frame_;
    BeginFrame(form);
    pass_ = Pass::Measure;
    scaledBuildsAtMeasure_ = pictures_.ScaledBuilds();
    extents_.clear();
    visit_ = 0;
    current_ = kNoObject;
    culled_ = false;
    DrawBackground(form);
    DrawChildren(form, 0, 0, form.Opacity);
    pass_ = Pass::Draw;
}

void SceneRenderer::DrawBackground(const TForm& form) {
    if (pass_ == Pass::Measure) backgroundStretched_ = false;
    if (form.Fill.IsEmpty()) return;
    CachedPicture& pic = pictures_.Get(form.Fill.Path(), frame_);
    if (!pic.texture) return;
    if (pass_ == Pass::Measure)
        backgroundStretched_ = !(prescale_ && PictureCache::ScaledCopy(pic, outW_, outH_)) &&
                               (pic.width != outW_ || pic.height != outH_);
    CopyPicture(form.Fill.Path(), pic, SDL_FRect{0, 0, static_cast<float>(outW_), static_cast<float>(outH_)}, 1);
}

void SceneRenderer::DrawPass(const TForm& form, const SDL_Rect* clip) {
    pass_ = Pass::Draw;
    clip_ = clip;
    visit_ = 0;
    current_ = kNoObject;
    culled_ = false;
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    const TAlphaColor bg = form.FillColor;
    SDL_SetRenderDrawColor(renderer_, (bg >> 16) & 0xFF, (bg >> 8) & 0xFF, bg & 0xFF, 255);
    if (clip) {
        // Clearing ignores the clip rectangle: fill the area instead.
        SDL_RenderSetClipRect(renderer_, clip);
        SDL_RenderFillRect(renderer_, clip);
    } else {
        SDL_RenderClear(renderer_);
    }
    DrawBackground(form);
    DrawChildren(form, 0, 0, form.Opacity);
    if (clip) SDL_RenderSetClipRect(renderer_, nullptr);
    clip_ = nullptr;
}

void SceneRenderer::Commit(const TForm& form) {
    drawnExtents_.swap(extents_);
    extents_.clear();
    drawnIndex_.clear();
    for (size_t i = 0; i < drawnExtents_.size(); ++i) drawnIndex_[drawnExtents_[i].object] = i;
    drawnForm_ = &form;
    drawnOutW_ = outW_;
    drawnOutH_ = outH_;
    EvictIdle();
}

void SceneRenderer::Draw(const TForm& form) {
    Measure(form);
    DrawPass(form, nullptr);
    Commit(form);
}

namespace {

bool Contains(const SDL_Rect& outer, const SDL_Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

int64_t Area(const SDL_Rect& r) { return static_cast<int64_t>(r.w) * r.h; }

// Joins areas that overlap or lie so close that one rectangle costs about as
// much as the two.
void MergeAreas(std::vector<SDL_Rect>& areas) {
    constexpr int64_t kSlack = 48 * 48;
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < areas.size() && !merged; ++i) {
            for (size_t j = i + 1; j < areas.size(); ++j) {
                SDL_Rect u;
                SDL_UnionRect(&areas[i], &areas[j], &u);
                if (SDL_HasIntersection(&areas[i], &areas[j]) || Area(u) <= Area(areas[i]) + Area(areas[j]) + kSlack) {
                    areas[i] = u;
                    areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(j));
                    merged = true;
                    break;
                }
            }
        }
    }
}

}  // namespace

SceneRenderer::Changes SceneRenderer::ChangedAreas(const TForm& form) {
    Changes changes;
    Measure(form);
    const SceneSnapshot& before = form.DrawnScene();
    const SceneSnapshot& now = form.CurrentScene();
    if (drawnForm_ != &form || outW_ != drawnOutW_ || outH_ != drawnOutH_ || before.Empty() || now.Empty() ||
        form.Invalidated() || before.WindowLook() != now.WindowLook() ||
        pictures_.ScaledBuilds() != scaledBuildsAtMeasure_ || now.Objects().size() != extents_.size() ||
        backgroundStretched_)  // cut into areas, a stretched background would not line up
        return changes;

    const auto& was = before.Objects();
    const auto& is = now.Objects();
    beforeIndex_.clear();
    for (size_t i = 0; i < was.size(); ++i) beforeIndex_[was[i].object] = i;
    seen_.assign(was.size(), false);
    std::vector<SDL_Rect>& areas = changes.areas;
    auto add = [&areas](const SDL_Rect& r) {
        if (!SDL_RectEmpty(&r)) areas.push_back(r);
    };
    size_t latestBefore = 0;
    bool anyBefore = false;
    for (size_t i = 0; i < is.size(); ++i) {
        const Extent& e = extents_[i];
        if (e.object != is[i].object) return changes;  // the scene and the drawing disagree: play safe
        bool changed = true;
        if (auto it = beforeIndex_.find(is[i].object); it != beforeIndex_.end()) {
            const size_t b = it->second;
            seen_[b] = true;
            changed = !(was[b] == is[i]);
            // Drawn in another order than before: its overlaps with the others change.
            if (anyBefore && b < latestBefore) changed = true;
            latestBefore = std::max(latestBefore, b);
            anyBefore = true;
        }
        const auto old = drawnIndex_.find(is[i].object);
        const Extent* drawn = old == drawnIndex_.end() ? nullptr : &drawnExtents_[old->second];
        if (!drawn || !SDL_RectEquals(&drawn->rect, &e.rect) || drawn->stretched != e.stretched) changed = true;
        if (!changed) continue;
        add(e.rect);
        if (drawn) add(drawn->rect);
    }
    for (size_t b = 0; b < was.size(); ++b) {
        if (seen_[b]) continue;
        const auto old = drawnIndex_.find(was[b].object);
        if (old == drawnIndex_.end()) return changes;
        add(drawnExtents_[old->second].rect);
    }
    if (areas.empty()) {
        changes.whole = false;
        return changes;
    }

    // A stretched copy cut by an area edge may land a pixel off from its part
    // outside: draw every stretched object an area touches whole.
    for (int round = 0; round < 4; ++round) {
        bool grew = false;
        for (const Extent& e : extents_) {
            if (!e.stretched) continue;
            bool touched = false, inside = false;
            for (const SDL_Rect& a : areas) {
                if (Contains(a, e.rect)) inside = true;
                else if (SDL_HasIntersection(&a, &e.rect)) touched = true;
            }
            if (touched && !inside) {
                areas.push_back(e.rect);
                grew = true;
            }
        }
        MergeAreas(areas);
        if (!grew) break;
    }

    const SDL_Rect output{0, 0, outW_, outH_};
    int64_t total = 0;
    for (auto it = areas.begin(); it != areas.end();) {
        if (!SDL_IntersectRect(&*it, &output, &*it)) {
            it = areas.erase(it);
            continue;
        }
        total += Area(*it);
        ++it;
    }
    if (static_cast<float>(total) > kWholeShare * static_cast<float>(Area(output))) {
        areas.clear();
        return changes;
    }
    changes.whole = false;
    return changes;
}

void SceneRenderer::DrawChanges(const TForm& form, const Changes& changes) {
    if (changes.whole) {
        DrawPass(form, nullptr);
    } else {
        for (const SDL_Rect& a : changes.areas) DrawPass(form, &a);
    }
    Commit(form);
}

void SceneRenderer::EvictIdle() {
    if (frame_ % 120 != 0) return;
    if (frame_ > kTextIdleFrames) texts_.EvictUnusedSince(frame_ - kTextIdleFrames);
    if (frame_ > kPictureIdleFrames) pictures_.EvictUnusedSince(frame_ - kPictureIdleFrames);
}

void SceneRenderer::DrawChildren(const SceneObject& parent, float x, float y, float opacity) {
    for (const SceneObject* child : parent.Children())
        if (const auto* c = dynamic_cast<const TControl*>(child)) DrawControl(*c, x, y, opacity);
}

void SceneRenderer::DrawControl(const TControl& c, float x, float y, float opacity) {
    if (!c.Visible) return;
    const float o = opacity * std::clamp(c.Opacity, 0.0f, 1.0f);
    const float left = x + c.Position.X, top = y + c.Position.Y;
    if (o > 0) {
        const size_t index = visit_++;
        if (pass_ == Pass::Measure) {
            extents_.push_back(Extent{&c, SDL_Rect{0, 0, 0, 0}, false});
        } else if (clip_) {
            // Outside the area being drawn: skip the copies, not the children.
            culled_ = index < extents_.size() && extents_[index].object == &c &&
                      !SDL_HasIntersection(&extents_[index].rect, clip_);
        }
        current_ = index;
        const SDL_FRect rect{left * scaleX_, top * scaleY_, c.Width * scaleX_, c.Height * scaleY_};
        if (const auto* img = dynamic_cast<const TImage*>(&c))
            DrawImage(*img, rect, o);
        else if (const auto* label = dynamic_cast<const TLabel*>(&c))
            DrawLabel(*label, rect, o);
        else if (const auto* text = dynamic_cast<const TText*>(&c))
            DrawText(*text, rect, o);
        else if (const auto* r = dynamic_cast<const TRectangle*>(&c))
            DrawRectangle(*r, rect, o);
        current_ = kNoObject;
        culled_ = false;
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

void SceneRenderer::DrawTextWithEffects(const SceneObject& owner, CachedText& text, const SDL_FRect& dst,
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
        Emit(halo, hdst, text.width + 2 * static_cast<int>(m), text.height + 2 * static_cast<int>(m));
    };
    for (const SceneObject* child : owner.Children()) {
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
    Emit(text.texture, dst, text.width, text.height);
}

void SceneRenderer::DrawRectangle(const TRectangle& r, const SDL_FRect& rect, float opacity) {
    const TAlphaColor c = r.Fill.Color;
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer_, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF,
                           ToByte(opacity * ((c >> 24) & 0xFF) / 255.0f));
    Emit(nullptr, rect, 0, 0);
}
