#pragma once
// Retained scene objects: pictures, stretched characters, labels, rectangles,
// effects and the window. Parent/children order is the drawing order.
// The window owns every object; parent links are plain pointers, since objects
// are re-parented at run time (a special character moves to another block).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using TAlphaColor = uint32_t;

namespace Colors {
constexpr TAlphaColor Aqua = 0xFF00FFFF, Aquamarine = 0xFF7FFFD4, Azure = 0xFFF0FFFF,
                      Black = 0xFF000000, Blanchedalmond = 0xFFFFEBCD, Chartreuse = 0xFF7FFF00,
                      Cornsilk = 0xFFFFF8DC, Crimson = 0xFFDC143C, Darkblue = 0xFF00008B,
                      Darkorchid = 0xFF9932CC, Darkslategray = 0xFF2F4F4F, Darkviolet = 0xFF9400D3,
                      Floralwhite = 0xFFFFFAF0, Gold = 0xFFFFD700, Honeydew = 0xFFF0FFF0,
                      Springgreen = 0xFF00FF7F, Darkgoldenrod = 0xFFB8860B, Darkmagenta = 0xFF8B008B,
                      White = 0xFFFFFFFF;
}

enum class TAlignLayout { alNone, alClient, alScale };
enum class TTextAlign { taCenter = 0, taLeading = 1, taTrailing = 2 };
enum class TImageWrapMode { iwFit, iwStretch };

struct TShiftState {
    bool Shift = false, Alt = false, Ctrl = false, Left = false, Right = false, Middle = false;
};

struct TPosition {
    float X = 0;
    float Y = 0;
};

class TForm;
class TControl;
class SceneSnapshot;

using TNotifyEvent = std::function<void(class SceneObject* sender)>;
using TMouseMoveEvent = std::function<void(class SceneObject* sender, TShiftState shift, float x, float y)>;

// Base of everything in the scene tree.
class SceneObject {
public:
    explicit SceneObject(TForm* owner) : owner_(owner) {}
    // Detaches from the parent and orphans the children, so no link dangles.
    virtual ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Attaches the object as the last child of p (drawn on top of its siblings);
    // nullptr detaches it.
    void SetParent(SceneObject* p);
    SceneObject* Parent() const { return parent_; }
    const std::vector<SceneObject*>& Children() const { return children_; }
    TForm* Owner() const { return owner_; }
    // The window at the root of the tree this object hangs in, or nullptr.
    TForm* RootForm() const;

    void BringToFront();
    void SendToBack();

    std::string Name;

protected:
    TForm* owner_;
    SceneObject* parent_ = nullptr;
    std::vector<SceneObject*> children_;
};

// A visual object: position, size, visibility, opacity, mouse hit test.
class TControl : public SceneObject {
public:
    using SceneObject::SceneObject;

    TPosition Position;
    float Width = 0;
    float Height = 0;
    bool Visible = true;
    float Opacity = 1;
    bool HitTest = true;
    TAlignLayout Align = TAlignLayout::alNone;
    bool AnchorRightBottom = false;  // keeps distance to the parent's right and bottom edges
    TMouseMoveEvent OnMouseMove;

    void SetBounds(float x, float y, float w, float h) {
        Position.X = x; Position.Y = y; Width = w; Height = h;
    }
    // Visible and every visual ancestor visible.
    bool IsShownInScene() const;

    // Aligns children against this object's new size: alScale children scale
    // proportionally, alClient children fill it, right/bottom anchored children
    // keep their distances. Recurses into scaled children.
    void RealignChildren();
    // The size children were last aligned against.
    float AlignedWidth = -1, AlignedHeight = -1;
};

// A picture file, decoded by the renderer. Loading only checks that the file can
// be read: a missing file leaves the previous picture in place.
class TBitmap {
public:
    // Returns false (and changes nothing) when the file cannot be read.
    bool LoadFromFile(const std::string& path);
    void Clear() { path_.clear(); ++version_; }
    const std::string& Path() const { return path_; }
    bool IsEmpty() const { return path_.empty(); }
    uint32_t Version() const { return version_; }
private:
    std::string path_;
    uint32_t version_ = 0;
};

class TImage : public TControl {
public:
    using TControl::TControl;
    TBitmap Bitmap;
    TImageWrapMode WrapMode = TImageWrapMode::iwFit;
};

