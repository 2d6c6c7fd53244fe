#include "installer/windows/window_prompter.h"

namespace installer {

namespace {

ui::Icon toUi(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return ui::Icon::Information;
        case Icon::Warning:
            return ui::Icon::Warning;
        case Icon::Error:
            return ui::Icon::Error;
        case Icon::Question:
            return ui::Icon::Question;
        case Icon::None:
            break;
    }
    return ui::Icon::None;
}

ui::Buttons toUi(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return ui::Buttons::OkCancel;
        case Buttons::YesNo:
            return ui::Buttons::YesNo;
        case Buttons::Ok:
            break;
    }
    return ui::Buttons::Ok;
}

Answer fromUi(ui::Answer answer) {
    switch (answer) {
        case ui::Answer::Yes:
            return Answer::Yes;
        case ui::Answer::No:
            return Answer::No;
        case ui::Answer::Cancel:
            return Answer::Cancel;
        case ui::Answer::Ok:
            break;
    }
    return Answer::Ok;
}

}  // namespace

Answer WindowPrompter::message(std::string_view text, std::string_view caption, Icon icon,
                               Buttons buttons) {
    Answer answer = Answer::Cancel;
    thread_.call([&] {
        answer = fromUi(
            dialogs_.message({std::string(text), std::string(caption), toUi(icon), toUi(buttons)}));
    });
    return answer;
}

bool WindowPrompter::license(std::string_view text) {
    bool agreed = false;
    thread_.call([&] { agreed = license_ && license_(text); });
    return agreed;
}

}  // namespace installer
