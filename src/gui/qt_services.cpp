#include "gui/qt_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QImage>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QUrl>

#include "gui/qt_widgets.h"
#include "gui/text_bridge.h"
#include "ui/crlf_offsets.h"

namespace gui {
namespace {

QString caption(std::string_view text) {
    return text.empty() ? QStringLiteral("Tattilo") : toQString(text);
}

// The buttons of the message boxes, as an Italian system names them whatever language the
// toolkit was given.
constexpr std::pair<QMessageBox::StandardButton, std::string_view> kButtonTexts[] = {
    {QMessageBox::Ok, "OK"},
    {QMessageBox::Yes, "&S\xEC"},
    {QMessageBox::No, "&No"},
    {QMessageBox::Cancel, "Annulla"},
};

}  // namespace

void closePopups() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

namespace {

bool isMenu(const QWidget* widget) {
    return qobject_cast<const QMenu*>(widget) != nullptr ||
           qobject_cast<const QMenuBar*>(widget) != nullptr;
}

QPointer<QWidget>& lastFocus() {
    static QPointer<QWidget> last;
    return last;
}

void giveFocusBack(QWidget* widget) {
    if (widget != nullptr && widget->isVisible() && widget->isEnabled()) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace

void trackFocus() {
    static QPointer<QObject> tracker;
    if (tracker != nullptr || qApp == nullptr) {
        return;
    }
    tracker = new QObject(qApp);
    QObject::connect(qApp, &QApplication::focusChanged, tracker, [](QWidget*, QWidget* now) {
        if (now != nullptr && !isMenu(now)) {
            lastFocus() = now;
        }
    });
    if (QWidget* now = QApplication::focusWidget(); now != nullptr && !isMenu(now)) {
        lastFocus() = now;
    }
}

QWidget* focusOutsideMenus() {
    QWidget* now = QApplication::focusWidget();
    return now != nullptr && !isMenu(now) ? now : lastFocus().data();
}

FocusReturn::FocusReturn() : widget_(focusOutsideMenus()) {}

FocusReturn::~FocusReturn() {
    giveFocusBack(widget_);
}

void returnFocusFromMenuBar() {
    if (QApplication::activePopupWidget() != nullptr) {
        return;  // the student went on to the next menu
    }
    if (qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr) {
        giveFocusBack(lastFocus());
    }
}

QString qtFileFilter(std::string_view filter) {
    const QStringList parts = toQString(filter).split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1].trimmed();
        if (pattern == QStringLiteral("*.*")) {
            pattern = QStringLiteral("*");  // every file, with or without an extension
        }
        out << parts[i].trimmed() + QStringLiteral(" (") + pattern + QStringLiteral(")");
    }
    return out.join(QStringLiteral(";;"));
}

namespace {

// The file or folder the user chose in `dialog`; none when the dialog was cancelled.
std::optional<std::string> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return fromQString(dialog.selectedFiles().front());
}

// The file to open (`save` false) or to save as the logic describes the dialog.
std::optional<std::string> fileDialog(QWidget* parent, const ui::FileDialog& d, bool save) {
    const FocusReturn back;
    closePopups();
    QFileDialog dialog(parent, toQString(d.title), toQString(d.initialDirectory),
                       qtFileFilter(d.filter));
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
        // The logic asks its own overwrite question.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (!d.fileName.empty()) {
        dialog.selectFile(toQString(d.fileName));
    }
    return chosenFile(dialog);
}

