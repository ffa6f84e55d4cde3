#pragma once
// What a window's picture is made of, object by object: every object that is
// drawn, where (client coordinates), how opaque, and a digest of what it shows
// (text, colours, font, picture, effects). Two snapshots that compare equal
// draw the same picture, so the window needs no new frame; hidden objects and
// those faded out completely are not part of the picture.
#include <cstdint>
#include <vector>

class TControl;
class TForm;

struct DrawnObject {
    const TControl* object;  // identity only: may be gone by the time snapshots are compared
    float x, y, w, h;        // client coordinates
    float opacity;           // including the ancestors' opacity
    uint64_t look;           // digest of the shown content
    bool operator==(const DrawnObject&) const = default;
};

// A digest of what a control shows apart from its place and opacity: the
// picture, text, colours, font, wrapping and its enabled effects.
uint64_t LookOf(const TControl& c);

class SceneSnapshot {
public:
    void Capture(const TForm& form);
    // In drawing order.
    const std::vector<DrawnObject>& Objects() const { return objects_; }
    // The window's own part: client size, background colour and picture.
    uint64_t WindowLook() const { return windowLook_; }
    bool Empty() const { return !captured_; }
    void Clear() { objects_.clear(); windowLook_ = 0; captured_ = false; }
    bool operator==(const SceneSnapshot& o) const {
        return captured_ == o.captured_ && windowLook_ == o.windowLook_ && objects_ == o.objects_;
    }

private:
    std::vector<DrawnObject> objects_;
    uint64_t windowLook_ = 0;
    bool captured_ = false;
};
