#include "installer/unattended/console.h"

#include <ostream>
#include <string>

#include "installer/messages.h"
#include "ui/cp1252.h"

namespace installer {

namespace {

std::string_view answerWord(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return "OK";
        case Answer::Cancel:
            return "Cancel";
        case Answer::Yes:
            return "Yes";
        case Answer::No:
            return "No";
    }
    return "";
}

// "The file ... is in use": nobody is there to close the program, so the removal stops.
bool isInUseQuestion(std::string_view text) {
    const std::string_view format = msg::kFileInUse;
    const auto at = format.find("%s");
    return text.starts_with(format.substr(0, at)) && text.ends_with(format.substr(at + 2));
}

}  // namespace

void Console::put(std::string_view text) {
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    out_ << ui::cp1252::toUtf8(text) << '\n';
    out_.flush();
    if (log_) {
        *log_ << text << "\r\n";
        log_->flush();
    }
}

void Console::line(std::string_view text) {
    std::lock_guard guard(lock_);
    put(text);
}

void Console::block(std::string_view text) {
    std::lock_guard guard(lock_);
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find('\n', start);
        put(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

Answer ConsolePrompter::message(std::string_view text, std::string_view caption, Icon,
                                Buttons buttons) {
    Answer answer = Answer::Ok;
    if (buttons == Buttons::OkCancel && isInUseQuestion(text)) {
        answer = Answer::Cancel;
    }
    if (buttons == Buttons::YesNo) {
        const bool guard = text == msg::kNothingSelected || text == msg::kNoSpace ||
                           text.starts_with(msg::kRestartHead);
        answer = guard ? Answer::No : Answer::Yes;
    }
    std::string shown = "[" + std::string(caption) + "]\n" + std::string(text);
    if (buttons != Buttons::Ok) {
        shown += "\n-> " + std::string(answerWord(answer)) + " (default answer)";
    }
    console_.block(shown);
    return answer;
}

bool ConsolePrompter::license(std::string_view text) {
    console_.block("[License Agreement]\n" + std::string(text) + "\n" +
                   (acceptLicense_ ? "-> I Agree (--accept-license)"
                                   : "-> I Disagree (default answer; --accept-license agrees)"));
    return acceptLicense_;
}

}  // namespace installer
