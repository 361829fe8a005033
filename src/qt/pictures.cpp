#include "qt/pictures.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <map>

#include "platform/shell_namespace.h"
#include "qt/qt_text.h"

namespace qtui {

namespace {

using Painter = std::function<void(QPainter&, const QRectF&)>;

void banner(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, QColor(0x10, 0x3a, 0x8c));
    g.setColorAt(1, QColor(0x3f, 0x8f, 0xe0));
    p.fillRect(r, g);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(255, 255, 255, 18 + 8 * i));
        double d = r.height() * (1.6 - 0.3 * i);
        p.drawEllipse(QPointF(r.right() - r.height() * (0.8 + 0.9 * i), r.center().y()), d / 2, d / 2);
    }
}

void background(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0xf4, 0xf8, 0xff));
    g.setColorAt(1, QColor(0xdc, 0xe8, 0xf8));
    p.fillRect(r, g);
}

// A launcher: a rounded tile in the launcher's colour, its symbol, and its name below.
void tile(QPainter& p, const QRectF& r, QColor colour, const char* name,
          const std::function<void(QPainter&, const QRectF&)>& symbol) {
    QRectF box = r.adjusted(4, 4, -4, -4);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, colour.lighter(135));
    g.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(130), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(box, 12, 12);
    double s = std::min(box.width(), box.height() - 24) * 0.62;
    QRectF icon(box.center().x() - s / 2, box.top() + 8, s, s);
    p.save();
    p.setPen(QPen(Qt::white, std::max(2.0, s / 14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    symbol(p, icon);
    p.restore();
    QFont f = p.font();
    f.setBold(true);
    f.setPointSizeF(10.5);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(box.left(), box.bottom() - 26, box.width(), 22), Qt::AlignCenter, qs(name));
}

void trashCan(QPainter& p, const QRectF& r) {
    double w = r.width();
    p.drawLine(QPointF(r.left() + w * 0.15, r.top() + w * 0.2), QPointF(r.right() - w * 0.15, r.top() + w * 0.2));
    p.drawLine(QPointF(r.left() + w * 0.4, r.top() + w * 0.1), QPointF(r.right() - w * 0.4, r.top() + w * 0.1));
    QPainterPath body;
    body.moveTo(r.left() + w * 0.22, r.top() + w * 0.28);
    body.lineTo(r.left() + w * 0.3, r.bottom() - w * 0.05);
    body.lineTo(r.right() - w * 0.3, r.bottom() - w * 0.05);
    body.lineTo(r.right() - w * 0.22, r.top() + w * 0.28);
    p.drawPath(body);
    for (double x : {0.42, 0.58})
        p.drawLine(QPointF(r.left() + w * x, r.top() + w * 0.4), QPointF(r.left() + w * x, r.bottom() - w * 0.17));
}

void pie(QPainter& p, const QRectF& r) {
    QRectF c = r.adjusted(r.width() * 0.1, r.width() * 0.1, -r.width() * 0.1, -r.width() * 0.1);
    p.drawEllipse(c);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawPie(c.adjusted(-3, -3, 3, 3).translated(3, -3), 0, 100 * 16);
}

void gear(QPainter& p, const QRectF& r) {
    QPointF c = r.center();
    double outer = r.width() * 0.42, inner = r.width() * 0.3;
    QPainterPath path;
    for (int i = 0; i < 16; ++i) {
        double a0 = i * M_PI / 8, a1 = (i + 1) * M_PI / 8;
        double rad = i % 2 ? inner : outer;
        QPointF p0 = c + QPointF(std::cos(a0) * rad, std::sin(a0) * rad);
        QPointF p1 = c + QPointF(std::cos(a1) * rad, std::sin(a1) * rad);
        if (i == 0)
            path.moveTo(p0);
        else
            path.lineTo(p0);
        path.lineTo(p1);
    }
    path.closeSubpath();
    p.drawPath(path);
    p.drawEllipse(c, r.width() * 0.12, r.width() * 0.12);
}

void shield(QPainter& p, const QRectF& r) {
    double w = r.width();
    QPainterPath path;
    path.moveTo(r.center().x(), r.top() + w * 0.05);
    path.lineTo(r.right() - w * 0.15, r.top() + w * 0.2);
    path.cubicTo(r.right() - w * 0.15, r.top() + w * 0.6, r.center().x() + w * 0.2, r.bottom() - w * 0.15,
                 r.center().x(), r.bottom() - w * 0.05);
    path.cubicTo(r.center().x() - w * 0.2, r.bottom() - w * 0.15, r.left() + w * 0.15, r.top() + w * 0.6,
                 r.left() + w * 0.15, r.top() + w * 0.2);
    path.closeSubpath();
    p.drawPath(path);
    p.drawLine(QPointF(r.left() + w * 0.35, r.center().y()), QPointF(r.center().x() - w * 0.03, r.center().y() + w * 0.15));
    p.drawLine(QPointF(r.center().x() - w * 0.03, r.center().y() + w * 0.15), QPointF(r.right() - w * 0.32, r.center().y() - w * 0.12));
}

void bulb(QPainter& p, const QRectF& r) {
    double w = r.width();
    p.drawEllipse(QPointF(r.center().x(), r.top() + w * 0.38), w * 0.28, w * 0.28);
    p.drawLine(QPointF(r.center().x() - w * 0.12, r.top() + w * 0.72), QPointF(r.center().x() + w * 0.12, r.top() + w * 0.72));
    p.drawLine(QPointF(r.center().x() - w * 0.09, r.top() + w * 0.84), QPointF(r.center().x() + w * 0.09, r.top() + w * 0.84));
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(int(w * 0.36));
    p.setFont(f);
    p.drawText(QRectF(r.left(), r.top() + w * 0.12, w, w * 0.52), Qt::AlignCenter, "?");
}

void boxes(QPainter& p, const QRectF& r) {
    double w = r.width();
    p.drawRect(QRectF(r.left() + w * 0.12, r.top() + w * 0.12, w * 0.34, w * 0.34));
    p.drawRect(QRectF(r.left() + w * 0.54, r.top() + w * 0.12, w * 0.34, w * 0.34));
    p.drawRect(QRectF(r.left() + w * 0.12, r.top() + w * 0.54, w * 0.34, w * 0.34));
    p.drawLine(QPointF(r.left() + w * 0.58, r.top() + w * 0.71), QPointF(r.left() + w * 0.88, r.top() + w * 0.71));
}

void splash(QPainter& p, const QRectF& r) {
    p.fillRect(r, Qt::white);
    QRectF band(r.left(), r.top(), r.width(), r.height() * 0.62);
    QLinearGradient g(band.topLeft(), band.bottomRight());
    g.setColorAt(0, QColor(0x10, 0x3a, 0x8c));
    g.setColorAt(1, QColor(0x4a, 0xa0, 0xf0));
    p.fillRect(band, g);
    // A disk with a sweep through it.
    QPointF c(band.left() + band.height() * 0.55, band.center().y());
    double rad = band.height() * 0.34;
    QRadialGradient disk(c, rad);
    disk.setColorAt(0, QColor(0xe8, 0xf2, 0xff));
    disk.setColorAt(1, QColor(0x9c, 0xc4, 0xf0));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(disk);
    p.drawEllipse(c, rad, rad);
    p.setBrush(QColor(0x10, 0x3a, 0x8c));
    p.drawEllipse(c, rad * 0.16, rad * 0.16);
    p.setPen(QPen(QColor(0xff, 0xc4, 0x30), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - rad * 0.7, c.y() - rad * 0.7, rad * 1.4, rad * 1.4), 30 * 16, 120 * 16);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(int(band.height() * 0.15));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(c.x() + rad * 1.3, band.top(), band.right() - c.x() - rad * 1.3, band.height() * 0.6),
               Qt::AlignLeft | Qt::AlignBottom, "WindowsKestrane");
    f.setPixelSize(int(band.height() * 0.1));
    p.setFont(f);
    p.drawText(QRectF(c.x() + rad * 1.3, band.top() + band.height() * 0.6, band.right() - c.x() - rad * 1.3,
                      band.height() * 0.3),
               Qt::AlignLeft | Qt::AlignTop, qs("磁盘清理 2008"));
    p.setPen(QPen(QColor(0xc8, 0xd8, 0xf0), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

// The tip window's strip: grey, with a lit bulb near the top.
void tipsStrip(QPainter& p, const QRectF& r) {
    p.fillRect(r, QColor(0x80, 0x80, 0x80));
    double s = std::min(r.width() * 0.7, 48.0);
    QRectF icon(r.center().x() - s / 2, r.top() + 12, s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd8, 0x40));
    p.drawEllipse(QPointF(icon.center().x(), icon.top() + s * 0.38), s * 0.28, s * 0.28);
    p.setPen(QPen(Qt::white, std::max(2.0, s / 14), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    bulb(p, icon);
}

// The product picture, repeated over the whole about window: a pale disk on a soft blue.
void aboutBackground(QPainter& p, const QRectF& r) {
    const int side = 64;
    const double step = side;
    QImage tileImage(side, side, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter t(&tileImage);
        t.setRenderHint(QPainter::Antialiasing);
        t.fillRect(tileImage.rect(), QColor(0xee, 0xf4, 0xfc));
        t.setPen(QPen(QColor(0xdc, 0xe8, 0xf8), 2));
        t.setBrush(Qt::NoBrush);
        t.drawEllipse(QPointF(step / 2, step / 2), step * 0.3, step * 0.3);
        t.drawEllipse(QPointF(step / 2, step / 2), step * 0.06, step * 0.06);
    }
    p.fillRect(r, QBrush(tileImage));
}

// The update component's pictures: the download window's tall strip with a downward arrow,
// and the round icons of its question and of its credentials dialog.
void updateStrip(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x1f, 0x6f, 0xd0));
    g.setColorAt(1, QColor(0x10, 0x3a, 0x8c));
    p.fillRect(r, g);
    const double w = r.width() * 0.5;
    const QPointF c(r.center().x(), r.top() + r.height() * 0.35);
    QPolygonF arrow;
    arrow << QPointF(c.x() - w * 0.2, c.y() - w * 0.6) << QPointF(c.x() + w * 0.2, c.y() - w * 0.6)
          << QPointF(c.x() + w * 0.2, c.y()) << QPointF(c.x() + w * 0.5, c.y()) << QPointF(c.x(), c.y() + w * 0.5)
          << QPointF(c.x() - w * 0.5, c.y()) << QPointF(c.x() - w * 0.2, c.y());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xc4, 0x30));
    p.drawPolygon(arrow);
}

