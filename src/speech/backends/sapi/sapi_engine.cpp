#include "speech/backends/sapi/sapi_engine.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <objbase.h>
#include <sapi.h>
#include <sphelper.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <utility>

#include "ui/cp1252.h"

namespace speech {

// COM on the calling thread, single-threaded as the window thread needs it, for as long as
// the object lives. A thread already in COM in another mode is used as it is.
class ComApartment {
public:
    ComApartment() {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        entered_ = SUCCEEDED(hr);
        usable_ = entered_ || hr == RPC_E_CHANGED_MODE;
    }
    ~ComApartment() {
        if (entered_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool usable() const { return usable_; }

private:
    bool entered_ = false;
    bool usable_ = false;
};

namespace {

// Polls of synchronize(): each waits this long; this many in a row without progress end it.
constexpr ULONG kWaitStepMs = 250;
constexpr int kStalledSteps = 20;

constexpr DWORD kSpeakFlags = SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML;

// Releases a COM pointer when it goes out of scope.
template <typename T>
struct Held {
    T* p = nullptr;
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (p != nullptr) {
            p->Release();
        }
    }
};

bool tokenIsItalian(ISpObjectToken* token) {
    Held<ISpDataKey> attributes;
    if (FAILED(token->OpenKey(SPTOKENKEY_ATTRIBUTES, &attributes.p)) || attributes.p == nullptr) {
        return false;
    }
    WCHAR* language = nullptr;
    if (FAILED(attributes.p->GetStringValue(L"Language", &language)) || language == nullptr) {
        return false;
    }
    const bool italian = listsItalian(language);
    CoTaskMemFree(language);
    return italian;
}

// The first Italian voice token, one reference for the caller; null when there is none.
// The category is asked for Italian voices, and each answer's attribute is read again:
// a SAPI that ignores the request must not hand over another language's voice.
ISpObjectToken* firstItalianVoice() {
    Held<IEnumSpObjectTokens> tokens;
    if (FAILED(SpEnumTokens(SPCAT_VOICES, L"Language=410", nullptr, &tokens.p)) ||
        tokens.p == nullptr) {
        return nullptr;
    }
    for (;;) {
        ISpObjectToken* token = nullptr;
        ULONG fetched = 0;
        if (tokens.p->Next(1, &token, &fetched) != S_OK || token == nullptr) {
            return nullptr;
        }
        if (tokenIsItalian(token)) {
            return token;
        }
        token->Release();
    }
}

}  // namespace

int sapiRate(int speed) {
    if (speed <= 0) {
        return -10;
    }
    const double rate = 10.0 * std::log(speed / double(kDefaultSpeed)) / std::log(3.0);
    return std::clamp(static_cast<int>(std::lround(rate)), -10, 10);
}

bool listsItalian(std::wstring_view languageAttribute) {
    std::size_t start = 0;
    while (start <= languageAttribute.size()) {
        std::size_t end = languageAttribute.find(L';', start);
        if (end == std::wstring_view::npos) {
            end = languageAttribute.size();
        }
        std::wstring_view code = languageAttribute.substr(start, end - start);
        while (!code.empty() && std::iswspace(code.front())) {
            code.remove_prefix(1);
        }
        while (!code.empty() && std::iswspace(code.back())) {
            code.remove_suffix(1);
        }
        unsigned value = 0;
        bool hex = !code.empty() && code.size() <= 8;
        for (wchar_t c : code) {
            const int digit = (c >= L'0' && c <= L'9')   ? c - L'0'
                              : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                              : (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                                         : -1;
            if (digit < 0) {
                hex = false;
                break;
            }
            value = value * 16 + unsigned(digit);
        }
        if (hex && value == 0x410) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool SapiEngine::italianVoicePresent() {
    ComApartment apartment;
    if (!apartment.usable()) {
        return false;
    }
    ISpObjectToken* token = firstItalianVoice();
    if (token == nullptr) {
        return false;
    }
    token->Release();
    return true;
}

std::unique_ptr<SapiEngine> SapiEngine::createItalian() {
    auto apartment = std::make_unique<ComApartment>();
    if (!apartment->usable()) {
        return nullptr;
    }
    Held<ISpObjectToken> token;
    token.p = firstItalianVoice();
    if (token.p == nullptr) {
        return nullptr;
    }
    ISpVoice* voice = nullptr;
    if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                reinterpret_cast<void**>(&voice))) ||
        voice == nullptr) {
        return nullptr;
    }
    if (FAILED(voice->SetVoice(token.p))) {
        voice->Release();
        return nullptr;
    }
    return std::unique_ptr<SapiEngine>(new SapiEngine(voice, std::move(apartment)));
}

SapiEngine::SapiEngine(ISpVoice* voice) : voice_(voice) {}

SapiEngine::SapiEngine(ISpVoice* voice, std::unique_ptr<ComApartment> apartment)
    : apartment_(std::move(apartment)), voice_(voice) {}

SapiEngine::~SapiEngine() {
    voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    voice_->Release();
}

int SapiEngine::setParam(int param, int value) {
    if (param != kParamLanguageDialect) {
        return -1;
    }
    return std::exchange(dialect_, value);
}

int SapiEngine::setVoiceParam(int voice, int param, int value) {
    if (voice != kVoiceActive || param != kVoiceParamSpeed) {
        return -1;
    }
    if (FAILED(voice_->SetRate(sapiRate(value)))) {
        return -1;
    }
    return std::exchange(speed_, value);
}

bool SapiEngine::addText(std::string_view text) {
    // Every code page 1252 character is one UTF-16 unit.
    queued_.reserve(queued_.size() + text.size());
    for (const char c : text) {
        queued_.push_back(
            static_cast<wchar_t>(ui::cp1252::toUnicode(static_cast<unsigned char>(c))));
    }
    return true;
}

bool SapiEngine::addWords(const SpokenText& words) {
    return addText(separatedTokens(words).text);
}

bool SapiEngine::synthesize() {
    if (queued_.empty()) {
        return true;
    }
    const std::wstring text = std::move(queued_);
    queued_.clear();
    if (FAILED(voice_->Speak(text.c_str(), kSpeakFlags, nullptr))) {
        return false;
    }
    pending_ = true;
    return true;
}

bool SapiEngine::synchronize() {
    ULONG lastWord = ~0UL;
    ULONG lastSentence = ~0UL;
    int stalled = 0;
    for (;;) {
        const HRESULT waited = voice_->WaitUntilDone(kWaitStepMs);
        if (waited == S_OK) {
            pending_ = false;
            return true;
        }
        SPVOICESTATUS status{};
        if (FAILED(waited) || FAILED(voice_->GetStatus(&status, nullptr)) ||
            FAILED(status.hrLastResult)) {
            return false;
        }
        if (status.ulInputWordPos == lastWord && status.ulInputSentPos == lastSentence) {
            if (++stalled >= kStalledSteps) {
                return false;
            }
        } else {
            stalled = 0;
            lastWord = status.ulInputWordPos;
            lastSentence = status.ulInputSentPos;
        }
    }
}

bool SapiEngine::speaking() {
    SPVOICESTATUS status{};
    if (FAILED(voice_->GetStatus(&status, nullptr))) {
        return false;
    }
    if ((status.dwRunningState & SPRS_DONE) != 0) {
        pending_ = false;
    }
    // Handed over but not started yet counts: the next request must still cut it off.
    return (status.dwRunningState & SPRS_IS_SPEAKING) != 0 || pending_;
}

bool SapiEngine::stop() {
    queued_.clear();
    pending_ = false;
    return SUCCEEDED(voice_->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
}

}  // namespace speech
