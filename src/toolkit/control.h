#pragma once
// Control models: plain objects holding the state of one control and its events.
// A front end shows them (src/qt binds each to the widget of the same name); tests drive
// them directly. Setting a property notifies the control's listeners, so a view follows.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/listeners.h"

namespace toolkit {

class Form;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool contains(Point p) const {
        return p.x >= left && p.x < left + width && p.y >= top && p.y < top + height;
    }
    bool operator==(const Rect&) const = default;
};

enum class Cursor { Default, Hourglass, Hand };
enum class Alignment { Left, Right, Center };

// Colours as 0x00RRGGBB; Color::None leaves the front end's default.
struct Color {
    static constexpr std::uint32_t None = 0xFF000000u;
    static constexpr std::uint32_t White = 0xFFFFFF;
    static constexpr std::uint32_t Black = 0x000000;
    static constexpr std::uint32_t Navy = 0x000080;
    static constexpr std::uint32_t Red = 0xFF0000;
    static constexpr std::uint32_t Blue = 0x0000FF;
    static constexpr std::uint32_t Gray = 0x808080;
};

struct Font {
    std::uint32_t color = Color::None;
    bool bold = false;
    int pointSize = 0; // 0: the front end's default
    bool underline = false;
    bool operator==(const Font&) const = default;
};

enum class ControlKind {
    Label,
    Picture,
    Button,
    CheckBox,
    Edit,
    Memo,
    ListView,
    StatusBar,
    ProgressBar,
    Panel,
    Separator,
    TreeView,
    PopupMenu,
    MenuItem,
    BalloonHints,
    HtmlView,
    ComboBox,
    CheckList,
    PageControl,
    TabSheet,
    SwitchGrid,
    Custom, // drawn by a front-end piece of its own (charts, trees of later windows)
    Chart,
    PaintBox,
    SpinEdit,
    FileDialog,
};

// Which property changed, for views. Style covers the looks a control has besides its
// text (a border, word wrap, check boxes, multiple selection ...). Fields a view does not
// show but reads when it acts (a button's modal result, a list's popup menu, a menu
// item's shortcut) are plain members.
enum class Property {
    Caption, Hint, Enabled, Visible, Bounds, Cursor, Font, Color, Tag,
    Checked, Text, ReadOnly, Lines, Picture, Position, Range, Panels,
    Columns, Rows, Selection, ScrollTo, Style, Items, Page, Other,
};

// Non-visual kinds need no widget.
bool isVisual(ControlKind kind);

class Control {
public:
    using Listener = ListenerList<Control&, Property>::Listener;

    Control(Form* owner, std::string name, ControlKind kind);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    Form* owner() const { return owner_; }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& s);
    const std::string& hint() const { return hint_; }
    void setHint(const std::string& s);
    bool enabled() const { return enabled_; }
    void setEnabled(bool b);
    bool visible() const { return visible_; }
    void setVisible(bool b);
    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& r);
    void setBounds(int left, int top, int width, int height) { setBounds(Rect{left, top, width, height}); }
    Cursor cursor() const { return cursor_; }
    void setCursor(Cursor c);
    const Font& font() const { return font_; }
    void setFont(const Font& f);
    std::uint32_t color() const { return color_; }
    void setColor(std::uint32_t c);
    int tag() const { return tag_; }
    void setTag(int t) { tag_ = t; }
    // The control this one sits in (a panel or a page), by name; empty: the form itself.
    const std::string& parentName() const { return parent_; }
    void setParentName(const std::string& p) { parent_ = p; }

    // Click event, run by the user's click and by a programmatic press alike.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    virtual void click();
    void dblClick() {
        if (onDblClick) onDblClick();
    }

    int subscribe(Listener l);
    void unsubscribe(int id);

protected:
    void changed(Property p);
    // Stores a property and tells the views, unless it holds that value already.
    template <class T, class V>
    void set(T& field, const V& value, Property p) {
        if (field == value)
            return;
        field = value;
        changed(p);
    }

private:
    Form* owner_;
    std::string name_;
    ControlKind kind_;
    std::string caption_, hint_, parent_;
    bool enabled_ = true;
    bool visible_ = true;
    Rect bounds_;
    Cursor cursor_ = Cursor::Default;
    Font font_;
    std::uint32_t color_ = Color::None;
    int tag_ = 0;
    ListenerList<Control&, Property> listeners_;
};

class Label : public Control {
public:
    Label(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::Label) {}
};

// A picture; the image is named by a key the front end draws or loads.
class Picture : public Control {
public:
    Picture(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::Picture) {}
    const std::string& image() const { return image_; }
    void setImage(const std::string& key);
    bool stretch() const { return stretch_; }
    void setStretch(bool b) { set(stretch_, b, Property::Picture); }

private:
    std::string image_;
    bool stretch_ = false;
};

