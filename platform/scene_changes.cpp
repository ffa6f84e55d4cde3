#include "platform/scene_changes.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <string_view>

#include "platform/scene.h"

namespace {

struct Digest {
    uint64_t h = 0xcbf29ce484222325ull;
    void Add(uint64_t v) {
        h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
        h *= 0x100000001b3ull;
    }
    void Add(float v) { Add(static_cast<uint64_t>(std::bit_cast<uint32_t>(v))); }
    void Add(bool v) { Add(static_cast<uint64_t>(v ? 1 : 2)); }
    void Add(int v) { Add(static_cast<uint64_t>(static_cast<uint32_t>(v))); }
    void Add(uint32_t v) { Add(static_cast<uint64_t>(v)); }
    void Add(std::string_view s) { Add(static_cast<uint64_t>(std::hash<std::string_view>{}(s)) ^ s.size()); }
    void Add(const TBitmap& b) {
        Add(std::string_view(b.Path()));
        Add(b.Version());
    }
};

void AddEffects(Digest& d, const TControl& c) {
    for (const SceneObject* child : c.Children()) {
        if (const auto* s = dynamic_cast<const TShadowEffect*>(child); s && s->Enabled) {
            d.Add(uint64_t{0x5AD0});
            d.Add(s->ShadowColor);
            d.Add(s->Direction);
            d.Add(s->Opacity);
            d.Add(s->Softness);
            d.Add(s->Distance);
        } else if (const auto* g = dynamic_cast<const TGlowEffect*>(child); g && g->Enabled) {
            d.Add(uint64_t{0x610E});
            d.Add(g->GlowColor);
            d.Add(g->Softness);
            d.Add(g->Opacity);
        }
    }
}

void CaptureChildren(const SceneObject& parent, float x, float y, float opacity, std::vector<DrawnObject>& out) {
    for (const SceneObject* child : parent.Children()) {
        const auto* c = dynamic_cast<const TControl*>(child);
        if (!c || !c->Visible) continue;
        const float o = opacity * std::clamp(c->Opacity, 0.0f, 1.0f);
        // Nothing of a fully transparent object or its children is drawn.
        if (!(o > 0)) continue;
        const float left = x + c->Position.X, top = y + c->Position.Y;
        out.push_back({c, left, top, c->Width, c->Height, o, LookOf(*c)});
        CaptureChildren(*c, left, top, o, out);
    }
}

}  // namespace

uint64_t LookOf(const TControl& c) {
    Digest d;
    if (const auto* img = dynamic_cast<const TImage*>(&c)) {
        d.Add(uint64_t{1});
        d.Add(img->Bitmap);
        d.Add(static_cast<int>(img->WrapMode));
    } else if (const auto* label = dynamic_cast<const TLabel*>(&c)) {
        d.Add(uint64_t{2});
        d.Add(std::string_view(label->Text));
        d.Add(label->FontColor);
        d.Add(label->Font.Size);
        d.Add(label->Font.Bold);
        d.Add(std::string_view(label->Font.Family));
        d.Add(static_cast<int>(label->TextAlign));
        d.Add(label->WordWrap);
        AddEffects(d, c);
    } else if (const auto* text = dynamic_cast<const TText*>(&c)) {
        d.Add(uint64_t{3});
        d.Add(std::string_view(text->Text));
        d.Add(text->Color);
        d.Add(text->Stretch);
        d.Add(text->WordWrap);
        AddEffects(d, c);
    } else if (const auto* r = dynamic_cast<const TRectangle*>(&c)) {
        d.Add(uint64_t{4});
        d.Add(r->Fill.Color);
    } else {
        d.Add(uint64_t{5});  // a plain container draws nothing itself
    }
    return d.h;
}

void SceneSnapshot::Capture(const TForm& form) {
    objects_.clear();
    captured_ = true;
    Digest d;
    d.Add(form.ClientWidth());
    d.Add(form.ClientHeight());
    d.Add(form.FillColor);
    d.Add(form.Fill);
    d.Add(form.Visible);
    windowLook_ = d.h;
    if (!form.Visible) return;
    CaptureChildren(form, 0, 0, std::clamp(form.Opacity, 0.0f, 1.0f), objects_);
}
