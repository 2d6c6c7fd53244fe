#pragma once

// What the window of a program killed while the student typed went through, as the test that
// typed the keys knows it: each state with the moment its key was sent. The copy the program
// left must hold one of them, and none older than the last one that stayed unchanged for
// kMustBeCopied.

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

#include "editor/recovery/recovery_copy.h"
#include "notation/conversion.h"

namespace recovery_test {

using KillClock = std::chrono::steady_clock;

// The pause after which a copy is written, the timer's tick, and room for a loaded machine.
constexpr auto kMustBeCopied = std::chrono::milliseconds(2000 + 500 + 1500);

struct Model {
    editor::RecoveryState state;
    std::vector<std::pair<KillClock::time_point, editor::RecoveryState>> history;

    // The text of the page being typed, in the mode's own notation.
    std::string& text() {
        return state.braille ? state.pages.brailleOf(state.page) : state.pages.latexOf(state.page);
    }
    void record() { history.emplace_back(KillClock::now(), state); }
    // The mode switch the program makes: false (and nothing changes) when a page would not
    // convert, which the program would refuse with a message.
    bool switchMode() {
        editor::PageStore converted = state.pages;
        notation::FormulaErrorReport report;
        const auto way = state.braille ? notation::ConversionDirection::BrailleToLatex
                                       : notation::ConversionDirection::LatexToBraille;
        if (!notation::convertAllPages(way, converted.latex, converted.braille, report)) {
            return false;
        }
        state.pages = converted;
        state.braille = !state.braille;
        return true;
    }
    // The oldest state a copy taken before `kill` may hold: the newest that stayed unchanged
    // long enough; nullopt when none did.
    std::optional<std::size_t> oldestAllowed(KillClock::time_point kill) const {
        std::optional<std::size_t> allowed;
        for (std::size_t i = 0; i < history.size(); ++i) {
            const auto until = i + 1 < history.size() ? history[i + 1].first : kill;
            if (until - history[i].first >= kMustBeCopied) {
                allowed = i;
            }
        }
        return allowed;
    }
    // The newest state of the history that `left` holds exactly; nullopt for none.
    std::optional<std::size_t> find(const editor::RecoveryState& left) const {
        std::optional<std::size_t> found;
        for (std::size_t i = 0; i < history.size(); ++i) {
            const editor::RecoveryState& s = history[i].second;
            if (s.pages == left.pages && s.page == left.page && s.braille == left.braille) {
                found = i;
            }
        }
        return found;
    }
};

// The same work in the window: pages in both notations, the page shown, the mode.
inline bool sameWork(const editor::RecoveryState& a, const editor::RecoveryState& b) {
    return a.pages == b.pages && a.page == b.page && a.braille == b.braille;
}

}  // namespace recovery_test
