#include "win32gui/accessible.h"

#include <initguid.h>
// After initguid.h: the GUIDs of oleacc.h are defined here.
#include <oleacc.h>

#include "win32gui/wide_text.h"

namespace win32gui {
namespace {

// The annotation service, made once per thread and kept.
IAccPropServices* services() {
    thread_local IAccPropServices* made = [] {
        IAccPropServices* s = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&s)))) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        return s;
    }();
    return made;
}

}  // namespace

bool annotationsAvailable() {
    // The service may be there and still refuse every annotation: ask it once.
    thread_local const bool available = [] {
        IAccPropServices* s = services();
        if (s == nullptr) {
            return false;
        }
        HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        const bool ok = SUCCEEDED(s->SetHwndPropStr(probe, static_cast<DWORD>(OBJID_CLIENT),
                                                    static_cast<DWORD>(CHILDID_SELF),
                                                    PROPID_ACC_NAME, L"probe"));
        DestroyWindow(probe);
        return ok;
    }();
    return available;
}

bool setAccessibleName(HWND hwnd, std::string_view name) {
    IAccPropServices* s = services();
    if (s == nullptr || hwnd == nullptr) {
        return false;
    }
    const std::wstring wide = widen(name);
    return SUCCEEDED(s->SetHwndPropStr(hwnd, static_cast<DWORD>(OBJID_CLIENT),
                                       static_cast<DWORD>(CHILDID_SELF), PROPID_ACC_NAME,
                                       wide.c_str()));
}

std::string readAccessibleName(HWND hwnd) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return {};
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string result;
    if (SUCCEEDED(object->get_accName(self, &name)) && name != nullptr) {
        result = narrow(std::wstring_view(name, SysStringLen(name)));
        SysFreeString(name);
    }
    object->Release();
    return result;
}

long readAccessibleRole(HWND hwnd) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return 0;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    VariantInit(&role);
    long result = 0;
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) {
        result = role.lVal;
    }
    VariantClear(&role);
    object->Release();
    return result;
}

HWND announceToScreenReaders(HWND window, std::string_view words) {
    static const wchar_t* const kNotice = L"TattiloNotice";
    auto notice = static_cast<HWND>(GetPropW(window, kNotice));
    if (notice == nullptr || !IsWindow(notice)) {
        notice = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 1, 1,
                                 window, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (notice == nullptr) {
            return nullptr;
        }
        SetPropW(window, kNotice, notice);
        if (IAccPropServices* s = services()) {
            VARIANT role;
            VariantInit(&role);
            role.vt = VT_I4;
            role.lVal = ROLE_SYSTEM_ALERT;
            s->SetHwndProp(notice, static_cast<DWORD>(OBJID_CLIENT),
                           static_cast<DWORD>(CHILDID_SELF), PROPID_ACC_ROLE, role);
        }
    }
    SetWindowTextW(notice, widen(words).c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, notice, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_SYSTEM_ALERT, notice, OBJID_CLIENT, CHILDID_SELF);
    return notice;
}

}  // namespace win32gui
