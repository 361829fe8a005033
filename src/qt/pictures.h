#pragma once
// The program's pictures, drawn rather than shipped: a picture control names its image by a
// key ("splash", "wizard.clean", ...). A key that is a path to an image file shows that file.
#include <QIcon>
#include <QRect>
#include <string>

class QPainter;

namespace qtui {

// Draws the picture of `key` into `r`; nothing for an unknown key.
void drawPicture(QPainter& p, const QRect& r, const std::string& key);
// Whether `key` names a picture drawn here.
bool isKnownPicture(const std::string& key);
// The icon at `index` of the system image list, from the desktop's icon theme.
QIcon systemImage(int index);

} // namespace qtui
