#include "win32gui/installer/installer_views.h"

#include "win32gui/accessible.h"
#include "win32gui/dpi.h"
#include "win32gui/wide_text.h"

namespace win32gui {

namespace {

installer::ChooserWidgets chooserWidgets(ControlSet& c) {
    return {c.checkList("Components"), c.control("SelectAll"), c.control("Recommended"),
            c.control("Clear"),        c.control("Details"),   c.control("ItemInfo"),
            c.control("Description")};
}

}  // namespace

// ---- the dialog's parts

InstallerDialog::InstallerDialog(HWND owner, const installer::WindowTable& table, bool modal)
    : window_(std::make_unique<Win32Window>(WindowOptions{.clientWidth = table.width,
                                                          .clientHeight = table.height,
                                                          .dialog = true,
                                                          .owner = owner})),
      modal_(modal ? std::make_unique<Win32Modal>(*window_) : nullptr),
      // The installer's fields take no paste of their own beyond the system's.
      controls_(
          std::make_unique<ControlSet>(*window_, table.controls, [] { return std::string(); })) {
    window_->setEscapeCloses(true);
}

InstallerDialog::~InstallerDialog() {
    detach();
    controls_.reset();
    modal_.reset();
    window_.reset();
}

void InstallerDialog::detach() {
    window_->setKeyListener(nullptr);
    window_->setOnActivate({});
    window_->setOnCloseQuery({});
    controls_->clear();
}

void InstallerDialog::selectFirstLine(std::string_view list) {
    HWND hwnd = controls_->handle(list);
    if (ListView_GetItemCount(hwnd) > 0) {
        // Straight to the control, as a click does: the logic hears of it.
        ListView_SetItemState(hwnd, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

// ---- main window

MainDialogView::MainDialogView(HWND owner, installer::Product& product,
                               installer::system::System& sys, installer::Prompter& prompter,
                               installer::ClusterCache& clusters,
                               installer::MainDialogServices services)
    : InstallerView(owner, installer::mainDialogControls()) {
    ControlSet& c = dialog_.controls();
    dialog_.window().setDefaultButton(c.handle("Install"));
    logic_ = std::make_unique<installer::CMainDlg>(
        installer::MainDialogWidgets{
            dialog_.window(), dialog_.modal(), chooserWidgets(c), c.control("Prompt"),
            c.textBox("Destination"), c.control("Browse"), c.control("Validation"),
            c.control("SpaceNeeded"), c.control("SpaceAvailable"), c.control("Install"),
            c.control("Quit"), c.control("Help"), c.control("About"), c.control("CheckOptional")},
        product, sys, prompter, clusters, std::move(services));
    dialog_.selectFirstLine("Components");
    dialog_.window().focusChild(c.handle("Components"));
}

// ---- Details

DetailsDialogView::DetailsDialogView(HWND owner, installer::ComponentGroup& group,
                                     installer::ChooserContext& context, std::int64_t otherKb,
                                     const std::string& available)
    : InstallerView(owner, installer::detailsDialogControls()) {
    ControlSet& c = dialog_.controls();
    dialog_.window().setDefaultButton(c.handle("Ok"));
    // The group's name over its list names the list too: as the label before it, as its
    // annotation, and as its window text where readers have neither.
    c.control("Group").setCaption(group.name);
    setAccessibleName(c.handle("Components"), group.name);
    SetWindowTextW(c.handle("Components"), widen(group.name).c_str());
    logic_ = std::make_unique<installer::CDetailsDlg>(
        installer::DetailsDialogWidgets{dialog_.window(), dialog_.modal(), chooserWidgets(c),
                                        c.control("SpaceNeeded"), c.control("SpaceAvailable"),
                                        c.control("Ok"), c.control("Cancel")},
        group, context, otherKb, available);
    dialog_.selectFirstLine("Components");
    dialog_.window().focusChild(c.handle("Components"));
}

// ---- progress

ProgressView::ProgressView(HWND owner, std::function<bool()> confirmCancel)
    : InstallerView(owner, installer::progressDialogControls(), false) {
    ControlSet& c = dialog_.controls();
    logic_ = std::make_unique<installer::CProgressDlg>(
        installer::ProgressWidgets{dialog_.window(), c.control("Upper"), c.control("Lower"),
                                   c.progressBar("ComponentBar"), c.progressBar("TotalBar"),
                                   c.control("Cancel")},
        std::move(confirmCancel));
    dialog_.window().focusChild(c.handle("Cancel"));
}

// ---- disk prompt

DiskPromptView::DiskPromptView(HWND owner, installer::system::System& sys, std::string programFile,
                               std::vector<std::string>& history,
                               installer::DiskPromptServices services)
    : InstallerView(owner, installer::diskPromptControls()) {
    ControlSet& c = dialog_.controls();
    dialog_.window().setDefaultButton(c.handle("Ok"));
    logic_ = std::make_unique<installer::CDiskPrompt>(
        installer::DiskPromptWidgets{
            dialog_.window(), dialog_.modal(), c.control("Label"), c.control("Hint"),
            c.comboBox("Path"), c.control("Browse"), c.control("Validation"), c.control("Ok"),
            c.control("ApplyToAll"), c.control("Skip"), c.control("Cancel")},
        sys, std::move(programFile), history, std::move(services));
    dialog_.window().focusChild(c.handle("Path"));
}

// ---- licence

LicenseView::LicenseView(HWND owner, std::string_view text)
    : InstallerView(owner, installer::licenseDialogControls()) {
    ControlSet& c = dialog_.controls();
    dialog_.window().setDefaultButton(c.handle("Agree"));
    logic_ = std::make_unique<installer::CLicenseDlg>(
        installer::LicenseWidgets{dialog_.window(), dialog_.modal(), c.textBox("Text"),
                                  c.control("Agree"), c.control("Disagree")},
        text);
    dialog_.window().focusChild(c.handle("Text"));
}

// ---- About

AboutView::AboutView(HWND owner, const std::string& appName, const std::string& version)
    : InstallerView(owner, installer::aboutDialogControls()) {
    ControlSet& c = dialog_.controls();
    dialog_.window().setDefaultButton(c.handle("Ok"));
    logic_ = std::make_unique<installer::CAboutDlg>(
        installer::AboutWidgets{dialog_.window(), dialog_.modal(), c.control("Name"),
                                c.control("Version"), c.control("Text"), c.control("Ok")},
        appName, version);
    dialog_.window().focusChild(c.handle("Ok"));
}

// ---- background

namespace {

constexpr wchar_t kBackgroundClass[] = L"InstelloBackground";

}  // namespace

BackgroundWindow::BackgroundWindow(const std::string& caption, const std::string& title)
    : title_(widen(title)) {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &BackgroundWindow::windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
        if (wc.hIcon == nullptr) {
            wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        }
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kBackgroundClass;
        return RegisterClassExW(&wc);
    }();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    hwnd_ = CreateWindowExW(0, MAKEINTATOM(atom), widen(caption).c_str(), WS_OVERLAPPEDWINDOW,
                            work.left, work.top, work.right - work.left, work.bottom - work.top,
                            nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

BackgroundWindow::~BackgroundWindow() {
    destroy();
}

void BackgroundWindow::show() {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
}

void BackgroundWindow::destroy() {
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

void BackgroundWindow::paint(HDC dc, int width, int height) {
    for (const installer::Band& band : installer::backgroundBands(width)) {
        HBRUSH brush = CreateSolidBrush(colorRef(band.color));
        RECT r{band.left, 0, band.left + band.width, height};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    HFONT font = CreateFontW(-toScreen(installer::kTitlePixels), 0, 0, 0, FW_BOLD, TRUE, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    for (const installer::TitleDraw& draw : {installer::kTitleShadow, installer::kTitleFace}) {
        SetTextColor(dc, colorRef(draw.color));
        TextOutW(dc, toScreen(draw.x), toScreen(draw.y), title_.c_str(),
                 static_cast<int>(title_.size()));
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

LRESULT CALLBACK BackgroundWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<BackgroundWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r{};
            GetClientRect(hwnd, &r);
            self->paint(dc, r.right - r.left, r.bottom - r.top);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_CLOSE:
            if (self->query_ && !self->query_()) {
                return 0;
            }
            self->destroy();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace win32gui
