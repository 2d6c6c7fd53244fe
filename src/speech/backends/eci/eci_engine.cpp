#include "speech/backends/eci/eci_engine.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <system_error>

namespace speech {
namespace {

// The ECI interface: handles are opaque pointers, booleans are ints, and every function uses
// the standard calling convention.
using EciHand = void*;
using EciBoolean = int;
using NewFn = EciHand(__stdcall*)();
using DeleteFn = EciHand(__stdcall*)(EciHand);
using SetParamFn = int(__stdcall*)(EciHand, int, int);
using SetVoiceParamFn = int(__stdcall*)(EciHand, int, int, int);
using AddTextFn = EciBoolean(__stdcall*)(EciHand, const void*);
using HandFn = EciBoolean(__stdcall*)(EciHand);

constexpr const char* kFiles[] = {"eci.dll", "eci.ini", "enu.syn", "ita.syn"};

// An entry point by its plain name, or by the decorated name a 32-bit build may export
// ("_eciNew@0": underscore, name, '@', bytes of arguments).
FARPROC entry(HMODULE module, const char* name, int argumentBytes) {
    if (FARPROC p = GetProcAddress(module, name)) {
        return p;
    }
    const std::string decorated = "_" + std::string(name) + "@" + std::to_string(argumentBytes);
    return GetProcAddress(module, decorated.c_str());
}

template <typename Fn>
bool load(HMODULE module, Fn& fn, const char* name, int argumentBytes) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(entry(module, name, argumentBytes)));
    return fn != nullptr;
}

}  // namespace

struct EciEngine::Functions {
    NewFn eciNew = nullptr;
    DeleteFn eciDelete = nullptr;
    SetParamFn eciSetParam = nullptr;
    SetVoiceParamFn eciSetVoiceParam = nullptr;
    AddTextFn eciAddText = nullptr;
    HandFn eciSynthesize = nullptr;
    HandFn eciSynchronize = nullptr;
    HandFn eciSpeaking = nullptr;
    HandFn eciStop = nullptr;
};

bool EciEngine::filesPresent(const std::filesystem::path& programDirectory) {
    std::error_code ec;
    for (const char* name : kFiles) {
        if (!std::filesystem::is_regular_file(programDirectory / name, ec)) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<EciEngine> EciEngine::create(const std::filesystem::path& programDirectory) {
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::absolute(programDirectory / "eci.dll", ec);
    if (ec) {
        return nullptr;
    }
    const std::wstring path = file.wstring();
    // The altered search path (which needs a full path) lets the library find its own
    // companions beside it.
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        return nullptr;
    }
    auto f = std::make_unique<Functions>();
    const bool complete =
        load(module, f->eciNew, "eciNew", 0) && load(module, f->eciDelete, "eciDelete", 4) &&
        load(module, f->eciSetParam, "eciSetParam", 12) &&
        load(module, f->eciSetVoiceParam, "eciSetVoiceParam", 16) &&
        load(module, f->eciAddText, "eciAddText", 8) &&
        load(module, f->eciSynthesize, "eciSynthesize", 4) &&
        load(module, f->eciSynchronize, "eciSynchronize", 4) &&
        load(module, f->eciSpeaking, "eciSpeaking", 4) && load(module, f->eciStop, "eciStop", 4);
    if (!complete) {
        FreeLibrary(module);
        return nullptr;
    }
    EciHand handle = f->eciNew();
    if (handle == nullptr) {
        FreeLibrary(module);
        return nullptr;
    }
    return std::unique_ptr<EciEngine>(new EciEngine(module, std::move(f), handle));
}

EciEngine::EciEngine(void* module, std::unique_ptr<Functions> functions, void* handle)
    : module_(module), functions_(std::move(functions)), handle_(handle) {}

EciEngine::~EciEngine() {
    functions_->eciStop(handle_);
    functions_->eciDelete(handle_);
    FreeLibrary(static_cast<HMODULE>(module_));
}

int EciEngine::setParam(int param, int value) {
    return functions_->eciSetParam(handle_, param, value);
}

int EciEngine::setVoiceParam(int voice, int param, int value) {
    return functions_->eciSetVoiceParam(handle_, voice, param, value);
}

bool EciEngine::addText(std::string_view text) {
    const std::string terminated(text);  // the library reads up to the terminating zero
    return functions_->eciAddText(handle_, terminated.c_str()) != 0;
}

bool EciEngine::addWords(const SpokenText& words) {
    return addText(separatedTokens(words).text);
}

bool EciEngine::synthesize() {
    return functions_->eciSynthesize(handle_) != 0;
}

bool EciEngine::synchronize() {
    return functions_->eciSynchronize(handle_) != 0;
}

bool EciEngine::speaking() {
    return functions_->eciSpeaking(handle_) != 0;
}

bool EciEngine::stop() {
    return functions_->eciStop(handle_) != 0;
}

}  // namespace speech
