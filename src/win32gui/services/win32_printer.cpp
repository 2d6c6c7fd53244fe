#include "win32gui/services/win32_printer.h"

#include <commdlg.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "win32gui/controls/win32_text_box.h"
#include "win32gui/dib.h"
#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

// One print job; EndDoc or AbortDoc when it goes.
class PrintJob {
public:
    PrintJob(HDC dc, const wchar_t* title) : dc_(dc) {
        DOCINFOW doc{};
        doc.cbSize = sizeof(doc);
        doc.lpszDocName = title;
        started_ = dc_ != nullptr && StartDocW(dc_, &doc) > 0;
    }
    ~PrintJob() {
        if (started_) {
            if (ok_) {
                EndDoc(dc_);
            } else {
                AbortDoc(dc_);
            }
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    HDC dc() const { return dc_; }
    bool started() const { return started_; }
    bool startPage() { return ok_ = ok_ && StartPage(dc_) > 0; }
    bool endPage() { return ok_ = ok_ && EndPage(dc_) > 0; }
    bool ok() const { return ok_; }

private:
    HDC dc_;
    bool started_ = false;
    bool ok_ = true;
};

// The picture drawn from the top left of the page, scaled to fit it with its proportions kept
// (at most `maxScale` times its size).
bool drawScaled(HDC dc, const ui::Bitmap& b, double maxScale) {
    const int pageW = GetDeviceCaps(dc, HORZRES);
    const int pageH = GetDeviceCaps(dc, VERTRES);
    if (b.empty() || pageW <= 0 || pageH <= 0) {
        return false;
    }
    const double scale = std::min(
        {static_cast<double>(pageW) / b.width, static_cast<double>(pageH) / b.height, maxScale});
    return stretchPicture(dc, 0, 0, static_cast<int>(b.width * scale),
                          static_cast<int>(b.height * scale), b);
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace

// ---- the chosen printer

PrinterChoice::~PrinterChoice() {
    if (devMode_ != nullptr) {
        GlobalFree(devMode_);
    }
    if (devNames_ != nullptr) {
        GlobalFree(devNames_);
    }
}

void PrinterChoice::take(HGLOBAL devMode, HGLOBAL devNames) {
    if (devMode_ != nullptr && devMode_ != devMode) {
        GlobalFree(devMode_);
    }
    if (devNames_ != nullptr && devNames_ != devNames) {
        GlobalFree(devNames_);
    }
    devMode_ = devMode;
    devNames_ = devNames;
}

bool PrinterChoice::ensure() {
    if (devNames_ != nullptr) {
        return true;
    }
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.Flags = PD_RETURNDEFAULT;
    if (!PrintDlgW(&pd)) {
        return false;
    }
    take(pd.hDevMode, pd.hDevNames);
    return devNames_ != nullptr;
}

HDC PrinterChoice::createDC() {
    if (!ensure()) {
        return nullptr;
    }
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames_));
    if (names == nullptr) {
        return nullptr;
    }
    const auto* base = reinterpret_cast<const wchar_t*>(names);
    const auto* mode =
        devMode_ != nullptr ? static_cast<const DEVMODEW*>(GlobalLock(devMode_)) : nullptr;
    HDC dc = CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode != nullptr) {
        GlobalUnlock(devMode_);
    }
    GlobalUnlock(devNames_);
    return dc;
}

// ---- the printer

int Win32Printer::deviceCaps(int index) const {
    HDC dc = choice_.createDC();
    if (dc == nullptr) {
        return 0;
    }
    const int value = GetDeviceCaps(dc, index);
    DeleteDC(dc);
    return value;
}

int Win32Printer::pageWidth() const {
    return deviceCaps(HORZRES);
}

int Win32Printer::pageHeight() const {
    return deviceCaps(VERTRES);
}

ui::Orientation Win32Printer::orientation() const {
    if (!choice_.ensure() || choice_.devMode() == nullptr) {
        return ui::Orientation::Portrait;
    }
    ui::Orientation result = ui::Orientation::Portrait;
    if (const auto* mode = static_cast<const DEVMODEW*>(GlobalLock(choice_.devMode()))) {
        if ((mode->dmFields & DM_ORIENTATION) != 0 && mode->dmOrientation == DMORIENT_LANDSCAPE) {
            result = ui::Orientation::Landscape;
        }
        GlobalUnlock(choice_.devMode());
    }
    return result;
}

