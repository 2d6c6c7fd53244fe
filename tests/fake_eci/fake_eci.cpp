// A stand-in for the ECI library, eci.dll, with its nine entry points (standard calling
// convention, plain names): each call is appended as one line to "eci-calls.txt" in the
// current folder, so a test can see what the engine binding asked for. "Speaking" lasts from
// eciSynthesize until eciSynchronize or eciStop.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int instances = 0;
bool speaking = false;

void record(const std::string& line) {
    if (FILE* f = std::fopen("eci-calls.txt", "ab")) {
        std::fputs((line + "\n").c_str(), f);
        std::fclose(f);
    }
}

}  // namespace

extern "C" {

__declspec(dllexport) void* __stdcall eciNew() {
    record("eciNew");
    ++instances;
    return &instances;
}

__declspec(dllexport) void* __stdcall eciDelete(void*) {
    record("eciDelete");
    return nullptr;
}

__declspec(dllexport) int __stdcall eciSetParam(void*, int param, int value) {
    record("eciSetParam " + std::to_string(param) + " " + std::to_string(value));
    return 0;
}

__declspec(dllexport) int __stdcall eciSetVoiceParam(void*, int voice, int param, int value) {
    record("eciSetVoiceParam " + std::to_string(voice) + " " + std::to_string(param) + " " +
           std::to_string(value));
    return 0;
}

__declspec(dllexport) int __stdcall eciAddText(void*, const void* text) {
    record("eciAddText " + std::string(static_cast<const char*>(text)));
    return 1;
}

__declspec(dllexport) int __stdcall eciSynthesize(void*) {
    record("eciSynthesize");
    speaking = true;
    return 1;
}

__declspec(dllexport) int __stdcall eciSynchronize(void*) {
    record("eciSynchronize");
    speaking = false;
    return 1;
}

__declspec(dllexport) int __stdcall eciSpeaking(void*) {
    return speaking ? 1 : 0;
}

__declspec(dllexport) int __stdcall eciStop(void*) {
    record("eciStop");
    speaking = false;
    return 1;
}
}
