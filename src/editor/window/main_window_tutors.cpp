#include "editor/window/main_window.h"
#include "editor/window/tutor_link.h"

#include <array>

#include "learning/messages.h"
#include "learning/tutor_menu.h"
#include "speech/request_sources.h"

// TForm1: the "Tutor" menu. Opening it analyses the caret's line and sets its entries; an
// entry, chosen from the menu or by its shortcut, analyses the line again (the caret may have
// moved since), refuses a step taken out of order, or opens the tutor window on the line and
// puts the tutor's result in its place.

namespace editor {
namespace {

using learning::TutorStep;

struct TutorEntry {
    Command command;
    TutorStep step;
};

constexpr std::array<TutorEntry, 8> kTutorEntries{{
    {Command::TutorTonde, TutorStep::RoundBrackets},
    {Command::TutorQuadre, TutorStep::SquareBrackets},
    {Command::TutorGraffe, TutorStep::Braces},
    {Command::TutorFrazioni, TutorStep::ComplexFractions},
    {Command::TutorAddizioni, TutorStep::AdditionsSubtractions},
    {Command::TutorMoltiplicazioni, TutorStep::MultiplicationsDivisions},
    {Command::TutorPotenze, TutorStep::Powers},
    {Command::TutorProprieta, TutorStep::PowerProperties},
}};

bool isOperation(TutorStep step) {
    return step == TutorStep::AdditionsSubtractions ||
           step == TutorStep::MultiplicationsDivisions || step == TutorStep::Powers ||
           step == TutorStep::PowerProperties;
}

bool isBracket(TutorStep step) {
    return step == TutorStep::RoundBrackets || step == TutorStep::SquareBrackets ||
           step == TutorStep::Braces;
}

// Whether the analysis enables the entry of `step`.
bool flagged(const learning::TutorAnalysis& a, TutorStep step) {
    const learning::StepFlags& f = a.flags;
    if (a.severalWays) {
        return false;
    }
    switch (step) {
        case TutorStep::RoundBrackets:
            return f.round && !f.fractionRelation;
        case TutorStep::SquareBrackets:
            return f.square && !f.fractionRelation;
        case TutorStep::Braces:
            return f.braces && !f.fractionRelation;
        case TutorStep::ComplexFractions:
            return f.fractionRelation;
        case TutorStep::AdditionsSubtractions:
            return f.sums;
        case TutorStep::MultiplicationsDivisions:
            return f.products;
        case TutorStep::Powers:
            return f.exponents;
        case TutorStep::PowerProperties:
            return f.properties;
    }
    return false;
}

// The tutor shortcuts reach this handler only when their entry is not enabled (an enabled
// entry runs from the menu table first): the step is then taken, or refused with its reason,
// all the same.
class TutorShortcuts : public KeyHandler {
public:
    explicit TutorShortcuts(TForm1& window) : window_(window) {}

    void keyDown(ui::KeyEvent& event) override {
        if (!window_.brailleMode() || window_.settings().tutor == 0) {
            return;
        }
        for (const TutorEntry& e : kTutorEntries) {
            const MenuEntry* entry = menuEntry(e.command);
            if (entry != nullptr && entry->shortcut.matches(event.key, event.shift)) {
                event.key = 0;
                window_.TutorEntryClick(e.step);
                return;
            }
        }
    }

private:
    TForm1& window_;
};

}  // namespace

void TForm1::wireTutors() {
    setCommandHandler(Command::MenuTutor, [this] { TutorMenuOpened(); });
    for (const TutorEntry& e : kTutorEntries) {
        const TutorStep step = e.step;
        setCommandHandler(e.command, [this, step] { TutorEntryClick(step); });
    }
    tutorKeys_ = std::make_unique<TutorShortcuts>(*this);
    addKeyHandler(*tutorKeys_);
}

void TForm1::showTutorEntries(const learning::TutorAnalysis* analysis) {
    const bool relation = analysis != nullptr && analysis->flags.fractionRelation;
    for (const TutorEntry& e : kTutorEntries) {
        ui::Control& item = menuItem(e.command);
        item.setEnabled(analysis != nullptr && flagged(*analysis, e.step));
        if (e.step == TutorStep::ComplexFractions) {
            item.setVisible(relation);
        } else if (isOperation(e.step)) {
            item.setVisible(!relation);
        }
    }
}

void TForm1::TutorMenuOpened() {
    namespace msg = learning::messages;
    speak(speech::silenceRequest(environment_.programDirectory.string()));
    showTutorEntries(nullptr);
    if (w_.Memo2.text().empty()) {
        return;
    }
    selectCaretLine();
    const learning::TutorAnalysis analysis = learning::analyseTutorLine(w_.Memo2.selText());
    showTutorEntries(&analysis);
    if (analysis.flags.fractionRelation) {
        s_.dialogs.beep();
        s_.dialogs.warning(msg::kTutorRelation);
    }
    if (analysis.severalWays) {
        s_.dialogs.beep();
        s_.dialogs.warning(msg::kTutorSeveralWays);
    }
}

void TForm1::TutorEntryClick(learning::TutorStep step) {
    std::string line;
    if (!w_.Memo2.text().empty()) {
        selectCaretLine();
        line = w_.Memo2.selText();
    }
    const std::size_t lineStart = w_.Memo2.selStart();
    const std::size_t lineLength = w_.Memo2.selLength();
    const learning::TutorAnalysis analysis = learning::analyseTutorLine(line);
    showTutorEntries(&analysis);
    if (auto refusal = learning::checkStep(analysis, step, settings_.tutor)) {
        s_.dialogs.beep();
        s_.dialogs.warning(learning::refusalMessage(*refusal));
        return;
    }
    learning::TutorOpener* tutor = isBracket(step)                       ? hooks_.bracketsTutor
                                   : step == TutorStep::ComplexFractions ? hooks_.fractionsTutor
                                                                         : hooks_.operationsTutor;
    if (tutor == nullptr) {
        return;
    }
    const learning::TutorOutcome outcome =
        tutor->openTutor(learning::stepCaption(step), analysis.line);
    if (outcome.result) {
        w_.Memo2.setSelection(lineStart, lineLength);
        w_.Memo2.setSelText(*outcome.result);  // the caret ends just after it
    }
    w_.Memo2.setFocus();
    if (outcome.next) {
        TutorEntryClick(*outcome.next);
    }
}

learning::TutorHost tutorHost(const TForm1& mainWindow) {
    return {[&mainWindow] { return mainWindow.chordInput(); },
            [&mainWindow] { return mainWindow.widgets().Timer1.interval(); },
            [&mainWindow] { return mainWindow.speechOn(); },
            mainWindow.environment().programDirectory.string()};
}

}  // namespace editor
