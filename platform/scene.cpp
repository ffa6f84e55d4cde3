// The scene tree: parent/child links, drawing order, visibility, alignment of
// children when a parent changes size, and the window's mouse routing.
#include "platform/scene.h"

#include <algorithm>
#include <fstream>

#include "platform/scene_changes.h"

SceneObject::~SceneObject() {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_ = nullptr;
    }
    for (SceneObject* child : children_) child->parent_ = nullptr;
    children_.clear();
}

void SceneObject::SetParent(SceneObject* p) {
    if (p == parent_ || p == this) return;
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = p;
    if (p) p->children_.push_back(this);
}

TForm* SceneObject::RootForm() const {
    const SceneObject* top = this;
    while (top->parent_) top = top->parent_;
    return dynamic_cast<TForm*>(const_cast<SceneObject*>(top));
}

void SceneObject::BringToFront() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    std::rotate(it, it + 1, siblings.end());
}

void SceneObject::SendToBack() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    std::rotate(siblings.begin(), it, it + 1);
}

bool TControl::IsShownInScene() const {
    for (const SceneObject* o = this; o; o = o->Parent()) {
        if (auto* c = dynamic_cast<const TControl*>(o); c && !c->Visible) return false;
    }
    return true;
}

namespace {
// left * w1 / w0 in double, stored as a 32-bit float.
float Scaled(float v, float num, float den) {
    return static_cast<float>(static_cast<double>(v) * num / den);
}
}  // namespace

void TControl::RealignChildren() {
    const float w1 = Width, h1 = Height;
    // A minimised window has no meaningful size: keep the layout and the
    // remembered size, so restoring it to the old size moves nothing.
    if (w1 < 1) return;
    const float w0 = AlignedWidth, h0 = AlignedHeight;
    AlignedWidth = w1;
    AlignedHeight = h1;
    const bool canScale = w0 > 0 && h0 > 0;  // never aligned, or aligned at zero size
    const bool changed = w0 != w1 || h0 != h1;

    for (SceneObject* o : children_) {
        auto* c = dynamic_cast<TControl*>(o);
        if (!c) continue;
        switch (c->Align) {
        case TAlignLayout::alScale:
            if (!canScale || !changed) break;
            if (c->AlignedWidth < 0) {  // its children were laid out against its current size
                c->AlignedWidth = c->Width;
                c->AlignedHeight = c->Height;
            }
            c->SetBounds(Scaled(c->Position.X, w1, w0), Scaled(c->Position.Y, h1, h0),
                         Scaled(c->Width, w1, w0), Scaled(c->Height, h1, h0));
            c->RealignChildren();
            break;
        case TAlignLayout::alClient:
            if (c->AlignedWidth < 0) {
                c->AlignedWidth = c->Width;
                c->AlignedHeight = c->Height;
            }
            c->SetBounds(0, 0, w1, h1);
            c->RealignChildren();
            break;
        case TAlignLayout::alNone:
            if (c->AnchorRightBottom && canScale && changed) {
                c->Position.X += w1 - w0;
                c->Position.Y += h1 - h0;
            }
            break;
        }
    }
}

bool TBitmap::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || in.peek() == std::ifstream::traits_type::eof()) return false;
    path_ = path;
    ++version_;
    return true;
}

TForm::TForm(int designWidth, int designHeight)
    : TControl(nullptr),
      drawn_(std::make_unique<SceneSnapshot>()),
      current_(std::make_unique<SceneSnapshot>()),
      clientWidth_(designWidth),
      clientHeight_(designHeight) {
    owner_ = this;
    Width = static_cast<float>(designWidth);
    Height = static_cast<float>(designHeight);
    AlignedWidth = Width;
    AlignedHeight = Height;
}

TForm::~TForm() {
    // Unlink the whole tree first: owned objects then die in any order without
    // touching one another.
    for (auto& o : owned_) o->SetParent(nullptr);
    owned_.clear();
}

void TForm::SetClientSize(int w, int h) {
    clientWidth_ = w;
    clientHeight_ = h;
    Width = static_cast<float>(w);
    Height = static_cast<float>(h);
    RealignChildren();
}

namespace {
// The topmost hit-testable control at (x, y) among the children of parent,
// whose top-left corner lies at (ox, oy) in client coordinates.
TControl* HitAmong(const SceneObject& parent, float ox, float oy, float x, float y,
                   float& hitX, float& hitY) {
    const auto& children = parent.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* c = dynamic_cast<TControl*>(*it);
        if (!c || !c->Visible) continue;
        const float left = ox + c->Position.X, top = oy + c->Position.Y;
        if (TControl* inner = HitAmong(*c, left, top, x, y, hitX, hitY)) return inner;
        if (c->HitTest && x >= left && x < left + c->Width && y >= top && y < top + c->Height) {
            hitX = left;
            hitY = top;
            return c;
        }
    }
    return nullptr;
}
}  // namespace

TControl* TForm::ObjectAt(float x, float y) {
    float left = 0, top = 0;
    return HitAmong(*this, 0, 0, x, y, left, top);
}

void TForm::RouteMouseMove(float x, float y, TShiftState shift) {
    float left = 0, top = 0;
    if (TControl* target = HitAmong(*this, 0, 0, x, y, left, top)) {
        // The object takes the move even without a handler of its own.
        if (target->OnMouseMove) target->OnMouseMove(target, shift, x - left, y - top);
        return;
    }
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

bool TForm::NeedsFrame() {
    // A closed or hidden window shows nothing to draw.
    if (!Visible) return false;
    current_->Capture(*this);
    return invalidated_ || !(*current_ == *drawn_);
}

void TForm::FrameDrawn() {
    current_->Capture(*this);
    std::swap(drawn_, current_);
    invalidated_ = false;
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    if (OnClose) OnClose(this);
    Visible = false;
    closed_ = true;
}
