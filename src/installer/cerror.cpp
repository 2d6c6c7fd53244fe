#include "installer/cerror.h"

#include <array>
#include <cassert>

namespace installer {

namespace {

constexpr std::array<std::string_view, 12> kMessages = {
    "Memory allocation error.",  "Can not find file %s.",
    "Can not open file %s.",     "Can not read file %s.",
    "Can not write to file %s.", "File %s is bad or corrupted.",
    "Error executing %s.",       "Can not add Start Menu icons!",
    "Installation cancelled!",   "Installation successfully complete!",
    "Can not copy file %s.",     "Bad ini-file name.",
};

}  // namespace

std::string_view CError::message(int code) {
    if (code < 0 || code >= static_cast<int>(kMessages.size())) {
        return {};
    }
    return kMessages[static_cast<std::size_t>(code)];
}

std::string CError::text() const {
    std::string out(message(code_));
    const auto at = out.find("%s");
    if (at != std::string::npos) {
        out.replace(at, 2, file_);
    }
    return out;
}

void StatusSlot::store(const CError& error) {
    std::lock_guard guard(lock_);
    error_ = error;
}

CError StatusSlot::load() const {
    std::lock_guard guard(lock_);
    return error_;
}

void StatusSlot::reset() {
    store(CError(CError::kSuccess));
}

bool CancelFlag::isSet() const {
    std::lock_guard guard(lock_);
    return set_;
}

void CancelFlag::set() {
    std::lock_guard guard(lock_);
    set_ = true;
}

void CancelFlag::setLocked(std::unique_lock<std::mutex>& held) {
    assert(held.owns_lock() && held.mutex() == &lock_);
    (void)held;
    set_ = true;
}

}  // namespace installer
