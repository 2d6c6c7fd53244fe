#pragma once

// RIFF WAVE encoding of synthesised speech: 16-bit PCM, mono.

#include <string>

#include "speech/engine.h"

namespace speech {

// The bytes of a WAVE file holding `audio` (a zero rate is written as 22050).
std::string waveBytes(const Pcm& audio);

}  // namespace speech
