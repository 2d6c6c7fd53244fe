#pragma once

// The formula error report: the one place where messages about formulas go. The main window
// owns one and passes it by reference to whoever converts or checks formulas; nothing here is
// global. Reporting stores the message, raises the error flag and hands the message to the
// sink, which decides how the user learns of it (the window beeps and shows a warning, the
// command line prints to standard error). Whoever stops its work because of the error clears
// the flag again.

#include <string>

namespace notation {

class FormulaErrorSink {
public:
    virtual ~FormulaErrorSink() = default;
    virtual void formulaError(const std::string& message) = 0;
};

class FormulaErrorReport {
public:
    // The sink is not owned and may be null (the message is then only kept); it must outlive
    // the report or be replaced first.
    explicit FormulaErrorReport(FormulaErrorSink* sink = nullptr) : sink_(sink) {}

    void setSink(FormulaErrorSink* sink) { sink_ = sink; }

    // Stores the message, raises the flag, then tells the sink.
    void report(const std::string& message);

    bool raised() const { return raised_; }
    // Lowers the flag; the last message stays readable.
    void clear() { raised_ = false; }
    const std::string& message() const { return message_; }

private:
    FormulaErrorSink* sink_;
    std::string message_;
    bool raised_ = false;
};

}  // namespace notation
