#pragma once

// What the installation thread tells the user, and asks: the progress window and the disk
// prompt behind one interface. Display operations do nothing once cancel has been requested.
// Called on the installation thread only.

#include <cstdint>
#include <string>
#include <string_view>

namespace installer {

class ProgressSink {
public:
    // Answers of askLocation.
    enum Location { kCancel = 0, kRetry = 1, kApplyToAll = 2, kSkip = 3 };

    virtual ~ProgressSink() = default;

    // The component program `path` was not found: asks for another location for the disk
    // labelled `label`. `path` (at most 260 characters) comes back as typed.
    virtual int askLocation(std::string& path, std::string_view label) = 0;
    virtual void setTotal(std::int64_t kilobytes) = 0;
    virtual void beginComponent(std::string_view label, std::int64_t kilobytes) = 0;
    virtual void advance(std::uint64_t bytes) = 0;
    virtual void endComponent() = 0;
    // "Coping: " + path.
    virtual void showCopying(std::string_view path) = 0;
    // "Creating: " + path.
    virtual void showCreating(std::string_view path) = 0;
    virtual void showStatus(std::string_view text) = 0;
    // A warning box with the caption AppName + " Install".
    virtual void warning(std::string_view text) = 0;
    virtual void idle() {}
    // Reads the cancel flag under its lock (waits while the user is being asked).
    virtual bool isCancelRequested() = 0;
    // Runs the TeX system's hyphenation set-up for `installPath`.
    virtual void configureHyphenation(std::string_view installPath) = 0;
};

}  // namespace installer
