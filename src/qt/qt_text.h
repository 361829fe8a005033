#pragma once
// The boundary between the system's byte strings (the locale's charset: UTF-8) and Qt's
// strings, and between Qt's key codes and the system's virtual-key numbering.
#include <QString>
#include <string>

class QKeyEvent;

namespace qtui {

inline QString qs(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string us(const QString& s) {
    QByteArray b = s.toUtf8();
    return std::string(b.constData(), std::size_t(b.size()));
}

// The virtual-key code of a key press (letters as upper-case 'A'..'Z'), or 0 for a key the
// system has no code for.
int virtualKey(const QKeyEvent& e);

} // namespace qtui
