#pragma once

// One registry key, reached through the system layer. Made with a root and a sub-key path;
// nothing is opened until one of the open calls succeeds. Closing happens on destruction.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "installer/system/system.h"

namespace installer {

class CKey {
public:
    CKey(system::System& sys, system::RegRoot root, std::string subKey);

    // Opens an existing key with full access: a key the user may not change counts as
    // missing.
    bool open();
    // Opens an existing key for reading values only.
    bool openForQuery();
    // Creates the key (and its parents) when missing and opens it for writing.
    bool create();
    void close() { mode_ = Mode::Closed; }
    bool isOpen() const { return mode_ != Mode::Closed; }

    // The value's data when it exists and fits in `capacity` bytes.
    std::optional<system::RegValue> read(std::string_view name, std::size_t capacity) const;
    // A REG_SZ value without its terminating zero; nullopt when absent or of another type.
    std::optional<std::string> readString(std::string_view name) const;
    bool writeString(std::string_view name, std::string_view text);
    bool write(std::string_view name, std::uint32_t type, std::string_view bytes);

private:
    enum class Mode { Closed, Query, Full };
    system::System& sys_;
    system::RegRoot root_;
    std::string subKey_;
    Mode mode_ = Mode::Closed;
};

}  // namespace installer
