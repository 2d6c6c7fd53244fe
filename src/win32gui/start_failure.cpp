#include "win32gui/start_failure.h"

#include <exception>
#include <iostream>
#include <string>

#include "win32gui/native.h"
#include "win32gui/wide_text.h"

namespace win32gui {

void reportStartFailure(std::string_view program, std::string_view caption, std::string_view text) {
    std::cerr << program << ": " << text << std::endl;
    MessageBoxW(nullptr, widenLines(text).c_str(), widen(caption).c_str(),
                MB_ICONERROR | MB_OK | MB_SETFOREGROUND | MB_TASKMODAL);
}

int runReportingFailure(std::string_view program, std::string_view caption,
                        std::string_view heading, const std::function<int()>& run) {
    std::string why;
    try {
        return run();
    } catch (const std::exception& e) {
        why = e.what();
    } catch (...) {
        why = "?";
    }
    reportStartFailure(program, caption, std::string(heading) + "\n" + why);
    return kStartFailed;
}

}  // namespace win32gui
