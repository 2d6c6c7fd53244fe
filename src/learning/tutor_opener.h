#pragma once

// How the main window hands one step of the caret's line to a tutor window and takes the
// result back. The three tutor windows implement it; a test of the main window may put a fake
// in their place.

#include <optional>
#include <string>
#include <string_view>

#include "learning/tutor_work_list.h"

namespace learning {

struct TutorOutcome {
    // The line that replaces the caret's line; nullopt when the student left without a result.
    std::optional<std::string> result;
    // The step the student chose from the tutor's own "Tutor" menu: the main window takes it
    // next, on the result line.
    std::optional<TutorStep> next;
};

class TutorOpener {
public:
    virtual ~TutorOpener() = default;

    // Shows the tutor modally on `line` (the caret's line, ending with "=") for the step named
    // by `stepCaption`; returns when it has closed.
    virtual TutorOutcome openTutor(std::string_view stepCaption, std::string_view line) = 0;
};

}  // namespace learning
