#include <brlapi.h>

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <cstdlib>
#include <vector>

#include "gui/braille_display_factory.h"

namespace gui {
namespace {

// How long to wait before asking for a server again after it was not there: connecting is cheap,
// but the focus may come back to the Braille editor many times a minute.
constexpr qint64 kRetryMilliseconds = 5000;

// The display through BrlAPI. The connection is made when the display is first wanted and kept;
// the display is taken (tty mode on the whole tree, as a screen reader takes it) only while it is
// wanted. A server that goes away is noticed through BrlAPI's exception handler, which would
// otherwise end the program: the connection is then dropped and tried again later.
class BrlapiDisplay : public ui::BrailleDisplay {
public:
    BrlapiDisplay() : handle_(static_cast<brlapi_handle_t*>(std::malloc(brlapi_getHandleSize()))) {}

    ~BrlapiDisplay() override {
        disconnect();
        std::free(handle_);
    }

    int acquire() override {
        if (fd_ < 0 && !connect()) {
            return 0;
        }
        if (!held_) {
            if (brlapi__enterTtyModeWithPath(handle_, nullptr, 0, nullptr) < 0 ||
                !acceptOurKeys()) {
                disconnect();
                return 0;
            }
            held_ = true;
        }
        return static_cast<int>(width_);
    }

    void show(const std::vector<ui::BrailleDots>& cells) override {
        if (!held_) {
            return;
        }
        std::vector<unsigned char> dots(static_cast<std::size_t>(width_) * height_, 0);
        for (std::size_t i = 0; i < cells.size() && i < width_; ++i) {
            dots[i] = cells[i];
        }
        if (brlapi__writeDots(handle_, dots.data()) < 0) {
            disconnect();
        }
    }

    void release() override {
        if (held_) {
            held_ = false;
            if (brlapi__leaveTtyMode(handle_) < 0) {
                disconnect();
            }
        }
    }

    void setOnKey(std::function<void(ui::DisplayKey)> onKey) override { onKey_ = std::move(onKey); }

private:
    static void onException(brlapi_handle_t* handle, int, brlapi_packetType_t, const void*,
                            size_t) {
        if (current_ != nullptr && current_->handle_ == handle) {
            current_->broken_ = true;
        }
    }

    bool connect() {
        if (tried_.isValid() && tried_.elapsed() < kRetryMilliseconds) {
            return false;
        }
        tried_.start();
        brlapi_connectionSettings_t settings = BRLAPI_SETTINGS_INITIALIZER;
        const int fd = brlapi__openConnection(handle_, &settings, &settings);
        if (fd < 0) {
            return false;
        }
        fd_ = fd;
        current_ = this;
        broken_ = false;
        brlapi__setExceptionHandler(handle_, &BrlapiDisplay::onException);
        unsigned x = 0;
        unsigned y = 0;
        if (brlapi__getDisplaySize(handle_, &x, &y) < 0 || x == 0) {
            disconnect();
            return false;
        }
        width_ = x;
        height_ = y == 0 ? 1 : y;
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                         [this] { readKeys(); });
        return true;
    }

    bool acceptOurKeys() {
        if (brlapi__ignoreAllKeys(handle_) < 0) {
            return false;
        }
        const brlapi_keyCode_t route[] = {BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_ROUTE};
        const brlapi_keyCode_t pan[] = {BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_FWINLT,
                                        BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_FWINRT};
        return brlapi__acceptKeys(handle_, brlapi_rangeType_command, route, 1) >= 0 &&
               brlapi__acceptKeys(handle_, brlapi_rangeType_key, pan, 2) >= 0;
    }

    void readKeys() {
        brlapi_keyCode_t code = 0;
        int got = 0;
        while (!broken_ && (got = brlapi__readKey(handle_, 0, &code)) > 0) {
            if ((code & BRLAPI_KEY_TYPE_MASK) != BRLAPI_KEY_TYPE_CMD || !onKey_) {
                continue;
            }
            const brlapi_keyCode_t block = code & BRLAPI_KEY_CMD_BLK_MASK;
            const brlapi_keyCode_t argument = code & BRLAPI_KEY_CMD_ARG_MASK;
            if (block == BRLAPI_KEY_CMD_ROUTE) {
                onKey_({ui::DisplayKey::Route, static_cast<int>(argument)});
            } else if (block == 0 && argument == BRLAPI_KEY_CMD_FWINLT) {
                onKey_({ui::DisplayKey::PanLeft, 0});
            } else if (block == 0 && argument == BRLAPI_KEY_CMD_FWINRT) {
                onKey_({ui::DisplayKey::PanRight, 0});
            }
        }
        if (got < 0 || broken_) {
            disconnect();
        }
    }

    void disconnect() {
        notifier_.reset();
        if (fd_ >= 0) {
            brlapi__closeConnection(handle_);
        }
        fd_ = -1;
        held_ = false;
        broken_ = false;
        if (current_ == this) {
            current_ = nullptr;
        }
    }

    static inline BrlapiDisplay* current_ = nullptr;

    brlapi_handle_t* handle_;
    int fd_ = -1;
    bool held_ = false;
    bool broken_ = false;
    unsigned width_ = 0;
    unsigned height_ = 1;
    QElapsedTimer tried_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void(ui::DisplayKey)> onKey_;
};

}  // namespace

std::unique_ptr<ui::BrailleDisplay> makeBrailleDisplay() {
    return std::make_unique<BrlapiDisplay>();
}

}  // namespace gui
