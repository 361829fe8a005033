#pragma once
// One QApplication for the whole test program (offscreen), and a Qt toolkit per test.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "qt/form_window.h"
#include "qt/qt_toolkit.h"

namespace qttest {

// Made on first use; goes when the tests end, before the program's static objects do.
QApplication& app();

// Runs `fn` once the next event loop (a modal run, a message box) is under way.
inline void soon(std::function<void()> fn, int ms = 0) { QTimer::singleShot(ms, &app(), std::move(fn)); }

} // namespace qttest
