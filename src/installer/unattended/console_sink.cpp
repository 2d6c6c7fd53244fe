#include "installer/unattended/console_sink.h"

#include <algorithm>

#include "installer/messages.h"
#include "installer/tex/tex_libraries.h"

namespace installer {

int ConsoleSink::askLocation(std::string& path, std::string_view label) {
    if (cancelled()) {
        return kCancel;
    }
    console_.block("[Select location]\n" + std::string(msg::kInsertDisk) + std::string(label) +
                   "\n" + std::string(msg::kDifferentLocation) + "\n" + path +
                   "\n-> Skip (default answer)");
    return kSkip;
}

void ConsoleSink::setTotal(std::int64_t kilobytes) {
    totalBytes_ = static_cast<std::uint64_t>(std::max<std::int64_t>(kilobytes, 0)) * 1024;
    done_ = 0;
    shown_ = 0;
}

void ConsoleSink::beginComponent(std::string_view label, std::int64_t) {
    if (!cancelled()) {
        console_.line(std::string(msg::kInstalling) + std::string(label));
    }
}

void ConsoleSink::advance(std::uint64_t bytes) {
    done_ += bytes;
    if (cancelled() || totalBytes_ == 0) {
        return;
    }
    const int percent = static_cast<int>(std::min<std::uint64_t>(100, done_ * 100 / totalBytes_));
    if (percent >= shown_ + 10 && percent < 100) {
        shown_ = percent - percent % 10;
        console_.line("Progress: " + std::to_string(shown_) + "%");
    }
}

void ConsoleSink::showCopying(std::string_view path) {
    if (!cancelled()) {
        console_.line(std::string(msg::kCopying) + std::string(path));
    }
}

void ConsoleSink::showCreating(std::string_view path) {
    if (!cancelled()) {
        console_.line(std::string(msg::kCreating) + std::string(path));
    }
}

void ConsoleSink::showStatus(std::string_view text) {
    if (!cancelled()) {
        console_.line(text);
    }
}

void ConsoleSink::warning(std::string_view text) {
    if (!cancelled()) {
        console_.block("[" + caption_ + "]\n" + std::string(text));
    }
}

bool ConsoleSink::isCancelRequested() {
    if (!cancel_.isSet() && interrupted_ && interrupted_()) {
        cancel_.set();
        console_.line("Interrupted: cancelling the installation.");
    }
    return cancel_.isSet();
}

void ConsoleSink::configureHyphenation(std::string_view installPath) {
    // No window to give the library: the console has none.
    tex::configureHyphenation(sys_, *this, nullptr, installPath);
}

}  // namespace installer
