#pragma once
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

// A menu entry; caption "-" is a separator. The click event runs the command.
class MenuItem : public Control {
public:
    MenuItem(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::MenuItem) {}
    // "Ctrl+O", "F5", ...: works while the form is active.
    std::string shortcut;
    bool checked = false;
    bool isSeparator() const { return caption() == "-"; }
    std::vector<MenuItem*> items; // a submenu
};

class PopupMenu : public Control {
public:
    PopupMenu(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::PopupMenu) {}
    std::vector<MenuItem*> items;
    // Shows the menu at a screen position through the toolkit.
    void popup(Point screen);
    std::function<void()> onPopup;
};

} // namespace toolkit
