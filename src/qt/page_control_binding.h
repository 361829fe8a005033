#pragma once
// A page control shown as a row of tabs over its pages. The pages are plain widgets
// placed by their models (the control model lays them out below the tabs and shows the
// active one), so a page sits exactly where its model says.
#include <QTabBar>
#include <QWidget>
#include <memory>

#include "qt/control_binding.h"
#include "toolkit/page_control.h"

namespace qtui {

std::unique_ptr<ControlBinding> bindPageControl(toolkit::PageControl& pages, QWidget* parent);
std::unique_ptr<ControlBinding> bindTabSheet(toolkit::TabSheet& sheet, QWidget* parent);

// The tab bar of a page control's widget, for tests; nullptr when `w` is no such widget.
QTabBar* tabBarOf(QWidget* w);

} // namespace qtui
