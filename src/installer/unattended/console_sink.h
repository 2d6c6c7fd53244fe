#pragma once

// The progress of an unattended installation, printed: the component being installed, each
// file created or copied, status texts and warnings, the progress in steps of 10 %. A disk
// prompt is answered Skip. Ctrl+C (the `interrupted` callback) requests cancel.

#include <cstdint>
#include <functional>
#include <string>

#include "installer/cerror.h"
#include "installer/progress_sink.h"
#include "installer/system/system.h"
#include "installer/unattended/console.h"

namespace installer {

class ConsoleSink : public ProgressSink {
public:
    ConsoleSink(Console& console, system::System& sys, std::string caption, CancelFlag& cancel,
                std::function<bool()> interrupted)
        : console_(console),
          sys_(sys),
          caption_(std::move(caption)),
          cancel_(cancel),
          interrupted_(std::move(interrupted)) {}

    int askLocation(std::string& path, std::string_view label) override;
    void setTotal(std::int64_t kilobytes) override;
    void beginComponent(std::string_view label, std::int64_t kilobytes) override;
    void advance(std::uint64_t bytes) override;
    void endComponent() override {}
    void showCopying(std::string_view path) override;
    void showCreating(std::string_view path) override;
    void showStatus(std::string_view text) override;
    void warning(std::string_view text) override;
    bool isCancelRequested() override;
    void configureHyphenation(std::string_view installPath) override;

private:
    bool cancelled() { return isCancelRequested(); }

    Console& console_;
    system::System& sys_;
    std::string caption_;
    CancelFlag& cancel_;
    std::function<bool()> interrupted_;
    std::uint64_t totalBytes_ = 0;
    std::uint64_t done_ = 0;
    int shown_ = 0;
};

}  // namespace installer
