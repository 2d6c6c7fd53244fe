#pragma once

// Component programs: "QKIP", then one-byte operations with string operands (a length byte
// and that many bytes) up to operation 255. Each selected component has one; running it
// unpacks and copies files and queues the later steps.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "installer/system/system.h"

namespace installer {

class InstallJob;

// Reads a component program through a 128-byte buffer.
class ComponentProgram {
public:
    static constexpr std::size_t kBufferSize = 128;

    // Opens `path`; raises CError 2 when it cannot be opened, 3 when it is not a component
    // program (its first four bytes are not "QKIP").
    ComponentProgram(system::System& sys, std::string path);

    const std::string& path() const { return path_; }
    // The next operation; raises CError 3 at the end of the file or on a read error.
    std::uint8_t readOperation();
    // A string operand; nullopt when the file ends first.
    std::optional<std::string> readString();

private:
    std::optional<std::uint8_t> readByte();

    system::System& sys_;
    std::string path_;
    std::unique_ptr<system::ReadFile> file_;
    char buffer_[kBufferSize];
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

// Executes the operations of `program` for `job` until operation 255. Raises CError: 3 (a
// missing operation or operand), 5 naming the program (an unknown operation, or a path that
// would leave the install path), 7 (a shortcut before any group), and whatever the copying
// and unpacking raise.
void executeComponentProgram(InstallJob& job, ComponentProgram& program);

}  // namespace installer
