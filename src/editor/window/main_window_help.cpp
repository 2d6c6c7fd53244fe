#include "editor/window/main_window.h"

#include "editor/messages.h"

// TForm1: help pages, the about panel and its links, and the speech switch.

namespace editor {
namespace {

// Where requests go while the window has no speech reader.
struct NoSpeech : speech::RequestSink {
    void submit(const speech::Request&) override {}
};

}  // namespace

// ---- help, about, links

void TForm1::openHelpFile(std::string_view name, std::string_view notFound,
                          std::string_view loadError) {
    const std::filesystem::path file = environment_.programDirectory / std::string(name);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        s_.dialogs.error(notFound);
        return;
    }
    if (!s_.shell.open(file.string())) {
        s_.dialogs.error(loadError);
    }
}

void TForm1::AiutoClick() {
    openHelpFile(text::kHelpFile, text::kHelpNotFound, text::kHelpLoadError);
}

void TForm1::CodicitastnumericaClick() {
    openHelpFile(text::kKeypadFile, text::kKeypadNotFound, text::kKeypadLoadError);
}

void TForm1::InformazionisuClick() {
    centrePanel(w_.form.clientWidth(), w_.form.clientHeight());
    w_.Panel1.setVisible(true);
    w_.PanelOk.setFocus();
}

void TForm1::PanelOkClick() {
    w_.Panel1.setVisible(false);
    activeEditor().setFocus();
}

void TForm1::Timer2Timer() {
    w_.Timer2.setEnabled(false);
    w_.Panel1.setVisible(false);
    if (activated_) {
        activeEditor().setFocus();
    }
}

void TForm1::LinkClick(int which) {
    const std::string_view name = which == 1 ? text::kLink1File : text::kLink2File;
    const std::filesystem::path file = environment_.programDirectory / std::string(name);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        explain(std::string(name) + std::string(text::kNotFound));
        return;
    }
    if (!s_.shell.open(file.string())) {
        s_.dialogs.error(std::string(text::kLinkLoadError) + std::string(name));
    }
}

void TForm1::LinkMouseMove(int which) {
    (which == 1 ? w_.Link1 : w_.Link2).setTextColor(ui::colors::kRed);
}

void TForm1::Panel1MouseMove() {
    w_.Link1.setTextColor(ui::colors::kWhite);
    w_.Link2.setTextColor(ui::colors::kWhite);
}

// ---- speech

void TForm1::AttivasintesivocaleClick() {
    // The switch says so while speech is still on, so that switching off is heard too.
    NoSpeech none;
    speechSwitch_.toggle(speech_ != nullptr ? *speech_ : none,
                         environment_.programDirectory.string());
    menuItem(Command::Attivasintesivocale1).setCaption(speechSwitch_.menuCaption());
    if (braille_) {
        speechLabel();
    }
}

}  // namespace editor
