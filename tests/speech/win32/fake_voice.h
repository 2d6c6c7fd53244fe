#pragma once

// A stand-in for a SAPI 5 voice (ISpVoice): every call the engine binding makes that changes
// the voice is kept as one line ("SetRate -5", "Speak async purge text <perchè>",
// "Purge", "WaitUntilDone"), in UTF-8. Queries (GetStatus) are answered from the state and
// not kept. An utterance lasts from Speak until a purge or WaitUntilDone; a voice can be told
// to stall (WaitUntilDone never finishes, the reading position never moves) or to start
// late (an utterance is neither speaking nor done until it is waited for).

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <sapi.h>

#include <string>
#include <vector>

#include "ui/cp1252.h"

namespace testing_support {

class FakeVoice final : public ISpVoice {
public:
    std::vector<std::string> calls;
    ULONG references = 1;
    bool stalls = false;       // WaitUntilDone times out with no progress
    int movingSteps = 0;       // WaitUntilDone times out this many times, moving on each
    bool startsLate = false;   // after Speak: neither speaking nor done
    bool failsSpeak = false;   // Speak with a text fails
    bool speakingNow = false;  // an utterance is in progress
    ULONG wordPosition = 0;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_ISpVoice) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    // ISpNotifySource, ISpEventSource: not used by the binding.
    HRESULT STDMETHODCALLTYPE SetNotifySink(ISpNotifySink*) override {
        return unused("SetNotifySink");
    }
    HRESULT STDMETHODCALLTYPE SetNotifyWindowMessage(HWND, UINT, WPARAM, LPARAM) override {
        return unused("SetNotifyWindowMessage");
    }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackFunction(SPNOTIFYCALLBACK*, WPARAM,
                                                        LPARAM) override {
        return unused("SetNotifyCallbackFunction");
    }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackInterface(ISpNotifyCallback*, WPARAM,
                                                         LPARAM) override {
        return unused("SetNotifyCallbackInterface");
    }
    HRESULT STDMETHODCALLTYPE SetNotifyWin32Event() override {
        return unused("SetNotifyWin32Event");
    }
    HRESULT STDMETHODCALLTYPE WaitForNotifyEvent(DWORD) override {
        return unused("WaitForNotifyEvent");
    }
    HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override {
        unused("GetNotifyEventHandle");
        return nullptr;
    }
    HRESULT STDMETHODCALLTYPE SetInterest(ULONGLONG, ULONGLONG) override {
        return unused("SetInterest");
    }
    HRESULT STDMETHODCALLTYPE GetEvents(ULONG, SPEVENT*, ULONG*) override {
        return unused("GetEvents");
    }
    HRESULT STDMETHODCALLTYPE GetInfo(SPEVENTSOURCEINFO*) override { return unused("GetInfo"); }

    // ISpVoice
    HRESULT STDMETHODCALLTYPE SetOutput(IUnknown*, WINBOOL) override { return unused("SetOutput"); }
    HRESULT STDMETHODCALLTYPE GetOutputObjectToken(ISpObjectToken**) override {
        return unused("GetOutputObjectToken");
    }
    HRESULT STDMETHODCALLTYPE GetOutputStream(ISpStreamFormat**) override {
        return unused("GetOutputStream");
    }
    HRESULT STDMETHODCALLTYPE Pause() override { return unused("Pause"); }
    HRESULT STDMETHODCALLTYPE Resume() override { return unused("Resume"); }
    HRESULT STDMETHODCALLTYPE SetVoice(ISpObjectToken*) override {
        calls.push_back("SetVoice");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVoice(ISpObjectToken**) override { return unused("GetVoice"); }
    HRESULT STDMETHODCALLTYPE Speak(LPCWSTR text, DWORD flags, ULONG* stream) override {
        if (stream != nullptr) {
            *stream = 1;
        }
        if (text == nullptr) {
            if ((flags & SPF_PURGEBEFORESPEAK) == 0) {
                return unused("Speak without text or purge");
            }
            calls.push_back("Purge");
            speakingNow = false;
            return S_OK;
        }
        std::string line = "Speak";
        if (flags & SPF_ASYNC) {
            line += " async";
        }
        if (flags & SPF_PURGEBEFORESPEAK) {
            line += " purge";
        }
        if (flags & SPF_IS_NOT_XML) {
            line += " text";
        }
        if (flags & SPF_IS_XML) {
            line += " xml";
        }
        line += " <";
        for (const WCHAR* c = text; *c != 0; ++c) {
            ui::cp1252::appendUtf8(line, char32_t(*c));
        }
        line += ">";
        calls.push_back(line);
        if (failsSpeak) {
            return E_FAIL;
        }
        speakingNow = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SpeakStream(IStream*, DWORD, ULONG*) override {
        return unused("SpeakStream");
    }
    HRESULT STDMETHODCALLTYPE GetStatus(SPVOICESTATUS* status, LPWSTR* bookmark) override {
        if (bookmark != nullptr) {
            return unused("GetStatus with a bookmark");
        }
        *status = SPVOICESTATUS{};
        if (!speakingNow) {
            status->dwRunningState = SPRS_DONE;
        } else if (!startsLate) {
            status->dwRunningState = SPRS_IS_SPEAKING;
        }
        status->ulInputWordPos = wordPosition;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(LPCWSTR, LONG, ULONG*) override { return unused("Skip"); }
    HRESULT STDMETHODCALLTYPE SetPriority(SPVPRIORITY) override { return unused("SetPriority"); }
    HRESULT STDMETHODCALLTYPE GetPriority(SPVPRIORITY*) override { return unused("GetPriority"); }
    HRESULT STDMETHODCALLTYPE SetAlertBoundary(SPEVENTENUM) override {
        return unused("SetAlertBoundary");
    }
    HRESULT STDMETHODCALLTYPE GetAlertBoundary(SPEVENTENUM*) override {
        return unused("GetAlertBoundary");
    }
    HRESULT STDMETHODCALLTYPE SetRate(LONG rate) override {
        calls.push_back("SetRate " + std::to_string(rate));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRate(LONG*) override { return unused("GetRate"); }
    HRESULT STDMETHODCALLTYPE SetVolume(USHORT) override { return unused("SetVolume"); }
    HRESULT STDMETHODCALLTYPE GetVolume(USHORT*) override { return unused("GetVolume"); }
    HRESULT STDMETHODCALLTYPE WaitUntilDone(ULONG) override {
        calls.push_back("WaitUntilDone");
        if (!speakingNow) {
            return S_OK;
        }
        if (stalls) {
            return S_FALSE;
        }
        if (movingSteps > 0) {
            --movingSteps;
            ++wordPosition;
            return S_FALSE;
        }
        speakingNow = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSyncSpeakTimeout(ULONG) override {
        return unused("SetSyncSpeakTimeout");
    }
    HRESULT STDMETHODCALLTYPE GetSyncSpeakTimeout(ULONG*) override {
        return unused("GetSyncSpeakTimeout");
    }
    HANDLE STDMETHODCALLTYPE SpeakCompleteEvent() override {
        unused("SpeakCompleteEvent");
        return nullptr;
    }
    HRESULT STDMETHODCALLTYPE IsUISupported(LPCWSTR, void*, ULONG, WINBOOL*) override {
        return unused("IsUISupported");
    }
    HRESULT STDMETHODCALLTYPE DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG) override {
        return unused("DisplayUI");
    }

private:
    // A call the binding has no business making shows in the calls.
    HRESULT unused(const char* name) {
        calls.push_back(std::string("unexpected ") + name);
        return E_NOTIMPL;
    }
};

}  // namespace testing_support
