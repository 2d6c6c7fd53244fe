#pragma once

// An engine that speaks nothing and writes down every call, for tests and for checking what
// the reader would say. It behaves like a real engine in the one way callers can see: after
// synthesize() it reports speaking until stop() or synchronize().

#include <memory>
#include <string>
#include <vector>

#include "speech/engine.h"

namespace speech {

class RecorderEngine final : public Engine {
public:
    // The calls, one line each: "setParam 9 327680", "setVoiceParam 0 6 50",
    // "addText <text>", "synthesize", "synchronize", "speaking", "stop". Shared so that the
    // log outlives the engine's owner.
    using Log = std::vector<std::string>;

    explicit RecorderEngine(std::shared_ptr<Log> log = std::make_shared<Log>());

    int setParam(int param, int value) override;
    int setVoiceParam(int voice, int param, int value) override;
    bool addText(std::string_view text) override;
    bool synthesize() override;
    bool synchronize() override;
    bool speaking() override;
    bool stop() override;

    // The engine has said everything it was given (not a call: nothing is written down).
    void finishSpeaking() { speaking_ = false; }

    const std::shared_ptr<Log>& log() const { return log_; }
    // The texts that were synthesised (queued text at each synthesize()), in order.
    const std::vector<std::string>& spoken() const { return spoken_; }

private:
    std::shared_ptr<Log> log_;
    std::string queued_;
    std::vector<std::string> spoken_;
    bool speaking_ = false;
    int dialect_ = 0;
    int speed_ = 0;
};

}  // namespace speech
