#pragma once

// Qt adapters for the installer's list controls (ui/check_list.h) and the dialog frame its
// windows share: Escape and the close box go through the logic's close query.

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QProgressBar>
#include <functional>

#include "gui/qt_widgets.h"
#include "ui/check_list.h"

namespace gui {

class QtCheckList : public QObject, public QtWidget<ui::CheckList> {
public:
    explicit QtCheckList(QListWidget* list);
    void setLines(const std::vector<ui::CheckLine>& lines) override;
    void setLine(int index, const ui::CheckLine& line) override;
    int count() const override { return list_->count(); }
    ui::CheckLine line(int index) const override;
    int itemIndex() const override { return list_->currentRow(); }
    void setItemIndex(int index) override;
    void setOnSelect(ui::Callback callback) override { onSelect_ = std::move(callback); }
    void setOnToggle(std::function<void(int)> callback) override {
        onToggle_ = std::move(callback);
    }
    void setOnDoubleClick(ui::Callback callback) override { onDoubleClick_ = std::move(callback); }

private:
    void fill(QListWidgetItem* item, const ui::CheckLine& line);

    QListWidget* list_;
    std::vector<ui::CheckLine> lines_;
    ui::Callback onSelect_;
    std::function<void(int)> onToggle_;
    ui::Callback onDoubleClick_;
};

class QtProgressBar : public QtWidget<ui::ProgressBar> {
public:
    explicit QtProgressBar(QProgressBar* bar) : QtWidget(bar), bar_(bar) {}
    void setRange(int minimum, int maximum) override { bar_->setRange(minimum, maximum); }
    int position() const override { return bar_->value(); }
    void setPosition(int position) override { bar_->setValue(position); }

private:
    QProgressBar* bar_;
};

class QtComboBox : public QObject, public QtWidget<ui::ComboBox> {
public:
    explicit QtComboBox(QComboBox* combo);
    std::string text() const override;
    void setText(std::string_view text) override;
    std::vector<std::string> items() const override;
    void setItems(const std::vector<std::string>& items) override;
    void setOnChange(ui::Callback callback) override { onChange_ = std::move(callback); }

private:
    QComboBox* combo_;
    ui::Callback onChange_;
};

// A dialog whose Escape key and close box ask the logic first.
class InstallerDialog : public QDialog {
public:
    explicit InstallerDialog(QWidget* parent) : QDialog(parent) {}
    void setCloseQuery(std::function<bool()> query) { query_ = std::move(query); }
    void reject() override;

private:
    std::function<bool()> query_;
};

// An installer dialog as a ui::Window: its caption and its close query.
class DialogWindow : public QtWidget<ui::Window> {
public:
    explicit DialogWindow(InstallerDialog* dialog) : QtWidget(dialog), dialog_(dialog) {}
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    bool maximized() const override { return false; }
    void setMaximized(bool) override {}
    int clientWidth() const override { return dialog_->width(); }
    int clientHeight() const override { return dialog_->height(); }
    void close() override { dialog_->close(); }
    void setKeyListener(ui::KeyListener*) override {}
    void setOnActivate(ui::Callback) override {}
    void setOnResize(ui::Callback) override {}
    void setOnCloseQuery(std::function<bool()> callback) override {
        dialog_->setCloseQuery(std::move(callback));
    }

private:
    InstallerDialog* dialog_;
};

}  // namespace gui
