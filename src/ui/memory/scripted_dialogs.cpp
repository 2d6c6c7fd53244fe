#include "ui/memory/scripted_dialogs.h"

namespace ui::memory {
namespace {

const char* iconName(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return "information";
        case Icon::Warning:
            return "warning";
        case Icon::Error:
            return "error";
        case Icon::Question:
            return "question";
        case Icon::None:
            break;
    }
    return "message";
}

bool offers(Buttons buttons, Answer answer) {
    switch (buttons) {
        case Buttons::Ok:
            return answer == Answer::Ok;
        case Buttons::OkNo:
            return answer == Answer::Ok || answer == Answer::No;
        case Buttons::YesNo:
            return answer == Answer::Yes || answer == Answer::No;
        case Buttons::YesNoCancel:
            return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
        case Buttons::OkCancel:
            return answer == Answer::Ok || answer == Answer::Cancel;
    }
    return false;
}

}  // namespace

std::vector<std::string> ScriptedDialogs::messages() const {
    std::vector<std::string> out;
    for (const Entry& e : log_) {
        if (e.kind == Kind::Message) {
            out.push_back(e.box.text);
        }
    }
    return out;
}

std::vector<std::string> ScriptedDialogs::transcript() const {
    std::vector<std::string> out;
    for (const Entry& e : log_) {
        if (e.kind == Kind::Beep) {
            out.emplace_back("beep");
        } else if (e.kind == Kind::Message) {
            out.push_back(std::string(iconName(e.box.icon)) + ":" + e.box.text);
        }
    }
    return out;
}

int ScriptedDialogs::beeps() const {
    int n = 0;
    for (const Entry& e : log_) {
        n += e.kind == Kind::Beep ? 1 : 0;
    }
    return n;
}

void ScriptedDialogs::beep() {
    log_.push_back({Kind::Beep, {}, {}, {}, {}, {}});
}

template <class T>
T ScriptedDialogs::next(std::deque<T>& answers, T none) {
    if (answers.empty()) {
        ++unanswered_;
        return none;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

Answer ScriptedDialogs::message(const MessageBox& box) {
    log_.push_back({Kind::Message, box, {}, {}, {}, {}});
    if (box.buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return next(answers_, offers(box.buttons, Answer::Cancel) ? Answer::Cancel : Answer::No);
}

std::optional<std::string> ScriptedDialogs::inputBox(std::string_view caption,
                                                     std::string_view prompt,
                                                     std::string_view value) {
    log_.push_back(
        {Kind::Input, {}, std::string(caption), std::string(prompt), std::string(value), {}});
    return next(texts_, {});
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialog& dialog) {
    log_.push_back({Kind::Open, {}, dialog.title, {}, {}, dialog});
    return next(texts_, {});
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialog& dialog) {
    log_.push_back({Kind::Save, {}, dialog.title, {}, {}, dialog});
    return next(texts_, {});
}

std::optional<std::string> ScriptedDialogs::chooseFolder(std::string_view title,
                                                         std::string_view start) {
    log_.push_back({Kind::Folder, {}, std::string(title), std::string(start), {}, {}});
    return next(texts_, {});
}

std::optional<Font> ScriptedDialogs::chooseFont(const Font& current) {
    log_.push_back({Kind::Font, {}, current.family, {}, {}, {}});
    return next(fonts_, {});
}

bool ScriptedDialogs::printDialog() {
    log_.push_back({Kind::Print, {}, {}, {}, {}, {}});
    return next(prints_, false);
}

bool ScriptedDialogs::printerSetup() {
    log_.push_back({Kind::PrinterSetup, {}, {}, {}, {}, {}});
    return next(prints_, false);
}

}  // namespace ui::memory