void roundIcon(QPainter& p, const QRectF& r, const QColor& colour, const QString& mark) {
    p.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(r.width(), r.height());
    const QRectF disk(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(disk);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(int(s * 0.7));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(disk, Qt::AlignCenter, mark);
}

const std::map<std::string, Painter>& painters() {
    static const std::map<std::string, Painter> table = {
        {"splash", splash},
        {"wizard.banner", banner},
        {"wizard.background", background},
        {"tips.strip", tipsStrip},
        {"about.background", aboutBackground},
        {"update.wizard", updateStrip},
        {"update.question", [](QPainter& p, const QRectF& r) { roundIcon(p, r, QColor(0x1f, 0x6f, 0xd0), "?"); }},
        {"update.key", [](QPainter& p, const QRectF& r) { roundIcon(p, r, QColor(0xd8, 0xa0, 0x10), "*"); }},
        {"wizard.clean", [](QPainter& p, const QRectF& r) { tile(p, r, QColor(0x2e, 0x9d, 0x4f), "垃圾清理", trashCan); }},
        {"wizard.diag", [](QPainter& p, const QRectF& r) { tile(p, r, QColor(0x1f, 0x6f, 0xd0), "磁盘分析", pie); }},
        {"wizard.option", [](QPainter& p, const QRectF& r) { tile(p, r, QColor(0x6b, 0x6f, 0x80), "高级配置", gear); }},
        {"wizard.wipe", [](QPainter& p, const QRectF& r) { tile(p, r, QColor(0xd0, 0x5a, 0x1f), "隐私擦除", shield); }},
        {"wizard.help", [](QPainter& p, const QRectF& r) { tile(p, r, QColor(0xd8, 0xa0, 0x10), "每日技巧", bulb); }},
        {"wizard.uninstall", [](QPainter& p, const QRectF& r) { tile(p, r, QColor(0x8a, 0x3f, 0xc0), "程序管理", boxes); }},
    };
    return table;
}

} // namespace

