#include "toolkit/form.h"

#include <algorithm>

#include "toolkit/timer.h"
#include "toolkit/toolkit.h"

namespace toolkit {

namespace {
std::vector<Form*>& registry() {
    static std::vector<Form*> forms;
    return forms;
}
} // namespace

Form::Form(std::string name) : name_(std::move(name)) { registry().push_back(this); }

Form::~Form() {
    std::erase(registry(), this);
    if (auto* t = Toolkit::instance())
        t->formDestroyed(*this);
}

const std::vector<Form*>& Form::all() { return registry(); }

Form* Form::findByCaption(const std::string& caption) {
    for (Form* f : registry())
        if (f->caption() == caption)
            return f;
    return nullptr;
}

void Form::setCaption(const std::string& c) {
    if (c == caption_)
        return;
    caption_ = c;
    changed(FormProperty::Caption);
}

void Form::setBounds(const Rect& r) {
    if (r == bounds_)
        return;
    bounds_ = r;
    changed(FormProperty::Bounds);
}

void Form::setClientSize(int w, int h) {
    clientWidth_ = w;
    clientHeight_ = h;
    bounds_.width = w;
    bounds_.height = h;
    changed(FormProperty::Bounds);
}

void Form::setColor(std::uint32_t c) {
    color_ = c;
    changed(FormProperty::Color);
}

void Form::setVisible(bool b) {
    if (b == visible_)
        return;
    visible_ = b;
    changed(FormProperty::Visible);
    if (auto* t = Toolkit::instance())
        t->formVisibilityChanged(*this);
    if (b && onShow)
        onShow();
}

int Form::showModal() { return Toolkit::current().showModal(*this); }

void Form::setModalResult(int r) {
    modalResult_ = r;
    changed(FormProperty::ModalResult);
}

void Form::close() {
    bool canClose = true;
    if (onCloseQuery)
        onCloseQuery(canClose);
    if (!canClose)
        return;
    CloseAction action = caHide;
    if (onClose)
        onClose(action);
    if (action == caNone)
        return;
    if (modal_) {
        if (modalResult_ == mrNone)
            setModalResult(mrCancel);
    } else {
        setVisible(false);
    }
    if (auto* t = Toolkit::instance())
        t->formClosed(*this);
}

bool Form::keyDown(int& key) {
    if (keyPreview && onKeyDown)
        onKeyDown(key);
    return key == 0;
}

Control* Form::findControl(const std::string& name) const {
    for (Control* c : controls_)
        if (c->name() == name)
            return c;
    return nullptr;
}

void Form::detach(Control* c) {
    std::erase(controls_, c);
    if (activeControl_ == c)
        activeControl_ = nullptr;
}

void Form::setActiveControl(Control* c) {
    activeControl_ = c;
    // Announced even when it is the same control: the focus may have moved since.
    changed(FormProperty::ActiveControl);
}
void Form::detach(Timer* t) { std::erase(timers_, t); }

int Form::subscribe(Listener l) { return listeners_.add(std::move(l)); }

void Form::unsubscribe(int id) { listeners_.remove(id); }

void Form::changed(FormProperty p) { listeners_.notify(*this, p); }

} // namespace toolkit
