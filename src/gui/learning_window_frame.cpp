#include "gui/learning_window_frame.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "editor/messages.h"
#include "gui/text_bridge.h"

namespace gui {
namespace {

using learning::ControlKind;

QFont boxFont(const learning::WindowLayout& layout) {
    QFont font(toQString(editor::text::kBrailleFontFamily));
    font.setPixelSize(layout.fontPixels > 0 ? layout.fontPixels : editor::text::kBrailleFontPixels);
    font.setBold(true);
    return font;
}

QString objectName(std::string_view name) {
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

LearningWindowFrame::LearningWindowFrame(QWidget* parent, const learning::WindowLayout& layout,
                                         QtKeyboard& keyboard)
    : layout_table_(layout), dialog_(new QDialog(parent)), font_(boxFont(layout)) {
    dialog_->setObjectName(objectName(layout.name));
    dialog_->setModal(true);
    layout_ = new QVBoxLayout(dialog_);
    bar_ = new QMenuBar(dialog_);
    layout_->setMenuBar(bar_);
    for (const learning::ControlSpec& item : layout.controls) {
        build(item);
    }
    for (const learning::ControlSpec& item : layout.controls) {
        if (item.labelFor.empty()) {
            continue;
        }
        QWidget* named = item.kind == ControlKind::Caption
                             ? captions_.at(std::string(item.labelFor))
                             : widgets_.at(std::string(item.name));
        static_cast<QLabel*>(named)->setBuddy(widgets_.at(std::string(item.labelFor)));
    }
    // Every key goes to the logic first (keysToWindowFirst): the window's filter sees them
    // before the focused control.
    window_ = std::make_unique<QtWindow>(dialog_, dialog_, &keyboard);
    modal_ = std::make_unique<QtModal>(dialog_);
}

LearningWindowFrame::~LearningWindowFrame() {
    release();
}

void LearningWindowFrame::build(const learning::ControlSpec& item) {
    const QString accessible = toQString(item.accessibleName);
    const QFontMetrics metrics(font_);
    std::unique_ptr<ui::Widget> adapter;
    QWidget* widget = nullptr;
    switch (item.kind) {
        case ControlKind::Line: {
            auto* e = new QLineEdit;
            e->setFont(font_);
            widget = e;
            adapter = std::make_unique<QtLine>(e);
            break;
        }
        case ControlKind::Memo: {
            auto* m = new QPlainTextEdit;
            m->setFont(font_);
            m->setLineWrapMode(QPlainTextEdit::NoWrap);
            m->setTabChangesFocus(true);
            const int margin = layout_table_.boxMargin;
            if (item.minimumLines > 0) {
                m->setMinimumHeight(metrics.lineSpacing() * item.minimumLines + margin);
            }
            if (item.maximumLines > 0) {
                m->setMaximumHeight(metrics.lineSpacing() * item.maximumLines + margin);
            }
            if (item.maximumColumns > 0) {
                m->setMaximumWidth(metrics.horizontalAdvance(QLatin1Char('a')) *
                                   item.maximumColumns);
            }
            widget = m;
            adapter = std::make_unique<QtMemo>(m);
            break;
        }
        case ControlKind::Label: {
            auto* l = new QLabel;
            if (item.framed) {
                l->setFrameShape(QFrame::StyledPanel);
            }
            widget = l;
            adapter = std::make_unique<QtLabel>(l);
            break;
        }
        case ControlKind::Caption:
            captions_[std::string(item.labelFor)] = new QLabel(toQString(item.caption));
            return;
        case ControlKind::Button: {
            auto* b = new QPushButton;
            // Enter in a box must never press a button of the dialog.
            b->setAutoDefault(false);
            b->setDefault(false);
            widget = b;
            adapter = std::make_unique<QtButton>(b);
            break;
        }
        case ControlKind::Picture: {
            auto* p = new LinearViewWidget;
            if (item.minimumHeight > 0) {
                p->setMinimumHeight(item.minimumHeight);
            }
            widget = p;
            adapter = std::make_unique<QtMathView>(p);
            break;
        }
    }
    widget->setObjectName(objectName(item.name));
    if (!accessible.isEmpty()) {
        widget->setAccessibleName(accessible);
    }
    if (!item.accessibleDescription.empty()) {
        widget->setAccessibleDescription(toQString(item.accessibleDescription));
    }
    widgets_[std::string(item.name)] = widget;
    adapters_[std::string(item.name)] = std::move(adapter);
}

QWidget* LearningWindowFrame::widget(std::string_view name) const {
    return widgets_.find(name)->second;
}

QWidget* LearningWindowFrame::captionFor(std::string_view control) const {
    return captions_.find(control)->second;
}

void LearningWindowFrame::finish() {
    for (const learning::ControlSpec& item : layout_table_.controls) {
        if (!item.readOnly) {
            continue;
        }
        QWidget* w = widgets_.at(std::string(item.name));
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            line->setReadOnly(true);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            // Read-only boxes keep a caret the keyboard moves and a screen reader follows.
            memo->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        }
    }
    dialog_->setAccessibleName(dialog_->windowTitle());
    dialog_->resize(layout_table_.width, layout_table_.height);
}

void LearningWindowFrame::addButtonRow(std::initializer_list<std::string_view> names) {
    auto* row = new QHBoxLayout;
    for (std::string_view name : names) {
        row->addWidget(widget(name));
    }
    layout_->addLayout(row);
}

ui::Dialogs& LearningWindowFrame::dialogsOr(ui::Dialogs* given) {
    if (given != nullptr) {
        return *given;
    }
    if (!ownDialogs_) {
        ownDialogs_ = std::make_unique<QtDialogs>(dialog_);
    }
    return *ownDialogs_;
}

void LearningWindowFrame::release() {
    window_.reset();
    adapters_.clear();
    menu_.clear();
}

void forwardFocusChanges(QDialog* dialog, std::function<void()> noticeFocus) {
    QObject::connect(qApp, &QApplication::focusChanged, dialog,
                     [dialog, noticeFocus = std::move(noticeFocus)](QWidget*, QWidget* now) {
                         if (now != nullptr && now->window() == dialog) {
                             noticeFocus();
                         }
                     });
}

}  // namespace gui
