#include "gui/structure_window_parts.h"

#include <QApplication>
#include <QFontMetrics>

#include "editor/messages.h"

namespace gui {

QFont learningWindowFont() {
    QFont font(toQString(editor::text::kBrailleFontFamily));
    font.setPixelSize(editor::text::kBrailleFontPixels);
    font.setBold(true);
    return font;
}

void forwardFocusChanges(QDialog* dialog, std::function<void()> noticeFocus) {
    QObject::connect(qApp, &QApplication::focusChanged, dialog,
                     [dialog, noticeFocus = std::move(noticeFocus)](QWidget*, QWidget* now) {
                         if (now != nullptr && now->window() == dialog) {
                             noticeFocus();
                         }
                     });
}

QtLine* WindowParts::line(const char* object, std::string_view name) {
    auto* e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(object));
    e->setAccessibleName(toQString(name));
    e->setFont(font_);
    auto adapter = std::make_unique<QtLine>(e);
    QtLine* raw = adapter.get();
    adapters_.push_back(std::move(adapter));
    return raw;
}

QtMemo* WindowParts::memo(const char* object, std::string_view name, int lines) {
    auto* m = new QPlainTextEdit;
    m->setObjectName(QString::fromLatin1(object));
    m->setAccessibleName(toQString(name));
    m->setFont(font_);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    m->setTabChangesFocus(true);
    m->setMinimumHeight(QFontMetrics(font_).lineSpacing() * lines + 12);
    auto adapter = std::make_unique<QtMemo>(m);
    QtMemo* raw = adapter.get();
    adapters_.push_back(std::move(adapter));
    return raw;
}

QtLabel* WindowParts::label(const char* object, std::string_view caption) {
    auto* l = new QLabel(toQString(caption));
    l->setObjectName(QString::fromLatin1(object));
    auto adapter = std::make_unique<QtLabel>(l);
    QtLabel* raw = adapter.get();
    adapters_.push_back(std::move(adapter));
    return raw;
}

QtButton* WindowParts::button(const char* object) {
    auto* b = new QPushButton;
    b->setObjectName(QString::fromLatin1(object));
    // Enter in a box must never press a button of the dialog.
    b->setAutoDefault(false);
    b->setDefault(false);
    auto adapter = std::make_unique<QtButton>(b);
    QtButton* raw = adapter.get();
    adapters_.push_back(std::move(adapter));
    return raw;
}

}  // namespace gui