enum ModalResult : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7, mrClose = 8,
};

class Button : public Control {
public:
    Button(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::Button) {}
    // A button with a modal result ends its form's modal run after its click handler.
    int modalResult = mrNone;
    bool isDefault = false;
    bool isCancel = false;
    void click() override;
};

// Setting the state from code fires the click event when the state changes.
class CheckBox : public Control {
public:
    CheckBox(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::CheckBox) {}
    bool checked() const { return checked_; }
    void setChecked(bool b);
    // The user's click toggles the state (and so fires the click event once).
    void click() override { setChecked(!checked_); }

private:
    bool checked_ = false;
};

class Edit : public Control {
public:
    Edit(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::Edit) {}
    const std::string& text() const { return text_; }
    void setText(const std::string& s);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool b);
    bool upperCase = false; // typed letters become upper case (applied by setText)
    bool border() const { return border_; }
    void setBorder(bool b) { set(border_, b, Property::Style); }
    // Shown for each character instead of the text (a password field); 0: the text itself.
    char passwordChar() const { return passwordChar_; }
    void setPasswordChar(char c) { set(passwordChar_, c, Property::Style); }
    std::function<void()> onChange;
    // Key code (the system's virtual-key numbering); the handler may set it to 0.
    std::function<void(int& key)> onKeyDown;

private:
    std::string text_;
    bool readOnly_ = false;
    bool border_ = true;
    char passwordChar_ = 0;
};

class Memo : public Control {
public:
    Memo(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::Memo) {}
    const std::vector<std::string>& lines() const { return lines_; }
    void setLines(std::vector<std::string> lines);
    void addLine(const std::string& line);
    void clear() { setLines({}); }
    // The whole text: the lines joined by CR LF; setting it splits at CR LF, LF or CR.
    std::string text() const;
    void setText(const std::string& s);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool b);
    bool border() const { return border_; }
    void setBorder(bool b) { set(border_, b, Property::Style); }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool b) { set(wordWrap_, b, Property::Style); }

private:
    std::vector<std::string> lines_;
    bool readOnly_ = false;
    bool border_ = true;
    bool wordWrap_ = true;
};

struct StatusPanel {
    std::string text;
    int width = 100;
};

class StatusBar : public Control {
public:
    StatusBar(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::StatusBar) {}
    const std::vector<StatusPanel>& panels() const { return panels_; }
    void setPanels(std::vector<StatusPanel> p);
    const std::string& panelText(size_t i) const;
    void setPanelText(size_t i, const std::string& text);
    // One text across the whole bar instead of the panels.
    bool simplePanel() const { return simple_; }
    void setSimplePanel(bool b);
    const std::string& simpleText() const { return simpleText_; }
    void setSimpleText(const std::string& s);

private:
    std::vector<StatusPanel> panels_;
    bool simple_ = false;
    std::string simpleText_;
};

class ProgressBar : public Control {
public:
    ProgressBar(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::ProgressBar) {}
    int min() const { return min_; }
    int max() const { return max_; }
    int position() const { return position_; }
    void setRange(int min, int max);
    // Kept within the range, as the classic control does.
    void setPosition(int p);
    void stepBy(int delta) { setPosition(position_ + delta); }

private:
    int min_ = 0, max_ = 100, position_ = 0;
};

// A container or a frame; drawn, holds nothing but other controls' parent name.
class Panel : public Control {
public:
    Panel(Form* owner, std::string name, ControlKind kind = ControlKind::Panel)
        : Control(owner, std::move(name), kind) {}
};

// Hints shown as balloons after a pause.
class BalloonHints : public Control {
public:
    BalloonHints(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::BalloonHints) {}
    int hintPause = 500; // ms
};

// An embedded HTML view: shows a local file by its full path, or a page held in memory.
class HtmlView : public Control {
public:
    HtmlView(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::HtmlView) {}
    // Shows the file at `path` (a drive path), read anew each time, also when it is the
    // file already shown: it may have been rewritten since.
    void navigate(const std::string& path);
    // Shows `html` itself.
    void showHtml(const std::string& html);
    // The file shown; empty while a page from memory (or nothing) is shown.
    const std::string& location() const { return location_; }
    // The page shown from memory; empty while a file (or nothing) is shown.
    const std::string& html() const { return html_; }
    // How many pages were shown, so a view can tell a new showing of the same file.
    unsigned showings() const { return showings_; }

private:
    std::string location_, html_;
    unsigned showings_ = 0;
};

} // namespace toolkit
