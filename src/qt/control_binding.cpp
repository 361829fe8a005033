#include "qt/control_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <map>

#include "qt/chart_binding.h"
#include "qt/check_list_binding.h"
#include "qt/control_widgets.h"
#include "qt/list_view_binding.h"
#include "qt/page_control_binding.h"
#include "qt/switch_grid_binding.h"
#include "qt/qt_text.h"
#include "qt/tree_view_binding.h"
#include "platform/platform.h"
#include "toolkit/chart.h"
#include "toolkit/combo_box.h"
#include "toolkit/form.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

namespace {

// The system's labels show "&" as the mark of the next letter, and "&&" as one "&".
QString withoutAccelerator(const std::string& s) {
    QString out;
    QString in = qs(s);
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '&' && i + 1 < in.size()) {
            ++i;
        }
        out += in[i];
    }
    return out;
}

// What assistive tools call a control: its caption, else the first line of its hint.
QString accessibleNameOf(const Control& c) {
    if (!c.caption().empty())
        return withoutAccelerator(c.caption());
    const std::string& hint = c.hint();
    return qs(hint.substr(0, hint.find_first_of("\r\n")));
}

} // namespace

ControlBinding::ControlBinding(Control& c, QWidget* widget) : control_(c), widget_(widget) {
    widget->setObjectName(qs(c.name()));
    installAccessibleWidgets();
    listener_ = c.subscribe([this](Control&, Property p) {
        if (!widget_)
            return;
        applyCommon(p);
        apply(p);
    });
}

ControlBinding::~ControlBinding() {
    control_.unsubscribe(listener_);
    if (widget_) {
        widget_->hide();
        widget_->deleteLater();
    }
}

void ControlBinding::refresh() {
    for (Property p : {Property::Hint, Property::Enabled, Property::Visible, Property::Bounds, Property::Cursor,
                       Property::Font, Property::Color, Property::Caption, Property::Checked, Property::Text,
                       Property::ReadOnly, Property::Lines, Property::Picture, Property::Range, Property::Position,
                       Property::Panels, Property::Columns, Property::Rows, Property::Selection, Property::Style,
                       Property::Page, Property::Other}) {
        applyCommon(p);
        apply(p);
    }
}

void ControlBinding::applyCommon(Property p) {
    QWidget* w = widget_;
    switch (p) {
    case Property::Caption: w->setAccessibleName(accessibleNameOf(control_)); break;
    case Property::Hint:
        w->setToolTip(qs(control_.hint()));
        w->setAccessibleName(accessibleNameOf(control_));
        break;
    case Property::Enabled: w->setEnabled(control_.enabled()); break;
    case Property::Visible: w->setVisible(control_.visible()); break;
    case Property::Bounds: {
        const Rect& r = control_.bounds();
        w->setGeometry(r.left, r.top, r.width, r.height);
        break;
    }
    case Property::Cursor:
        switch (control_.cursor()) {
        case Cursor::Hand: w->setCursor(Qt::PointingHandCursor); break;
        case Cursor::Hourglass: w->setCursor(Qt::WaitCursor); break;
        case Cursor::Default: w->unsetCursor(); break;
        }
        break;
    case Property::Font: {
        const Font& f = control_.font();
        QFont qf = w->font();
        qf.setBold(f.bold);
        qf.setUnderline(f.underline);
        if (f.pointSize > 0)
            qf.setPointSize(f.pointSize);
        w->setFont(qf);
        if (f.color != Color::None) {
            QPalette pal = w->palette();
            for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                pal.setColor(role, QColor::fromRgb(f.color));
            w->setPalette(pal);
        }
        break;
    }
    case Property::Color:
        if (control_.color() != Color::None) {
            QPalette pal = w->palette();
            for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
                pal.setColor(role, QColor::fromRgb(control_.color()));
            w->setPalette(pal);
            w->setAutoFillBackground(true);
        }
        break;
    default: break;
    }
}