// The print or page setup dialog on the program's printer; whether the user confirmed it.
template <class Dialog>
bool onPrinter(QPrinter* printer, QWidget* parent) {
    if (printer == nullptr) {
        return false;
    }
    const FocusReturn back;
    closePopups();
    Dialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

void QtDialogs::beep() {
    QApplication::beep();
}

ui::Answer QtDialogs::message(const ui::MessageBox& box) {
    const FocusReturn back;
    closePopups();
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (box.icon) {
        case ui::Icon::Information:
            icon = QMessageBox::Information;
            break;
        case ui::Icon::Warning:
            icon = QMessageBox::Warning;
            break;
        case ui::Icon::Error:
            icon = QMessageBox::Critical;
            break;
        case ui::Icon::Question:
            icon = QMessageBox::Question;
            break;
        case ui::Icon::None:
            break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    switch (box.buttons) {
        case ui::Buttons::Ok:
            break;
        case ui::Buttons::OkNo:
            buttons = QMessageBox::Ok | QMessageBox::No;
            break;
        case ui::Buttons::YesNo:
            buttons = QMessageBox::Yes | QMessageBox::No;
            defaultButton = QMessageBox::Yes;
            break;
        case ui::Buttons::YesNoCancel:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            defaultButton = QMessageBox::Yes;
            break;
        case ui::Buttons::OkCancel:
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
            break;
    }
    QMessageBox dialog(icon, caption(box.caption), toQLines(box.text), buttons, parent_);
    for (const auto& [which, text] : kButtonTexts) {
        if (QAbstractButton* button = dialog.button(which)) {
            button->setText(toQString(text));
        }
    }
    dialog.setDefaultButton(defaultButton);
    switch (dialog.exec()) {
        case QMessageBox::Yes:
            return ui::Answer::Yes;
        case QMessageBox::No:
            return ui::Answer::No;
        case QMessageBox::Ok:
            return ui::Answer::Ok;
        default:
            // Esc or the window's close button: the answer that changes least.
            return box.buttons == ui::Buttons::Ok ? ui::Answer::Ok
                   : box.buttons == ui::Buttons::YesNo || box.buttons == ui::Buttons::OkNo
                       ? ui::Answer::No
                       : ui::Answer::Cancel;
    }
}

std::optional<std::string> QtDialogs::inputBox(std::string_view title, std::string_view prompt,
                                               std::string_view value) {
    const FocusReturn back;
    closePopups();
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(caption(title));
    dialog.setLabelText(toQString(prompt));
    dialog.setTextValue(toQString(value));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return fromQString(dialog.textValue());
}

std::optional<std::string> QtDialogs::openFile(const ui::FileDialog& d) {
    return fileDialog(parent_, d, false);
}

std::optional<std::string> QtDialogs::saveFile(const ui::FileDialog& d) {
    return fileDialog(parent_, d, true);
}

std::optional<std::string> QtDialogs::chooseFolder(std::string_view title, std::string_view start) {
    const FocusReturn back;
    closePopups();
    QFileDialog dialog(parent_, toQString(title), toQString(start));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chosenFile(dialog);
}

std::optional<ui::Font> QtDialogs::chooseFont(const ui::Font& current) {
    const FocusReturn back;
    closePopups();
    QFontDialog dialog(toQFont(current), parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return fromQFont(dialog.selectedFont());
}

bool QtDialogs::printDialog() {
    return onPrinter<QPrintDialog>(printer_, parent_);
}

bool QtDialogs::printerSetup() {
    return onPrinter<QPageSetupDialog>(printer_, parent_);
}

// ---- clipboard, shell, printer

std::string QtClipboard::text() const {
    return ui::normalizeLineBreaks(fromQString(QGuiApplication::clipboard()->text()));
}

void QtClipboard::setText(std::string_view text) {
    QGuiApplication::clipboard()->setText(toQString(text));
}

void QtClipboard::setBitmap(const ui::Bitmap& bitmap) {
    if (!bitmap.empty()) {
        QGuiApplication::clipboard()->setImage(toQImage(bitmap));
    }
}

bool QtClipboard::hasBitmap() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasImage();
}

ui::Bitmap QtClipboard::bitmap() const {
    const QImage image =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_ARGB32);
    ui::Bitmap bitmap;
    if (image.isNull()) {
        return bitmap;
    }
    bitmap.width = image.width();
    bitmap.height = image.height();
    bitmap.pixels.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    for (int y = 0; y < bitmap.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::copy(line, line + bitmap.width,
                  bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width);
    }
    return bitmap;
}

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

bool QtShell::open(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
}

std::optional<int> QtShell::runAndWait(const std::string& program,
                                       const std::vector<std::string>& arguments,
                                       const std::string& directory) {
    QProcess process;
    QStringList args;
    for (const std::string& a : arguments) {
        args << QString::fromLocal8Bit(a.c_str());
    }
    process.setProgram(QString::fromLocal8Bit(program.c_str()));
    process.setArguments(args);
    if (!directory.empty()) {
        process.setWorkingDirectory(QString::fromLocal8Bit(directory.c_str()));
    }
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted()) {
        return std::nullopt;
    }
    // The window keeps repainting and answering the screen reader while the program runs, but
    // takes no keys, clicks or close requests until it has ended.
    if (process.state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop, &process] {
            if (process.state() == QProcess::NotRunning) {
                loop.quit();
            }
        });
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return process.exitCode();
}

