#include "installer/tex/tex_libraries.h"

#include <string>

#include "installer/progress_sink.h"
#include "installer/tex/tex_messages.h"

namespace installer::tex {

TrueTypeAliasCalls trueTypeAliasCalls(system::Library& library) {
    TrueTypeAliasCalls calls;
    calls.open = library.entry<AWOpenFn>("AWOpen");
    calls.getFontInfo = library.entry<AWGetFontInfoFn>("AWGetFontInfo");
    calls.addFont = library.entry<AWAddFontFn>("AWAddFont");
    calls.write = library.entry<AWWriteFn>("AWWrite");
    calls.close = library.entry<AWCloseFn>("AWClose");
    return calls;
}

void configureHyphenation(system::System& sys, ProgressSink& sink, void* window,
                          std::string_view root) {
    const auto library = sys.loadLibrary(kHyphenationLibrary);
    if (!library) {
        sink.warning(msg::kHyphenNoLibrary);
        return;
    }
    const auto configure = library->entry<ConfigureHyphenOnInstallFn>(kConfigureHyphenOnInstall);
    if (!configure) {
        sink.warning(msg::kHyphenBadLibrary);
        return;
    }
    configure(window, std::string(root).c_str());
}

}  // namespace installer::tex
