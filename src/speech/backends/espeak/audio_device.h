#pragma once

// The sound output of the espeak-ng engine: 16-bit mono samples written to the desktop's
// sound server or the ALSA device, through the portable audio library that espeak-ng itself
// ships with (libpcaudio, loaded at run time so that building needs none of its headers).
//
// A machine without any sound output is normal here (servers, CI, a session without audio):
// open() then returns null and the engine speaks into the void, at once and silently. The
// audio libraries are kept from printing their complaints on the terminal.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace speech {

// Whether this session has a sound output to try: a PulseAudio or PipeWire server socket, a
// PULSE_SERVER setting, or an ALSA playback device node. Nothing is opened to find out.
bool soundOutputPresent();

// Where the engine's audio goes: the sound device, or another output that takes samples at
// the pace they are heard.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Blocks while the output's buffer is full. False when the output failed.
    virtual bool write(const std::int16_t* samples, std::size_t count) = 0;
    // Drops what is buffered and not yet heard.
    virtual void flush() = 0;
};

class AudioDevice final : public SoundOutput {
public:
    // The default output for mono 16-bit audio at `sampleRate`; null when there is none or it
    // cannot be opened.
    static std::unique_ptr<AudioDevice> open(int sampleRate);

    ~AudioDevice() override;
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    bool write(const std::int16_t* samples, std::size_t count) override;
    void flush() override;

    struct Api;  // the functions of the loaded library

private:
    AudioDevice(const Api* api, void* object) : api_(api), object_(object) {}

    const Api* api_;
    void* object_;
};

}  // namespace speech
