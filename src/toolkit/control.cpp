#include "toolkit/control.h"

#include <algorithm>

#include "common/ascii_text.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"
#include "toolkit/toolkit.h"

namespace toolkit {

bool isVisual(ControlKind kind) {
    return kind != ControlKind::PopupMenu && kind != ControlKind::MenuItem && kind != ControlKind::BalloonHints &&
           kind != ControlKind::FileDialog;
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

void Control::setCaption(const std::string& s) { set(caption_, s, Property::Caption); }
void Control::setHint(const std::string& s) { set(hint_, s, Property::Hint); }
void Control::setEnabled(bool b) { set(enabled_, b, Property::Enabled); }
void Control::setVisible(bool b) { set(visible_, b, Property::Visible); }
void Control::setBounds(const Rect& r) { set(bounds_, r, Property::Bounds); }
void Control::setCursor(Cursor c) { set(cursor_, c, Property::Cursor); }
void Control::setFont(const Font& f) { set(font_, f, Property::Font); }
void Control::setColor(std::uint32_t c) { set(color_, c, Property::Color); }

void Control::click() {
    if (onClick)
        onClick();
}

int Control::subscribe(Listener l) { return listeners_.add(std::move(l)); }

void Control::unsubscribe(int id) { listeners_.remove(id); }

void Control::changed(Property p) { listeners_.notify(*this, p); }

void Picture::setImage(const std::string& key) { set(image_, key, Property::Picture); }

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

void HtmlView::navigate(const std::string& path) {
    location_ = path;
    html_.clear();
    ++showings_;
    changed(Property::Page);
}

void HtmlView::showHtml(const std::string& html) {
    location_.clear();
    html_ = html;
    ++showings_;
    changed(Property::Page);
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

void Edit::setReadOnly(bool b) { set(readOnly_, b, Property::ReadOnly); }

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

void Memo::setReadOnly(bool b) { set(readOnly_, b, Property::ReadOnly); }

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

void StatusBar::setSimplePanel(bool b) { set(simple_, b, Property::Panels); }
void StatusBar::setSimpleText(const std::string& s) { set(simpleText_, s, Property::Panels); }

void ProgressBar::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    changed(Property::Range);
}

void ProgressBar::setPosition(int p) {
    p = std::clamp(p, min_, max_);
    set(position_, p, Property::Position);
}

void PopupMenu::popup(Point screen) {
    if (onPopup)
        onPopup();
    Toolkit::current().popupMenu(*this, screen);
}

} // namespace toolkit