QtPrinter::QtPrinter() : printer_(std::make_unique<QPrinter>()) {}

QtPrinter::~QtPrinter() = default;

bool QtPrinter::printLines(const std::vector<std::string>& lines, const ui::Font& font) {
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        return false;
    }
    // Sizes in pixels are screen pixels: on a printer of many dots per inch they would print
    // tiny, so they become points at the screen's resolution.
    QFont printFont = toQFont(font);
    if (font.pixelSize > 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const qreal dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
        printFont.setPointSizeF(font.pixelSize * 72.0 / (dpi > 0 ? dpi : 96.0));
    }
    painter.setFont(printFont);
    const QFontMetrics metrics = painter.fontMetrics();
    const int pageHeight = painter.viewport().height();
    int y = metrics.ascent();
    for (const std::string& line : lines) {
        if (y + metrics.descent() > pageHeight) {
            printer_->newPage();
            y = metrics.ascent();
        }
        painter.drawText(0, y, toQString(line));
        y += metrics.lineSpacing();
    }
    return painter.end();
}

int QtPrinter::pageWidth() const {
    return printer_->pageLayout().paintRectPixels(printer_->resolution()).width();
}

int QtPrinter::pageHeight() const {
    return printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
}

ui::Orientation QtPrinter::orientation() const {
    return printer_->pageLayout().orientation() == QPageLayout::Landscape
               ? ui::Orientation::Landscape
               : ui::Orientation::Portrait;
}

void QtPrinter::setOrientation(ui::Orientation orientation) {
    printer_->setPageOrientation(orientation == ui::Orientation::Landscape ? QPageLayout::Landscape
                                                                           : QPageLayout::Portrait);
}

bool QtPrinter::printPages(const std::vector<ui::PrintPage>& pages, const std::string& imageFile) {
    if (pages.empty()) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        return false;
    }
    const QRect area = painter.viewport();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer_->newPage()) {
            painter.end();
            return false;
        }
        QImage image = toQImage(pages[i].picture).convertToFormat(QImage::Format_RGB32);
        {
            QPainter heading(&image);
            QFont font = heading.font();
            font.setPixelSize(14);
            heading.setFont(font);
            heading.setPen(Qt::black);
            heading.drawText(10, 15, toQString(pages[i].heading));
        }
        // The page goes through its picture file, as the exercise folder keeps it.
        if (!imageFile.empty()) {
            const QString file = QString::fromLocal8Bit(imageFile.c_str());
            QImage saved;
            if (image.save(file, "BMP") && saved.load(file, "BMP")) {
                image = saved;
            }
        }
        const QSize size = image.size().scaled(
            QSize(area.width(), area.height()).expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint(0, 0), size), image);
    }
    return painter.end();
}

bool QtPrinter::printBitmap(const ui::Bitmap& bitmap) {
    if (bitmap.empty()) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        return false;
    }
    const QImage image = toQImage(bitmap);
    const QRect area = painter.viewport();
    const QSize size = image.size().scaled(area.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint(0, 0), size.boundedTo(image.size() * 4)), image);
    return painter.end();
}

void QtModal::showModal() {
    const FocusReturn back;
    closePopups();
    dialog_->exec();
}

void QtModal::closeModal() {
    dialog_->done(QDialog::Accepted);
}

}  // namespace gui
