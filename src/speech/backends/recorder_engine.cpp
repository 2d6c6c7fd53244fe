#include "speech/backends/recorder_engine.h"

namespace speech {

RecorderEngine::RecorderEngine(std::shared_ptr<Log> log) : log_(std::move(log)) {}

int RecorderEngine::setParam(int param, int value) {
    log_->push_back("setParam " + std::to_string(param) + " " + std::to_string(value));
    if (param != kParamLanguageDialect) {
        return -1;
    }
    const int previous = dialect_;
    dialect_ = value;
    return previous;
}

int RecorderEngine::setVoiceParam(int voice, int param, int value) {
    log_->push_back("setVoiceParam " + std::to_string(voice) + " " + std::to_string(param) + " " +
                    std::to_string(value));
    if (voice != kVoiceActive || param != kVoiceParamSpeed) {
        return -1;
    }
    const int previous = speed_;
    speed_ = value;
    return previous;
}

bool RecorderEngine::addText(std::string_view text) {
    log_->push_back("addText " + std::string(text));
    queued_ += text;
    return true;
}

bool RecorderEngine::synthesize() {
    log_->push_back("synthesize");
    spoken_.push_back(std::move(queued_));
    queued_.clear();
    speaking_ = true;
    return true;
}

bool RecorderEngine::synchronize() {
    log_->push_back("synchronize");
    speaking_ = false;
    return true;
}

bool RecorderEngine::speaking() {
    log_->push_back("speaking");
    return speaking_;
}

bool RecorderEngine::stop() {
    log_->push_back("stop");
    queued_.clear();
    speaking_ = false;
    return true;
}

}  // namespace speech
