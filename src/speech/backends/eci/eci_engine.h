#pragma once

// The engine on Windows: the ECI text-to-speech library "eci.dll", loaded at run time from the
// program directory (so that a missing library leaves the program running, silent). Its
// Italian voice reads code page 1252 text as it is. Rendered words reach it token by token,
// a blank between two that would touch, as they reach espeak-ng on Linux: a lone letter is
// said as a letter, never glued to the word before it.

#include <filesystem>
#include <memory>

#include "speech/engine.h"

namespace speech {

class EciEngine final : public Engine {
public:
    // The library and its three files: "eci.dll", "eci.ini", "enu.syn", "ita.syn".
    static bool filesPresent(const std::filesystem::path& programDirectory);

    // Loads the library and creates an instance; null when either fails.
    static std::unique_ptr<EciEngine> create(const std::filesystem::path& programDirectory);

    ~EciEngine() override;
    EciEngine(const EciEngine&) = delete;
    EciEngine& operator=(const EciEngine&) = delete;

    int setParam(int param, int value) override;
    int setVoiceParam(int voice, int param, int value) override;
    bool addText(std::string_view text) override;
    bool addWords(const SpokenText& words) override;
    bool synthesize() override;
    bool synchronize() override;
    bool speaking() override;
    bool stop() override;

    struct Functions;  // the library's entry points

private:
    EciEngine(void* module, std::unique_ptr<Functions> functions, void* handle);

    void* module_;
    std::unique_ptr<Functions> functions_;
    void* handle_;
};

}  // namespace speech
