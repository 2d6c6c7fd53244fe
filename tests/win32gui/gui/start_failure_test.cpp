// A start that fails on a control that cannot be made (as without a display driver): the
// program's own guard shows a message box that says what failed and gives status 1, instead of
// an uncaught exception; the settings file is not touched.

#include "win32gui/start_failure.h"
#include "editor/messages.h"
#include "window_harness.h"

namespace {

// Refuses to make any window of one class on this thread while it lives.
class RefuseClass {
public:
    explicit RefuseClass(const wchar_t* className) {
        refused_ = className;
        hook_ = SetWindowsHookExW(WH_CBT, &RefuseClass::hook, nullptr, GetCurrentThreadId());
    }
    ~RefuseClass() { UnhookWindowsHookEx(hook_); }
    RefuseClass(const RefuseClass&) = delete;
    RefuseClass& operator=(const RefuseClass&) = delete;

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            if (!IS_INTRESOURCE(create->lpszClass) && lstrcmpiW(create->lpszClass, refused_) == 0) {
                return 1;  // not made
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline const wchar_t* refused_ = nullptr;
    HHOOK hook_ = nullptr;
};

TEST(StartFailureTest, AControlThatCannotBeMadeEndsInAMessageBoxAndStatusOne) {
    OleInitialize(nullptr);
    win32_test::Scratch scratch;
    const std::string settings = "editor grafico = C:\\windows\\notepad.exe\r\n";
    scratch.write("tattilo.ini", settings);
    const std::filesystem::path program = std::filesystem::current_path();
    std::string caption, text;
    int status = -1;
    {
        win32_test::Answerer answer(L"#32770", [&](HWND box) {
            caption = win32_test::windowText(box);
            for (HWND s = FindWindowExW(box, nullptr, L"Static", nullptr); s != nullptr;
                 s = FindWindowExW(box, s, L"Static", nullptr)) {
                if (!win32_test::windowText(s).empty()) {
                    text = win32_test::windowText(s);
                }
            }
            win32_test::tap(VK_RETURN);
        });
        RefuseClass noTabs(WC_TABCONTROLW);
        status =
            win32gui::runReportingFailure("tattilo", "Tattilo", editor::text::kCannotStart, [&] {
                win32gui::MainWindowOptions options;
                options.environment.programDirectory = program;
                options.environment.configurationFile = scratch.path / "tattilo.ini";
                options.environment.documentsDirectory = scratch.path;
                options.environment.temporaryDirectory = scratch.path;
                options.environment.speechAvailable = false;
                win32gui::MainWindowView view(std::move(options));
                view.window().setVisible(true);
                return win32gui::runMessageLoop();
            });
        answer.join();
        EXPECT_TRUE(answer.seen()) << "no message box";
    }
    EXPECT_EQ(status, win32gui::kStartFailed);
    EXPECT_EQ(caption, "Tattilo");
    std::erase(text, '\r');
    EXPECT_EQ(text, std::string(editor::text::kCannotStart) +
                        "\nthe control TabControl1 could not be created");
    EXPECT_EQ(scratch.read("tattilo.ini"), settings) << "the settings as they were";
    OleUninitialize();
}

}  // namespace
