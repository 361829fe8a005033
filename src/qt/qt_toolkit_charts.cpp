// The Qt toolkit's printing and saving of charts, and its file dialog.
#include <QApplication>
#include <QFileDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>

#include "platform/platform.h"
#include "qt/chart_binding.h"
#include "qt/qt_text.h"
#include "qt/qt_toolkit.h"
#include "toolkit/chart.h"
#include "toolkit/file_dialog.h"

namespace qtui {

void QtToolkit::printChart(toolkit::Chart& chart) {
    QPrinter printer(QPrinter::HighResolution);
    if (!printToFile_.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(qs(printToFile_));
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        throw std::runtime_error("There is no default printer currently selected");
    }
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("Printing failed");
    QRect page(QPoint(0, 0), printer.pageLayout().fullRectPixels(printer.resolution()).size());
    QRect area = PrintArea(page, chart.printMargins);
    // Drawn at screen resolution, then scaled onto the page.
    double scale = 96.0 / printer.resolution();
    QImage image = RenderChart(chart, QSize(int(area.width() * scale), int(area.height() * scale)));
    painter.drawImage(area, image);
    painter.end();
}

void QtToolkit::saveChart(toolkit::Chart& chart, const std::string& fileName) { SaveChartImage(chart, fileName); }

bool QtToolkit::fileDialog(toolkit::OpenDialog& dialog, std::string& fileName) {
    QString chosen;
    if (!fileDialogAnswers.empty()) {
        chosen = qs(fileDialogAnswers.front());
        fileDialogAnswers.pop_front();
    } else {
        QFileDialog box(QApplication::activeWindow(), qs(dialog.title));
        QStringList filters;
        for (const toolkit::FileFilter& f : toolkit::ParseFileFilter(dialog.filter)) {
            QStringList patterns;
            for (const std::string& p : f.patterns)
                patterns << qs(p);
            filters << qs(f.name) + " (" + patterns.join(' ') + ")";
        }
        box.setNameFilters(filters);
        box.setFileMode(QFileDialog::AnyFile);
        // The chart is written to the name: a file there is replaced only when the user says so.
        box.setAcceptMode(QFileDialog::AcceptSave);
        box.setOption(QFileDialog::DontUseNativeDialog);
        if (!fileName.empty())
            box.selectFile(qs(platform::toNative(fileName)));
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
            return false;
        chosen = box.selectedFiles().first();
    }
    if (chosen.isEmpty())
        return false;
    fileName = platform::toDrivePath(us(chosen));
    return true;
}

} // namespace qtui