bool isKnownPicture(const std::string& key) { return painters().count(key) != 0; }

void drawPicture(QPainter& p, const QRect& r, const std::string& key) {
    if (key.empty())
        return;
    auto it = painters().find(key);
    if (it != painters().end()) {
        p.save();
        it->second(p, QRectF(r));
        p.restore();
        return;
    }
    QString path = qs(key);
    if (QFileInfo::exists(path)) {
        QImage img(path);
        if (!img.isNull())
            p.drawImage(r, img);
    }
}

QIcon systemImage(int index) {
    static std::map<int, QIcon> cache;
    auto it = cache.find(index);
    if (it != cache.end())
        return it->second;
    struct Theme {
        const char* name;
        QStyle::StandardPixmap fallback;
    };
    Theme t{"text-x-generic", QStyle::SP_FileIcon};
    switch (index) {
    case platform::SI_FOLDER: t = {"folder", QStyle::SP_DirIcon}; break;
    case platform::SI_FOLDER_OPEN: t = {"folder-open", QStyle::SP_DirOpenIcon}; break;
    case platform::SI_EXECUTABLE: t = {"application-x-executable", QStyle::SP_FileIcon}; break;
    case platform::SI_DRIVE_REMOVABLE: t = {"drive-removable-media", QStyle::SP_DriveFDIcon}; break;
    case platform::SI_DRIVE_FIXED: t = {"drive-harddisk", QStyle::SP_DriveHDIcon}; break;
    case platform::SI_DRIVE_REMOTE: t = {"folder-remote", QStyle::SP_DriveNetIcon}; break;
    case platform::SI_DRIVE_CDROM: t = {"media-optical", QStyle::SP_DriveCDIcon}; break;
    case platform::SI_DRIVE_RAM: t = {"drive-harddisk", QStyle::SP_DriveHDIcon}; break;
    case platform::SI_MY_COMPUTER: t = {"computer", QStyle::SP_ComputerIcon}; break;
    case platform::SI_DESKTOP: t = {"user-desktop", QStyle::SP_DesktopIcon}; break;
    default: break;
    }
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(t.name));
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(t.fallback);
    return cache[index] = icon;
}

} // namespace qtui
