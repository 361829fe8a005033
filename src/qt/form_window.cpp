#include "qt/form_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <functional>

#include "qt/control_binding.h"
#include "qt/qt_text.h"
#include "qt/qt_toolkit.h"
#include "toolkit/control.h"
#include "toolkit/menu.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

namespace {
Qt::WindowFlags flagsFor(BorderStyle style) {
    switch (style) {
    case BorderStyle::Dialog:
        return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
               Qt::WindowCloseButtonHint;
    case BorderStyle::Single:
        return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    case BorderStyle::None:
        return Qt::Window | Qt::FramelessWindowHint;
    case BorderStyle::Sizeable:
        break;
    }
    return Qt::Window;
}

Qt::WindowFlags flagsFor(BorderStyle style, bool systemMenu) {
    Qt::WindowFlags f = flagsFor(style);
    if (systemMenu || style == BorderStyle::None)
        return f;
    // A title bar without the system menu: no close box, no other buttons.
    f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    f &= ~(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint);
    return f;
}
} // namespace

FormWindow::FormWindow(Form& form, QtToolkit& toolkit) : QWidget(nullptr, flagsFor(form.borderStyle, form.systemMenu)), form_(&form), toolkit_(toolkit) {
    setObjectName(qs(form.name()));
    applyCaption();
    applyGeometry();
    applyColor();
    listener_ = form.subscribe([this](Form&, FormProperty p) {
        switch (p) {
        case FormProperty::Caption: applyCaption(); break;
        case FormProperty::Bounds: applyGeometry(); break;
        case FormProperty::Color: applyColor(); break;
        case FormProperty::ActiveControl: applyActiveControl(); break;
        default: break;
        }
    });
    bindControls();
    buildMenuBar();
    // A control nobody can see is a fault of this front end: say so where it shows.
    for (const std::string& name : unboundControls())
        qWarning("%s: control %s has no widget", form.name().c_str(), name.c_str());
}

FormWindow::~FormWindow() {
    bindings_.clear();
    detachFromForm();
}

void FormWindow::detachFromForm() {
    bindings_.clear();
    if (form_)
        form_->unsubscribe(listener_);
    form_ = nullptr;
}

void FormWindow::bindControls() {
    // Parents first: a control sits in the widget of the control its parent name names.
    // Run again on every show, it binds the controls made since.
    std::map<std::string, QWidget*> made;
    for (auto& [c, b] : bindings_)
        made[c->name()] = b->widget();
    std::function<QWidget*(Control&, int)> make = [&](Control& c, int depth) -> QWidget* {
        auto it = made.find(c.name());
        if (it != made.end())
            return it->second;
        QWidget* parent = this;
        if (!c.parentName().empty() && depth < 16)
            if (Control* p = form_->findControl(c.parentName()))
                if (QWidget* pw = make(*p, depth + 1))
                    parent = pw;
        std::unique_ptr<ControlBinding> b = bindControl(c, parent);
        QWidget* w = b ? b->widget() : nullptr;
        made[c.name()] = w;
        if (b)
            bindings_[&c] = std::move(b);
        return w;
    };
    for (Control* c : form_->controls())
        make(*c, 0);
    // Menu commands with shortcuts work while the window is active.
    for (Control* c : form_->controls()) {
        if (c->kind() != ControlKind::MenuItem || shortcuts_.count(c))
            continue;
        auto* item = static_cast<MenuItem*>(c);
        if (item->shortcut.empty())
            continue;
        shortcuts_.insert(c);
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(qs(item->shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, name = item->name()] {
            if (!form_)
                return;
            if (Control* target = form_->findControl(name); target && target->enabled())
                dispatch([target] { target->click(); });
        });
        addAction(action);
    }
}

void FormWindow::buildMenuBar() {
    if (!form_->mainMenu || form_->mainMenu->items.empty())
        return;
    auto* bar = new QMenuBar(this);
    bar->setObjectName(qs(form_->mainMenu->name()));
    bar->setNativeMenuBar(false);
    for (MenuItem* top : form_->mainMenu->items) {
        QMenu* menu = bar->addMenu(qs(top->caption()));
        for (MenuItem* item : top->items) {
            if (item->isSeparator()) {
                menu->addSeparator();
                continue;
            }
            // The shortcut is shown only: the window's own action for it does the work, and
            // a second action with the same keys would make both ambiguous.
            QString text = qs(item->caption());
            if (!item->shortcut.empty())
                text += "\t" + qs(item->shortcut);
            QAction* a = menu->addAction(text);
            a->setData(qs(item->name()));
            connect(a, &QAction::triggered, this, [this, name = item->name()] {
                if (!form_)
                    return;
                if (Control* target = form_->findControl(name); target && target->enabled())
                    dispatch([target] { target->click(); });
            });
        }
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            for (QAction* a : menu->actions())
                if (Control* c = form_ && !a->data().isNull() ? form_->findControl(us(a->data().toString())) : nullptr)
                    a->setEnabled(c->enabled());
        });
    }
    bar->setGeometry(0, 0, form_->clientWidth(), bar->sizeHint().height());
    menuBar_ = bar;
}

