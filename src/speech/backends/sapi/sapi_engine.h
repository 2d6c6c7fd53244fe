#pragma once

// The engine on a Windows machine without ECI: a SAPI 5 voice (ISpVoice, part of Windows),
// the first one whose language attribute lists Italian (LANGID 410). Each utterance is handed
// to the voice asynchronously and purges whatever it was still saying, so typing never waits
// and each request interrupts the one before it, as with ECI.
//
// Text reaches the voice as plain text, never as SAPI XML (a formula's '<' is a character),
// converted from code page 1252 with the program's one table. The workbench's speed scale
// (50 normal, 0..250) maps to SAPI's rate -10..10, where 10 is three times the normal speed
// and -10 a third of it: rate = 10 * log3(speed / 50), rounded and clamped (30 gives -5,
// 90 gives 5, 150 and above 10).
//
// The language dialect parameter is accepted and remembered (the voice is Italian already);
// other parameters are refused with -1. Only the sound device is supported: there is no
// memory output. Used from the thread that created it, which it keeps in a COM apartment
// for as long as it lives.

#include <memory>
#include <string>
#include <string_view>

#include "speech/engine.h"

struct ISpVoice;

namespace speech {

class ComApartment;

// SAPI's rate (-10..10) for a workbench speed.
int sapiRate(int speed);

// Whether a voice's "Language" attribute ("410", "409;410", "0410") lists Italian (410).
bool listsItalian(std::wstring_view languageAttribute);

class SapiEngine final : public Engine {
public:
    // Whether the machine has an Italian SAPI voice.
    static bool italianVoicePresent();
    // A voice set to the first Italian voice; null when SAPI, COM or the voice is missing.
    static std::unique_ptr<SapiEngine> createItalian();

    // Speaks through `voice`, already set to its Italian voice, taking over one reference.
    explicit SapiEngine(ISpVoice* voice);
    ~SapiEngine() override;
    SapiEngine(const SapiEngine&) = delete;
    SapiEngine& operator=(const SapiEngine&) = delete;

    int setParam(int param, int value) override;
    int setVoiceParam(int voice, int param, int value) override;
    bool addText(std::string_view text) override;
    bool addWords(const SpokenText& words) override;
    bool synthesize() override;
    // Waits for the voice in short steps and gives up when its reading position stops
    // moving for several seconds (a voice without a working sound device).
    bool synchronize() override;
    bool speaking() override;
    bool stop() override;

private:
    SapiEngine(ISpVoice* voice, std::unique_ptr<ComApartment> apartment);

    std::unique_ptr<ComApartment> apartment_;  // outlives the voice
    ISpVoice* voice_;
    std::wstring queued_;
    int dialect_ = kDialectStandardItalian;
    int speed_ = kDefaultSpeed;
    bool pending_ = false;  // an utterance was handed over and not yet seen done
};

}  // namespace speech
