#include "app/cli/cli.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace cli {
namespace {

constexpr std::string_view kVersion = "tattilo-cli 1.1";

void printHelp(std::ostream& out) {
    out << "Usage: tattilo-cli COMMAND [OPTIONS] [FILE]\n"
           "       tattilo-cli COMMAND --help\n"
           "       tattilo-cli --version\n\n"
           "Commands:\n";
    for (const Command& c : commands()) {
        out << "  " << c.name;
        for (std::size_t i = c.name.size(); i < 14; ++i) {
            out << ' ';
        }
        out << c.summary << '\n';
    }
    out << "\nText is read and written as Windows code page 1252 bytes.\n"
           "Exit status: 0 success, 1 refused or failed, 2 usage error.\n";
}

}  // namespace

int run(std::span<const std::string> args, Io& io) {
    if (args.empty()) {
        printHelp(io.err);
        return kUsage;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp(io.out);
        return kOk;
    }
    if (name == "--version") {
        io.out << kVersion << '\n';
        return kOk;
    }
    for (const Command& c : commands()) {
        if (c.name == name) {
            const auto rest = args.subspan(1);
            for (const std::string& a : rest) {
                if (a == "--help" || a == "-h") {
                    io.out << c.usage;
                    return kOk;
                }
            }
            return c.run(rest, io);
        }
    }
    io.err << "tattilo-cli: unknown command '" << name << "'\n";
    printHelp(io.err);
    return kUsage;
}

Arguments::Arguments(std::span<const std::string> args, std::vector<std::string_view> valued,
                     std::vector<std::string_view> flags) {
    auto contains = [](const std::vector<std::string_view>& list, std::string_view s) {
        for (auto v : list) {
            if (v == s) {
                return true;
            }
        }
        return false;
    };
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && a == "--") {
            options = false;  // what follows is positional, even when it starts with '-'
        } else if (options && a.size() > 1 && a[0] == '-') {
            if (contains(valued, a)) {
                if (i + 1 >= args.size()) {
                    error_ = "option " + a + " needs a value";
                    return;
                }
                values_.emplace_back(a, args[i + 1]);
                ++i;
            } else if (contains(flags, a)) {
                flags_.push_back(a);
            } else {
                error_ = "unknown option " + a;
                return;
            }
        } else {
            positional_.push_back(a);
        }
    }
}

std::optional<std::string> Arguments::value(std::string_view option) const {
    std::optional<std::string> found;
    for (const auto& [k, v] : values_) {
        if (k == option) {
            found = v;  // the last one given wins
        }
    }
    return found;
}

bool Arguments::flag(std::string_view option) const {
    for (const auto& f : flags_) {
        if (f == option) {
            return true;
        }
    }
    return false;
}

std::optional<int> Arguments::integer(std::string_view option, int fallback, int min, int max) {
    const auto text = value(option);
    if (!text) {
        return fallback;
    }
    int n = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [ptr, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || ptr != last || n < min || n > max) {
        error_ = "option " + std::string(option) + " needs a whole number from " +
                 std::to_string(min) + " to " + std::to_string(max);
        return std::nullopt;
    }
    return n;
}

std::optional<std::string> readInput(const std::string& path, Io& io) {
    if (path.empty()) {
        return std::string(std::istreambuf_iterator<char>(io.in), std::istreambuf_iterator<char>());
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        io.err << path << ": " << std::strerror(errno) << '\n';
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << file.rdbuf();
    if (file.bad()) {
        io.err << path << ": " << std::strerror(errno) << '\n';
        return std::nullopt;
    }
    return buffer.str();
}

}  // namespace cli