// One or a few characters, centred, optionally stretched to fill the rectangle.
class TText : public TControl {
public:
    using TControl::TControl;
    std::string Text;  // UTF-8
    TAlphaColor Color = Colors::Black;
    bool Stretch = false;
    bool WordWrap = true;
};

struct TFont {
    float Size = 12;
    bool Bold = false;
    std::string Family;  // empty: the style's proportional Japanese font
};

class TLabel : public TControl {
public:
    explicit TLabel(TForm* owner) : TControl(owner) { HitTest = false; }
    std::string Text;  // UTF-8
    TAlphaColor FontColor = Colors::Black;
    TFont Font;
    TTextAlign TextAlign = TTextAlign::taLeading;
    bool WordWrap = true;
};

struct TBrush {
    TAlphaColor Color = Colors::White;
};

class TRectangle : public TControl {
public:
    using TControl::TControl;
    TBrush Fill;
};

class TShadowEffect : public SceneObject {
public:
    using SceneObject::SceneObject;
    bool Enabled = true;
    TAlphaColor ShadowColor = Colors::Black;
    float Direction = 45;
    float Opacity = 0.6f;
    float Softness = 0.3f;
    float Distance = 3;
};

class TGlowEffect : public SceneObject {
public:
    using SceneObject::SceneObject;
    bool Enabled = true;
    TAlphaColor GlowColor = Colors::Gold;
    float Softness = 0.4f;
    float Opacity = 0.9f;
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// The window: the root of a scene tree and the owner of all its objects.
class TForm : public TControl {
public:
    TForm(int designWidth, int designHeight);
    ~TForm() override;

    // Creates an object owned by this window, attached to parent (may be nullptr);
    // args go to its constructor after the window.
    template <class T, class... Args>
    T* Create(SceneObject* parent, Args&&... args) {
        auto obj = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = obj.get();
        owned_.push_back(std::move(obj));
        if (parent) raw->SetParent(parent);
        return raw;
    }

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    // Changes the client size and scales the alScale children. While the width
    // is below 1 (minimised) nothing is aligned.
    void SetClientSize(int w, int h);

    std::string Caption;
    TBitmap Fill;  // background picture stretched over the client area
    TAlphaColor FillColor = Colors::Black;
    bool FullScreen = false;
    TWindowState WindowState = TWindowState::wsNormal;

    // Delivers a mouse move in client coordinates to the topmost visible
    // hit-testable object under the pointer, or to the window's OnMouseMove.
    void RouteMouseMove(float x, float y, TShiftState shift);
    // The object a mouse move at (x, y) would reach; nullptr means the window.
    TControl* ObjectAt(float x, float y);

    // Life-cycle events. Close() runs OnCloseQuery (canClose true on entry),
    // then OnClose, then hides the window; IsClosed() reports it.
    std::function<void(SceneObject*, bool& canClose)> OnCloseQuery;
    TNotifyEvent OnClose;
    void Close();
    bool IsClosed() const { return closed_; }
    void Reopen() { closed_ = false; Visible = true; invalidated_ = true; }

    // Whether the picture on screen is out of date: something visible changed
    // since the last drawn frame (an object appeared, disappeared, moved,
    // changed size, opacity, text, colour, font, picture or effect; an
    // animation moved it; the window's size or background changed) or the
    // window was invalidated. Changes to hidden objects need no frame, and a
    // hidden (closed) window needs none at all.
    bool NeedsFrame();
    // A frame showing the current state has been drawn.
    void FrameDrawn();
    // The next frame must be drawn whole, changed or not (the window was
    // exposed, or what was on screen is lost).
    void Invalidate() { invalidated_ = true; }
    bool Invalidated() const { return invalidated_; }
    // The scene as it was last drawn, and as it is now (captured by NeedsFrame).
    const SceneSnapshot& DrawnScene() const { return *drawn_; }
    const SceneSnapshot& CurrentScene() const { return *current_; }

private:
    std::unique_ptr<SceneSnapshot> drawn_;
    std::unique_ptr<SceneSnapshot> current_;
    bool invalidated_ = false;
    int clientWidth_;
    int clientHeight_;
    bool closed_ = false;
    std::vector<std::unique_ptr<SceneObject>> owned_;
};
