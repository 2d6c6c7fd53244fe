#include "installer/ckey.h"

namespace installer {

CKey::CKey(system::System& sys, system::RegRoot root, std::string subKey)
    : sys_(sys), root_(root), subKey_(std::move(subKey)) {}

bool CKey::open() {
    mode_ = sys_.regKeyWritable(root_, subKey_) ? Mode::Full : Mode::Closed;
    return isOpen();
}

bool CKey::openForQuery() {
    mode_ = sys_.regKeyExists(root_, subKey_) ? Mode::Query : Mode::Closed;
    return isOpen();
}

bool CKey::create() {
    mode_ = sys_.regCreateKey(root_, subKey_) ? Mode::Full : Mode::Closed;
    return isOpen();
}

std::optional<system::RegValue> CKey::read(std::string_view name, std::size_t capacity) const {
    if (!isOpen()) {
        return std::nullopt;
    }
    auto value = sys_.regQueryValue(root_, subKey_, name);
    if (!value || value->data.size() > capacity) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> CKey::readString(std::string_view name) const {
    auto value = read(name, 260);
    if (!value || value->type != system::kRegSz) {
        return std::nullopt;
    }
    std::string text = value->data;
    const auto zero = text.find('\0');
    if (zero != std::string::npos) {
        text.resize(zero);
    }
    return text;
}

bool CKey::writeString(std::string_view name, std::string_view text) {
    return write(name, system::kRegSz, std::string(text) + '\0');
}

bool CKey::write(std::string_view name, std::uint32_t type, std::string_view bytes) {
    if (mode_ != Mode::Full) {
        return false;
    }
    return sys_.regSetValue(root_, subKey_, name, system::RegValue{type, std::string(bytes)});
}

}  // namespace installer
