#pragma once
// A paint box: an area the form draws itself, through a canvas, whenever the view asks.
#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/control.h"

namespace toolkit {

struct CanvasFont {
    std::string name;      // empty: the front end's default
    int pointSize = 0;     // 0: the front end's default
    std::uint32_t color = Color::Black;
    bool operator==(const CanvasFont&) const = default;
};

// What a paint handler draws on, in the paint box's client co-ordinates.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void fillRect(const Rect& r, std::uint32_t color) = 0;
    // Text with its top left at (x, y), on a transparent background.
    virtual void textOut(int x, int y, const std::string& text, const CanvasFont& font) = 0;
};

class PaintBox : public Control {
public:
    PaintBox(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::PaintBox) {}
    std::function<void(Canvas&)> onPaint;
    // The view draws the box anew (it calls paint with its canvas).
    void invalidate() { changed(Property::Other); }
    void paint(Canvas& canvas) {
        if (onPaint) onPaint(canvas);
    }
};

} // namespace toolkit
