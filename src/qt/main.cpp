// The program: Qt for the windows, the POSIX platform for the machine, then the system's
// own entry point.
#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "app/entry_point.h"
#include "platform/platform.h"
#include "platform/posix/posix_platform.h"
#include "qt/qt_toolkit.h"

namespace {
// The captions are Chinese: prefer a font that has the glyphs over the default's fallback.
void useCjkFont(QApplication& app) {
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC", "Source Han Sans SC",
                             "WenQuanYi Zen Hei", "AR PL UMing CN", "Droid Sans Fallback"}) {
        if (families.contains(QString::fromLatin1(name))) {
            QFont f(QString::fromLatin1(name));
            f.setPointSize(9);
            app.setFont(f);
            return;
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    useCjkFont(app);
    platform::posix::PosixPlatform machine(platform::posix::PosixPlatform::machineRootFromEnvironment());
    platform::install(machine.services());
    qtui::QtToolkit toolkit;
    return RunQuorCleaner();
}