namespace {

class LabelBinding : public ControlBinding {
public:
    LabelBinding(Control& c, ClickLabel* w) : ControlBinding(c, w), label_(w) {
        w->setPressable(bool(c.onClick));
        w->setTextFormat(Qt::PlainText);
        w->setWordWrap(false);
        connect(w, &ClickLabel::clicked, this, [this] { dispatch([this] { control_.click(); }); });
        connect(w, &ClickLabel::doubleClicked, this, [this] { dispatch([this] { control_.dblClick(); }); });
    }
    void apply(Property p) override {
        if (p == Property::Caption)
            label_->setText(withoutAccelerator(control_.caption()));
    }
    ClickLabel* label_;
};

class PanelBinding : public ControlBinding {
public:
    PanelBinding(Control& c, QLabel* w) : ControlBinding(c, w), label_(w) {
        w->setTextFormat(Qt::PlainText);
        w->setAlignment(Qt::AlignCenter);
        if (c.kind() == ControlKind::Separator) {
            w->setFrameShadow(QFrame::Sunken);
        } else {
            w->setFrameShape(QFrame::Panel);
            w->setFrameShadow(QFrame::Raised);
        }
    }
    void apply(Property p) override {
        if (p == Property::Caption)
            label_->setText(withoutAccelerator(control_.caption()));
        // A separator is a line along its longer side.
        if (p == Property::Bounds && control_.kind() == ControlKind::Separator)
            label_->setFrameShape(control_.bounds().width >= control_.bounds().height ? QFrame::HLine : QFrame::VLine);
    }
    QLabel* label_;
};

class PictureBinding : public ControlBinding {
public:
    PictureBinding(Picture& c, PictureWidget* w) : ControlBinding(c, w), picture_(c), view_(w) {
        w->setPressable(bool(c.onClick));
        connect(w, &PictureWidget::clicked, this, [this] { dispatch([this] { control_.click(); }); });
        connect(w, &PictureWidget::doubleClicked, this, [this] { dispatch([this] { control_.dblClick(); }); });
    }
    void apply(Property p) override {
        if (p == Property::Picture)
            view_->setImage(picture_.image());
    }
    Picture& picture_;
    PictureWidget* view_;
};

class ButtonBinding : public ControlBinding {
public:
    ButtonBinding(Control& c, QPushButton* w) : ControlBinding(c, w), button_(w) {
        w->setAutoDefault(false);
        connect(w, &QPushButton::clicked, this, [this] { dispatch([this] { control_.click(); }); });
    }
    void apply(Property p) override {
        if (p == Property::Caption)
            button_->setText(qs(control_.caption()));
    }
    QPushButton* button_;
};

class CheckBoxBinding : public ControlBinding {
public:
    CheckBoxBinding(CheckBox& c, QCheckBox* w) : ControlBinding(c, w), check_(c), box_(w) {
        // The user's click toggles the model, which fires its click event once.
        connect(w, &QCheckBox::clicked, this, [this] {
            dispatch([this] { check_.click(); });
            if (box_)
                box_->setChecked(check_.checked());
        });
    }
    void apply(Property p) override {
        if (p == Property::Caption)
            box_->setText(qs(control_.caption()));
        if (p == Property::Checked && box_->isChecked() != check_.checked())
            box_->setChecked(check_.checked());
    }
    CheckBox& check_;
    QPointer<QCheckBox> box_;
};

class EditBinding : public ControlBinding {
public:
    EditBinding(Edit& c, QLineEdit* w) : ControlBinding(c, w), edit_(c), line_(w) {
        connect(w, &QLineEdit::textEdited, this, [this](const QString& text) {
            dispatch([&] { edit_.setText(us(text)); });
            // The model may change what was typed (upper case): show what it holds.
            if (line_ && line_->text() != qs(edit_.text())) {
                int pos = line_->cursorPosition();
                line_->setText(qs(edit_.text()));
                line_->setCursorPosition(pos);
            }
        });
        w->installEventFilter(this);
    }
    void apply(Property p) override {
        if (p == Property::Text && line_->text() != qs(edit_.text()))
            line_->setText(qs(edit_.text()));
        if (p == Property::ReadOnly)
            line_->setReadOnly(edit_.readOnly());
        if (p == Property::Style) {
            line_->setFrame(edit_.border());
            line_->setEchoMode(edit_.passwordChar() ? QLineEdit::Password : QLineEdit::Normal);
        }
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == line_ && e->type() == QEvent::KeyPress && edit_.onKeyDown) {
            int key = virtualKey(*static_cast<QKeyEvent*>(e));
            if (key != 0) {
                dispatch([&] { edit_.onKeyDown(key); });
                if (key == 0)
                    return true; // the handler swallowed it
            }
        }
        return false;
    }
    Edit& edit_;
    QPointer<QLineEdit> line_;
};

