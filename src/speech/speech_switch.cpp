#include "speech/speech_switch.h"

#include "speech/messages.h"

namespace speech {

void SpeechSwitch::start(bool available) {
    on_ = available;
    enabled_ = available;
    if (available) {
        caption_ = messages::kCaptionSwitchOff;
        status_ = messages::kStatusOn;
    } else {
        caption_.clear();
        status_ = messages::kStatusUnavailable;
    }
}

void SpeechSwitch::toggle(RequestSink& reader, const std::string& programDirectory) {
    if (!enabled_) {
        return;
    }
    if (on_) {
        caption_ = messages::kCaptionSwitchOn;
        reader.submit({programDirectory, "", "", std::string(messages::kAnnounceSpeechOff)});
        on_ = false;
        status_.clear();
    } else {
        on_ = true;
        caption_ = messages::kCaptionSwitchOff;
        status_ = messages::kStatusOn;
        reader.submit({programDirectory, "", "", std::string(messages::kAnnounceSpeechOn)});
    }
}

}  // namespace speech