QWidget* FormWindow::widgetFor(const Control& c) const {
    auto it = bindings_.find(&c);
    return it == bindings_.end() ? nullptr : it->second->widget();
}

std::vector<std::string> FormWindow::unboundControls() const {
    std::vector<std::string> missing;
    if (!form_)
        return missing;
    for (Control* c : form_->controls()) {
        if (!isVisual(c->kind()))
            continue;
        QWidget* w = widgetFor(*c);
        if (!w || w->objectName() != qs(c->name()))
            missing.push_back(c->name());
    }
    return missing;
}

void FormWindow::controlGone(Control& c) {
    shortcuts_.erase(&c);
    auto it = bindings_.find(&c);
    if (it == bindings_.end())
        return;
    it->second->markDying();
    bindings_.erase(it);
}

void FormWindow::applyActiveControl() {
    // A window not yet up gives the focus to this widget once it becomes active.
    if (Control* c = form_->activeControl())
        if (QWidget* w = widgetFor(*c))
            w->setFocus(Qt::OtherFocusReason);
}

void FormWindow::applyCaption() { setWindowTitle(qs(form_->caption())); }

void FormWindow::applyGeometry() {
    QSize client(form_->clientWidth(), form_->clientHeight());
    if (form_->borderStyle == BorderStyle::Sizeable)
        resize(client);
    else
        setFixedSize(client);
    if (placed_ && form_->position == FormPosition::Designed && !moving_)
        move(form_->bounds().left, form_->bounds().top);
}

void FormWindow::applyColor() {
    if (form_->color() == Color::None)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(form_->color()));
    setPalette(pal);
    setAutoFillBackground(true);
}

void FormWindow::place() {
    if (placed_)
        return;
    placed_ = true;
    if (form_->position == FormPosition::ScreenCenter) {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen) {
            QRect area = screen->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    } else {
        move(form_->bounds().left, form_->bounds().top);
    }
}

void FormWindow::syncVisible() {
    if (!form_)
        return;
    if (form_->visible() == isVisible())
        return;
    if (form_->visible()) {
        bindControls();
        place();
        if (form_->maximized)
            showMaximized();
        else
            show();
        raise();
        activateWindow();
    } else {
        hide();
    }
}

void FormWindow::setModal(bool modal) {
    // Modality can change only while the window is hidden.
    bool shown = isVisible();
    if (shown)
        hide();
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    if (shown)
        show();
}

int FormWindow::hintPause() const {
    if (form_)
        for (Control* c : form_->controls())
            if (c->kind() == ControlKind::BalloonHints)
                return static_cast<BalloonHints*>(c)->hintPause;
    return 500;
}

bool FormWindow::previewKey(QKeyEvent& e) {
    if (!form_)
        return false;
    int key = virtualKey(e);
    if (key == 0)
        return false;
    if (form_->keyPreview && form_->onKeyDown) {
        bool consumed = false;
        Form* f = form_;
        dispatch([&] { consumed = f->keyDown(key); });
        if (consumed)
            return true;
    }
    if (!form_)
        return true; // the handler closed the form for good
    // Enter presses the default button and ESC the cancel button, unless the focus is in a
    // multi-line text that wants the key.
    QWidget* focus = QApplication::focusWidget();
    // Enter on a button presses that button, as Space does.
    if (key == VK_RETURN)
        if (auto* button = qobject_cast<QPushButton*>(focus); button && button->window() == this && button->isEnabled()) {
            button->click();
            return true;
        }
    bool wantsReturn = qobject_cast<QPlainTextEdit*>(focus) != nullptr;
    if ((key == VK_RETURN && !wantsReturn) || key == VK_ESCAPE) {
        for (Control* c : form_->controls()) {
            if (c->kind() != ControlKind::Button || !c->enabled() || !c->visible())
                continue;
            auto* b = static_cast<Button*>(c);
            if ((key == VK_RETURN && b->isDefault) || (key == VK_ESCAPE && b->isCancel)) {
                dispatch([b] { b->click(); });
                return true;
            }
        }
    }
    return false;
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // The close box is one more way of closing: the form decides, and hiding follows from it.
    e->ignore();
    if (Form* f = form_)
        dispatch([f] { f->close(); });
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // The user sizes a sizeable window: the form learns its new client area.
    if (!form_ || moving_ || !isVisible() || form_->borderStyle != BorderStyle::Sizeable)
        return;
    if (menuBar_)
        menuBar_->setGeometry(0, 0, width(), menuBar_->sizeHint().height());
    if (form_->clientWidth() == width() && form_->clientHeight() == height())
        return;
    moving_ = true;
    form_->setClientSize(width(), height());
    moving_ = false;
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (!form_ || !isVisible())
        return;
    Rect r = form_->bounds();
    QPoint p = pos();
    if (r.left == p.x() && r.top == p.y())
        return;
    r.left = p.x();
    r.top = p.y();
    moving_ = true;
    form_->setBounds(r);
    moving_ = false;
}

} // namespace qtui