// An editable drop-down: choosing an entry, or Enter in the text, is the model's click.
class ComboBoxBinding : public ControlBinding {
public:
    ComboBoxBinding(ComboBox& c, QComboBox* w) : ControlBinding(c, w), combo_(c), box_(w) {
        w->setEditable(true);
        w->setInsertPolicy(QComboBox::NoInsert);
        w->setMaxVisibleItems(20);
        connect(w, qOverload<int>(&QComboBox::activated), this, [this](int index) {
            if (!applying_)
                dispatch([this, index] { combo_.userChoose(index); });
        });
        connect(w->lineEdit(), &QLineEdit::textEdited, this,
                [this](const QString& text) { dispatch([this, text] { combo_.userType(us(text)); }); });
        connect(w->lineEdit(), &QLineEdit::returnPressed, this, [this] {
            // An entry that reads as the text is chosen by the box itself (activated).
            if (box_ && box_->findText(box_->currentText(), Qt::MatchExactly) < 0)
                dispatch([this] { combo_.userEnter(); });
        });
    }
    void apply(Property p) override {
        applying_ = true;
        if (p == Property::Items) {
            QSignalBlocker block(box_);
            box_->clear();
            for (const ComboItem& i : combo_.items())
                box_->addItem(qs(i.text));
            box_->setCurrentIndex(combo_.itemIndex());
        }
        if (p == Property::Items || p == Property::Selection) {
            QSignalBlocker block(box_);
            if (box_->currentIndex() != combo_.itemIndex())
                box_->setCurrentIndex(combo_.itemIndex());
        }
        if (p == Property::Items || p == Property::Text || p == Property::Selection)
            if (box_->currentText() != qs(combo_.text()))
                box_->setEditText(qs(combo_.text()));
        if (p == Property::Selection)
            box_->lineEdit()->selectAll();
        applying_ = false;
    }
    ComboBox& combo_;
    QPointer<QComboBox> box_;
    bool applying_ = false;
};

class MemoBinding : public ControlBinding {
public:
    MemoBinding(Memo& c, QPlainTextEdit* w) : ControlBinding(c, w), memo_(c), text_(w) {
        connect(w, &QPlainTextEdit::textChanged, this, [this] {
            if (applying_ || !text_)
                return;
            typing_ = true;
            dispatch([this] { memo_.setText(us(text_->toPlainText())); });
            typing_ = false;
        });
    }
    void apply(Property p) override {
        if (p == Property::Lines && !typing_) {
            QStringList lines;
            for (const std::string& l : memo_.lines())
                lines << qs(l);
            QString text = lines.join('\n');
            if (text_->toPlainText() != text) {
                applying_ = true;
                text_->setPlainText(text);
                applying_ = false;
            }
        }
        if (p == Property::ReadOnly)
            text_->setReadOnly(memo_.readOnly());
        if (p == Property::Style) {
            text_->setFrameShape(memo_.border() ? QFrame::StyledPanel : QFrame::NoFrame);
            text_->setLineWrapMode(memo_.wordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
            // Without a border the text sits on the window, as the system draws it.
            text_->viewport()->setAutoFillBackground(memo_.border());
            QString sheet = memo_.border() ? QString() : QString("QPlainTextEdit { background: transparent; }");
            if (text_->styleSheet() != sheet)
                text_->setStyleSheet(sheet);
        }
    }
    Memo& memo_;
    QPointer<QPlainTextEdit> text_;
    bool applying_ = false, typing_ = false;
};

class StatusBarBinding : public ControlBinding {
public:
    StatusBarBinding(StatusBar& c, StatusBarWidget* w) : ControlBinding(c, w), bar_(c), view_(w) {}
    void apply(Property p) override {
        if (p == Property::Panels) {
            std::vector<std::pair<QString, int>> panels;
            for (const StatusPanel& s : bar_.panels())
                panels.emplace_back(qs(s.text), s.width);
            view_->setPanels(panels);
            view_->setSimpleText(bar_.simplePanel() ? qs(bar_.simpleText()) : QString());
        }
        if (p == Property::Bounds) {
            // A bar without bounds sits along the bottom of its window, as the system aligns it.
            Rect r = bar_.bounds();
            QWidget* parent = view_->parentWidget();
            if (r.width <= 0 && parent)
                view_->setGeometry(0, parent->height() - 22, parent->width(), 22);
        }
    }
    StatusBar& bar_;
    StatusBarWidget* view_;
};

class ProgressBinding : public ControlBinding {
public:
    ProgressBinding(ProgressBar& c, QProgressBar* w) : ControlBinding(c, w), bar_(c), view_(w) {
        w->setTextVisible(false);
    }
    void apply(Property p) override {
        if (p == Property::Range || p == Property::Position) {
            view_->setRange(bar_.min(), bar_.max());
            view_->setValue(bar_.position());
        }
    }
    ProgressBar& bar_;
    QProgressBar* view_;
};

class HtmlViewBinding : public ControlBinding {
public:
    HtmlViewBinding(HtmlView& c, QTextBrowser* w) : ControlBinding(c, w), view_(c), browser_(w) {
        // Links in a page lead nowhere inside the view: it shows one page at a time.
        w->setOpenLinks(false);
        w->setOpenExternalLinks(false);
    }
    void apply(Property p) override {
        if (p != Property::Page || shown_ == view_.showings())
            return;
        shown_ = view_.showings();
        if (!view_.location().empty()) {
            QUrl url = QUrl::fromLocalFile(qs(platform::toNative(view_.location())));
            // The same address again is a rewritten file: read it anew.
            if (browser_->source() == url)
                browser_->reload();
            else
                browser_->setSource(url, QTextDocument::HtmlResource);
        } else {
            browser_->setSource(QUrl());
            browser_->setHtml(qs(view_.html()));
        }
    }
    HtmlView& view_;
    QTextBrowser* browser_;
    unsigned shown_ = 0;
};

std::map<std::pair<std::string, std::string>, CustomFactory>& customFactories() {
    static std::map<std::pair<std::string, std::string>, CustomFactory> table;
    return table;
}

template <class B, class W, class C>
std::unique_ptr<ControlBinding> make(Control& c, QWidget* parent) {
    auto b = std::make_unique<B>(static_cast<C&>(c), new W(parent));
    return b;
}

} // namespace

