#include "notation/formula_error_report.h"

namespace notation {

void FormulaErrorReport::report(const std::string& message) {
    message_ = message;
    raised_ = true;
    if (sink_ != nullptr) {
        sink_->formulaError(message_);
    }
}

}  // namespace notation
