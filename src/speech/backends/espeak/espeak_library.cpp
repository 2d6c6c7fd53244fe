#include "speech/backends/espeak/espeak_library.h"

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

EspeakLibrary& EspeakLibrary::instance() {
    static EspeakLibrary library;
    return library;
}

EspeakLibrary::~EspeakLibrary() {
    if (started_) {
        espeak_Terminate();
    }
}

bool EspeakLibrary::start(const std::filesystem::path& programDirectory) {
    std::lock_guard lock(mutex_);
    if (tried_) {
        return started_;
    }
    tried_ = true;
    std::string dataPath;
    std::error_code ec;
    if (!programDirectory.empty() &&
        std::filesystem::is_directory(programDirectory / "espeak-ng-data", ec)) {
        dataPath = programDirectory.string();
    }
    // Synchronous output: the samples come back to us, and the library never opens a sound
    // device of its own (nor prints the audio library's complaints when there is none).
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0,
                                       dataPath.empty() ? nullptr : dataPath.c_str(),
                                       espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) {
        return false;
    }
    if (espeak_SetVoiceByName("it") != EE_OK) {
        espeak_Terminate();
        return false;
    }
    voice_ = "it";
    espeak_SetSynthCallback(onSamples);
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
        if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) {
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
        if (const char* clause = espeak_TextToPhonemes(&rest, espeakCHARS_UTF8, 0)) {
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
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    currentSink = &sink;
    const espeak_ERROR result = espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8 | espeakPHONEMES, nullptr, nullptr);
    currentSink = nullptr;
    return result == EE_OK;
}

}  // namespace speech
