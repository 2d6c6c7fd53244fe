#include "speech/wave_file.h"

#include <cstdint>

namespace speech {
namespace {

void put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

void put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

}  // namespace

std::string waveBytes(const Pcm& audio) {
    const std::uint32_t rate =
        audio.sampleRate > 0 ? static_cast<std::uint32_t>(audio.sampleRate) : 22050;
    const auto dataBytes = static_cast<std::uint32_t>(audio.samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    put32(out, 16);        // size of the format chunk
    put16(out, 1);         // PCM
    put16(out, 1);         // mono
    put32(out, rate);      // samples per second
    put32(out, rate * 2);  // bytes per second
    put16(out, 2);         // bytes per sample frame
    put16(out, 16);        // bits per sample
    out += "data";
    put32(out, dataBytes);
    for (const std::int16_t s : audio.samples) {
        put16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

}  // namespace speech
