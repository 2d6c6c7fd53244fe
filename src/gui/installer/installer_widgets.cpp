#include "gui/installer/installer_widgets.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "gui/text_bridge.h"

namespace gui {

QtCheckList::QtCheckList(QListWidget* list) : QtWidget(list), list_(list) {
    connect(list_, &QListWidget::currentRowChanged, this, [this](int) {
        if (onSelect_) {
            onSelect_();
        }
    });
    // A check box clicked or Space pressed: Qt has already changed the mark; the logic
    // decides what it becomes.
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int index = list_->row(item);
        if (index >= 0 && onToggle_) {
            onToggle_(index);
        }
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
        if (onDoubleClick_) {
            onDoubleClick_();
        }
    });
}

void QtCheckList::fill(QListWidgetItem* item, const ui::CheckLine& line) {
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setText(toQString(line.caption));
    item->setCheckState(line.mark == 1   ? Qt::Checked
                        : line.mark == 2 ? Qt::PartiallyChecked
                                         : Qt::Unchecked);
    if (line.color) {
        item->setForeground(toQColor(*line.color));
    } else {
        item->setData(Qt::ForegroundRole, QVariant());
    }
}

// Lines are changed in place: the list may be inside its own itemChanged signal.
void QtCheckList::setLines(const std::vector<ui::CheckLine>& lines) {
    const QSignalBlocker block(list_);
    while (list_->count() > static_cast<int>(lines.size())) {
        delete list_->takeItem(list_->count() - 1);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<int>(i) >= list_->count()) {
            list_->addItem(new QListWidgetItem);
        }
        fill(list_->item(static_cast<int>(i)), lines[i]);
    }
    lines_ = lines;
}

void QtCheckList::setLine(int index, const ui::CheckLine& line) {
    if (index < 0 || index >= list_->count()) {
        return;
    }
    const QSignalBlocker block(list_);
    fill(list_->item(index), line);
    lines_[static_cast<std::size_t>(index)] = line;
}

ui::CheckLine QtCheckList::line(int index) const {
    return index >= 0 && index < static_cast<int>(lines_.size())
               ? lines_[static_cast<std::size_t>(index)]
               : ui::CheckLine{};
}

void QtCheckList::setItemIndex(int index) {
    const QSignalBlocker block(list_);
    list_->setCurrentRow(index);
}

QtComboBox::QtComboBox(QComboBox* combo) : QtWidget(combo), combo_(combo) {
    connect(combo_, &QComboBox::editTextChanged, this, [this](const QString&) {
        if (onChange_) {
            onChange_();
        }
    });
}

std::string QtComboBox::text() const {
    return fromQString(combo_->currentText());
}

void QtComboBox::setText(std::string_view text) {
    const QSignalBlocker block(combo_);
    combo_->setEditText(toQString(text));
}

std::vector<std::string> QtComboBox::items() const {
    std::vector<std::string> out;
    for (int i = 0; i < combo_->count(); ++i) {
        out.push_back(fromQString(combo_->itemText(i)));
    }
    return out;
}

void QtComboBox::setItems(const std::vector<std::string>& items) {
    const QSignalBlocker block(combo_);
    const QString text = combo_->currentText();
    combo_->clear();
    for (const auto& item : items) {
        combo_->addItem(toQString(item));
    }
    combo_->setEditText(text);
}

void InstallerDialog::reject() {
    if (query_ && !query_()) {
        return;
    }
    QDialog::reject();
}

std::string DialogWindow::caption() const {
    return fromQString(dialog_->windowTitle());
}

void DialogWindow::setCaption(std::string_view caption) {
    dialog_->setWindowTitle(toQString(caption));
}

}  // namespace gui