void Win32Printer::setOrientation(ui::Orientation orientation) {
    if (!choice_.ensure() || choice_.devMode() == nullptr) {
        return;
    }
    if (auto* mode = static_cast<DEVMODEW*>(GlobalLock(choice_.devMode()))) {
        mode->dmFields |= DM_ORIENTATION;
        mode->dmOrientation =
            orientation == ui::Orientation::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        GlobalUnlock(choice_.devMode());
    }
}

bool Win32Printer::printLines(const std::vector<std::string>& lines, const ui::Font& font) {
    PrintJob job(choice_.createDC(), L"Tattilo");
    if (!job.started()) {
        return false;
    }
    HDC dc = job.dc();
    // Sizes in pixels are screen pixels: on a printer of many dots per inch they would print
    // tiny, so they are taken at the screen's 96 dots per inch.
    ui::Font printFont = font;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    if (font.pixelSize > 0) {
        printFont.pixelSize = MulDiv(font.pixelSize, dpi, 96);
    } else {
        printFont.pixelSize = MulDiv(font.pointSize > 0 ? font.pointSize : 10, dpi, 72);
    }
    HFONT hfont = createFont(printFont);
    HGDIOBJ old = SelectObject(dc, hfont);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    const int pageHeight = GetDeviceCaps(dc, VERTRES);
    int y = 0;
    bool pageOpen = job.startPage();
    for (const std::string& line : lines) {
        if (!pageOpen) {
            break;
        }
        if (y > 0 && y + lineHeight > pageHeight) {
            pageOpen = job.endPage() && job.startPage();
            if (!pageOpen) {
                break;
            }
            SelectObject(dc, hfont);  // a new page starts with the device's defaults
            y = 0;
        }
        const std::wstring text = widen(line);
        TextOutW(dc, 0, y, text.c_str(), static_cast<int>(text.size()));
        y += lineHeight;
    }
    if (pageOpen) {
        job.endPage();
    }
    SelectObject(dc, old);
    DeleteObject(hfont);
    return job.ok();
}

ui::Bitmap pageWithHeading(const ui::PrintPage& page) {
    ui::Bitmap picture = page.picture;
    std::uint32_t* bits = nullptr;
    HBITMAP section = dibSection(picture, &bits);
    if (section == nullptr) {
        return picture;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, section);
    HFONT font = createFont({"Arial", 14, 0});
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    const std::wstring heading = widen(page.heading);
    TextOutW(dc, 10, 15, heading.c_str(), static_cast<int>(heading.size()));
    takeDrawing(bits, picture);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(section);
    DeleteDC(dc);
    return picture;
}

bool Win32Printer::printPages(const std::vector<ui::PrintPage>& pages,
                              const std::string& imageFile) {
    if (pages.empty()) {
        return false;
    }
    PrintJob job(choice_.createDC(), L"Tattilo");
    if (!job.started()) {
        return false;
    }
    for (const ui::PrintPage& page : pages) {
        ui::Bitmap picture = pageWithHeading(page);
        // The page goes through its picture file, as the exercise folder keeps it.
        if (!imageFile.empty()) {
            const std::wstring file = widen(imageFile);
            if (writeFile(file, bmpFile(picture))) {
                ui::Bitmap saved = fromBmpFile(readFile(file));
                if (!saved.empty()) {
                    picture = std::move(saved);
                }
            }
        }
        if (!job.startPage()) {
            break;
        }
        drawScaled(job.dc(), picture, 1e9);
        if (!job.endPage()) {
            break;
        }
    }
    return job.ok();
}

bool Win32Printer::printBitmap(const ui::Bitmap& bitmap) {
    if (bitmap.empty()) {
        return false;
    }
    PrintJob job(choice_.createDC(), L"Tattilo");
    if (!job.started() || !job.startPage()) {
        return false;
    }
    drawScaled(job.dc(), bitmap, 4.0);
    job.endPage();
    return job.ok();
}

}  // namespace win32gui