void registerCustomWidget(const std::string& formName, const std::string& controlName, CustomFactory f) {
    customFactories()[{formName, controlName}] = std::move(f);
}

std::unique_ptr<ControlBinding> bindControl(Control& c, QWidget* parent) {
    std::unique_ptr<ControlBinding> b;
    if (c.owner()) {
        auto it = customFactories().find({c.owner()->name(), c.name()});
        if (it != customFactories().end())
            b = it->second(c, parent);
    }
    if (!b) {
        switch (c.kind()) {
        case ControlKind::Label: b = make<LabelBinding, ClickLabel, Control>(c, parent); break;
        case ControlKind::Picture: b = make<PictureBinding, PictureWidget, Picture>(c, parent); break;
        case ControlKind::Button: b = make<ButtonBinding, QPushButton, Control>(c, parent); break;
        case ControlKind::CheckBox: b = make<CheckBoxBinding, QCheckBox, CheckBox>(c, parent); break;
        case ControlKind::Edit: b = make<EditBinding, QLineEdit, Edit>(c, parent); break;
        case ControlKind::Memo: b = make<MemoBinding, QPlainTextEdit, Memo>(c, parent); break;
        case ControlKind::ComboBox: b = make<ComboBoxBinding, QComboBox, ComboBox>(c, parent); break;
        case ControlKind::StatusBar: b = make<StatusBarBinding, StatusBarWidget, StatusBar>(c, parent); break;
        case ControlKind::ProgressBar: b = make<ProgressBinding, QProgressBar, ProgressBar>(c, parent); break;
        case ControlKind::Panel:
        case ControlKind::Separator: b = make<PanelBinding, QLabel, Control>(c, parent); break;
        case ControlKind::ListView: b = bindListView(static_cast<ListView&>(c), parent); break;
        case ControlKind::TreeView: b = bindTreeView(static_cast<TreeView&>(c), parent); break;
        case ControlKind::HtmlView: b = make<HtmlViewBinding, QTextBrowser, HtmlView>(c, parent); break;
        case ControlKind::CheckList: b = bindCheckList(static_cast<CheckList&>(c), parent); break;
        case ControlKind::PageControl: b = bindPageControl(static_cast<PageControl&>(c), parent); break;
        case ControlKind::TabSheet: b = bindTabSheet(static_cast<TabSheet&>(c), parent); break;
        case ControlKind::SwitchGrid: b = bindSwitchGrid(static_cast<SwitchGrid&>(c), parent); break;
        case ControlKind::Chart: b = bindChart(static_cast<Chart&>(c), parent); break;
        case ControlKind::PaintBox: b = bindPaintBox(c, parent); break;
        case ControlKind::SpinEdit: b = bindSpinEdit(c, parent); break;
        default: return nullptr; // non-visual, or a kind nobody draws yet
        }
    }
    b->refresh();
    return b;
}

} // namespace qtui
