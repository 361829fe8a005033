#include "toolkit/control.h"

#include <algorithm>

#include "common/ascii_text.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"
#include "toolkit/toolkit.h"

namespace toolkit {

bool isVisual(ControlKind kind) {
    return kind != ControlKind::PopupMenu && kind != ControlKind::MenuItem && kind != ControlKind::BalloonHints;
}

Control::Control(Form* owner, std::string name, ControlKind kind)
    : owner_(owner), name_(std::move(name)), kind_(kind) {
    if (owner_)
        owner_->attach(this);
}

Control::~Control() {
    if (auto* t = Toolkit::instance())
        t->controlDestroyed(*this);
    if (owner_)
        owner_->detach(this);
}

#define QUOR_SETTER(field, value, prop)                                                            \
    if (field == value)                                                                            \
        return;                                                                                    \
    field = value;                                                                                 \
    changed(prop)

void Control::setCaption(const std::string& s) { QUOR_SETTER(caption_, s, Property::Caption); }
void Control::setHint(const std::string& s) { QUOR_SETTER(hint_, s, Property::Hint); }
void Control::setEnabled(bool b) { QUOR_SETTER(enabled_, b, Property::Enabled); }
void Control::setVisible(bool b) { QUOR_SETTER(visible_, b, Property::Visible); }
void Control::setBounds(const Rect& r) { QUOR_SETTER(bounds_, r, Property::Bounds); }
void Control::setCursor(Cursor c) { QUOR_SETTER(cursor_, c, Property::Cursor); }
void Control::setFont(const Font& f) { QUOR_SETTER(font_, f, Property::Font); }
void Control::setColor(std::uint32_t c) { QUOR_SETTER(color_, c, Property::Color); }

void Control::click() {
    if (onClick)
        onClick();
}

int Control::subscribe(Listener l) {
    listeners_.emplace_back(nextListener_, std::move(l));
    return nextListener_++;
}

void Control::unsubscribe(int id) {
    std::erase_if(listeners_, [id](const auto& p) { return p.first == id; });
}

void Control::changed(Property p) {
    // A listener may unsubscribe while we notify: walk a copy.
    auto copy = listeners_;
    for (auto& [id, l] : copy)
        l(*this, p);
}

void Picture::setImage(const std::string& key) { QUOR_SETTER(image_, key, Property::Picture); }

void Button::click() {
    if (modalResult != mrNone && owner())
        owner()->setModalResult(modalResult);
    Control::click();
}

void CheckBox::setChecked(bool b) {
    if (checked_ == b)
        return;
    checked_ = b;
    changed(Property::Checked);
    Control::click();
}

void Edit::setText(const std::string& s) {
    std::string t = upperCase ? AsciiUpper(s) : s;
    if (t == text_)
        return;
    text_ = t;
    changed(Property::Text);
    if (onChange)
        onChange();
}

void Edit::setReadOnly(bool b) { QUOR_SETTER(readOnly_, b, Property::ReadOnly); }

void Memo::setLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    changed(Property::Lines);
}

void Memo::addLine(const std::string& line) {
    lines_.push_back(line);
    changed(Property::Lines);
}

std::string Memo::text() const { return JoinLines(lines_); }

void Memo::setText(const std::string& s) { setLines(SplitLines(s)); }

void Memo::setReadOnly(bool b) { QUOR_SETTER(readOnly_, b, Property::ReadOnly); }

void StatusBar::setPanels(std::vector<StatusPanel> p) {
    panels_ = std::move(p);
    changed(Property::Panels);
}

const std::string& StatusBar::panelText(size_t i) const {
    static const std::string empty;
    return i < panels_.size() ? panels_[i].text : empty;
}

void StatusBar::setPanelText(size_t i, const std::string& text) {
    if (i >= panels_.size())
        panels_.resize(i + 1);
    if (panels_[i].text == text)
        return;
    panels_[i].text = text;
    changed(Property::Panels);
}

void StatusBar::setSimplePanel(bool b) { QUOR_SETTER(simple_, b, Property::Panels); }
void StatusBar::setSimpleText(const std::string& s) { QUOR_SETTER(simpleText_, s, Property::Panels); }

void ProgressBar::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    changed(Property::Range);
}

void ProgressBar::setPosition(int p) {
    p = std::clamp(p, min_, max_);
    QUOR_SETTER(position_, p, Property::Position);
}

void PopupMenu::popup(Point screen) {
    if (onPopup)
        onPopup();
    Toolkit::current().popupMenu(*this, screen);
}

} // namespace toolkit
