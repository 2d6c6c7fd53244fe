#include "speech/backends/espeak/espeak_library.h"

#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>

#include <system_error>

#include "speech/backends/espeak/text_utf8.h"

namespace speech {
namespace {

// The sink of the synthesis running on this thread; the library calls back on the caller's
// thread in synchronous mode.
thread_local const EspeakLibrary::SampleSink* currentSink = nullptr;

int onSamples(short* wav, int count, espeak_EVENT* /*events*/) {
    if (wav == nullptr || count <= 0 || currentSink == nullptr) {
        return 0;
    }
    const bool more =
        (*currentSink)(reinterpret_cast<const std::int16_t*>(wav), static_cast<std::size_t>(count));
    return more ? 0 : 1;
}

}  // namespace

// The library's entry points, looked up when it is loaded. It is loaded on the first start, not
// linked: its sound libraries would otherwise be loaded and relocated by every program start,
// tattilo-cli converting one formula included.
struct EspeakLibrary::Functions {
    decltype(&::espeak_Initialize) initialize = nullptr;
    decltype(&::espeak_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&::espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&::espeak_TextToPhonemes) textToPhonemes = nullptr;
    decltype(&::espeak_SetParameter) setParameter = nullptr;
    decltype(&::espeak_Synth) synth = nullptr;
    decltype(&::espeak_Terminate) terminate = nullptr;

    // True when every entry point was found.
    bool load(void* library) {
        return find(library, "espeak_Initialize", initialize) &&
               find(library, "espeak_SetVoiceByName", setVoiceByName) &&
               find(library, "espeak_SetSynthCallback", setSynthCallback) &&
               find(library, "espeak_TextToPhonemes", textToPhonemes) &&
               find(library, "espeak_SetParameter", setParameter) &&
               find(library, "espeak_Synth", synth) && find(library, "espeak_Terminate", terminate);
    }

private:
    template <typename F>
    static bool find(void* library, const char* name, F& function) {
        function = reinterpret_cast<F>(dlsym(library, name));
        return function != nullptr;
    }
};

EspeakLibrary::EspeakLibrary() : f_(std::make_unique<Functions>()) {}

EspeakLibrary& EspeakLibrary::instance() {
    static EspeakLibrary library;
    return library;
}

EspeakLibrary::~EspeakLibrary() {
    if (started_) {
        f_->terminate();
    }
    // The library stays loaded: its own exit handlers may still run.
}

bool EspeakLibrary::start(const std::filesystem::path& programDirectory) {
    std::lock_guard lock(mutex_);
    if (tried_) {
        return started_;
    }
    tried_ = true;
    // Never closed: the library stays loaded for the rest of the process.
    void* const library = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr || !f_->load(library)) {
        return false;
    }
    std::string dataPath;
    std::error_code ec;
    if (!programDirectory.empty() &&
        std::filesystem::is_directory(programDirectory / "espeak-ng-data", ec)) {
        dataPath = programDirectory.string();
    }
    // Synchronous output: the samples come back to us, and the library never opens a sound
    // device of its own (nor prints the audio library's complaints when there is none).
    const int rate =
        f_->initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, dataPath.empty() ? nullptr : dataPath.c_str(),
                       espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) {
        return false;
    }
    if (f_->setVoiceByName("it") != EE_OK) {
        f_->terminate();
        return false;
    }
    voice_ = "it";
    f_->setSynthCallback(onSamples);
    sampleRate_ = rate;
    started_ = true;
    return true;
}

int EspeakLibrary::sampleRate() const {
    std::lock_guard lock(mutex_);
    return sampleRate_;
}

bool EspeakLibrary::selectVoice(const std::string& voice) {
    if (voice != voice_) {
        if (f_->setVoiceByName(voice.c_str()) != EE_OK) {
            return false;
        }
        voice_ = voice;
    }
    return true;
}

const std::string& EspeakLibrary::letterName(char letter) {
    std::map<char, std::string>& names = letterNames_[voice_];
    if (const auto found = names.find(letter); found != names.end()) {
        return found->second;
    }
    std::string phonemes;
    const char text[2] = {letter, '\0'};
    const void* rest = text;
    while (rest != nullptr) {
        if (const char* clause = f_->textToPhonemes(&rest, espeakCHARS_UTF8, 0)) {
            phonemes += clause;
        }
    }
    while (!phonemes.empty() && phonemes.back() == ' ') {
        phonemes.pop_back();
    }
    // Phoneme codes never hold "]]"; the check keeps a strange voice from ending the phonemes
    // early.
    if (phonemes.empty() || phonemes.find("]]") != std::string::npos) {
        phonemes.assign(1, letter);
    } else {
        phonemes = "[[" + phonemes + "]]";
    }
    return names.emplace(letter, std::move(phonemes)).first->second;
}

std::string EspeakLibrary::formInput(const SpokenText& piece) {
    std::string utf8;
    utf8.reserve(piece.text.size() + piece.text.size() / 4);
    for (const SpokenToken& t : piece.tokens) {
        std::string_view words = piece.token(t);
        if (t.kind == TokenKind::Letter) {
            utf8 += letterName(words.front());
            words.remove_prefix(1);  // the blank that keeps it apart from the next token
        }
        // "[[" would start phoneme codes: a blank between the brackets keeps them text.
        std::string text = cp1252ToUtf8(words);
        for (std::size_t at = text.find("[["); at != std::string::npos;
             at = text.find("[[", at + 2)) {
            text.insert(at + 1, 1, ' ');
        }
        utf8 += text;
    }
    return utf8;
}

std::string EspeakLibrary::inputText(const SpokenText& piece, const std::string& voice) {
    std::lock_guard lock(mutex_);
    if (!started_ || !selectVoice(voice)) {
        return {};
    }
    return formInput(piece);
}

bool EspeakLibrary::synthesize(const SpokenText& piece, const std::string& voice,
                               int wordsPerMinute, const SampleSink& sink) {
    std::lock_guard lock(mutex_);
    if (!started_ || !selectVoice(voice)) {
        return false;
    }
    const std::string utf8 = formInput(piece);
    f_->setParameter(espeakRATE, wordsPerMinute, 0);
    currentSink = &sink;
    const espeak_ERROR result = f_->synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                          espeakCHARS_UTF8 | espeakPHONEMES, nullptr, nullptr);
    currentSink = nullptr;
    return result == EE_OK;
}

}  // namespace speech
