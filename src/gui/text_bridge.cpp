#include "gui/text_bridge.h"

#include "ui/cp1252.h"
#include "ui/crlf_offsets.h"

namespace gui {

char16_t cp1252ToUnicode(unsigned char byte) {
    return static_cast<char16_t>(ui::cp1252::toUnicode(byte));
}

char unicodeToCp1252(char16_t codePoint) {
    return static_cast<char>(ui::cp1252::nearestByte(codePoint));
}

QString toQString(std::string_view cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (const char c : cp1252) {
        out.append(QChar(cp1252ToUnicode(static_cast<unsigned char>(c))));
    }
    return out;
}

std::string fromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        out += unicodeToCp1252(c.unicode());
    }
    return out;
}

QString toQLines(std::string_view cp1252) {
    std::string t = ui::normalizeLineBreaks(cp1252);
    std::erase(t, '\r');
    return toQString(t);
}

}  // namespace gui
