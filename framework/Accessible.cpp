// Accessible names: a control answers WM_GETOBJECT with its standard object, renamed.
#include "Accessible.h"

#include "Handles.h"
#include "SystemLibrary.h"
#include "Text.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>
#include <utility>

namespace {

// The texts one control gives; they live as long as its subclass.
struct AccessibleTexts {
    std::wstring name, description;
};

// This module's entry in a control's subclass chain (the procedure makes it unique).
const UINT_PTR subclassId = 1;

using AllocString = decltype(&SysAllocString);

#ifndef EVENT_OBJECT_LIVEREGIONCHANGED
#define EVENT_OBJECT_LIVEREGIONCHANGED 0x8019 // Windows 8 on
#endif

// The accessibility type library, which describes IAccessible (version 1.1).
const GUID accessibilityLibrary = {
    0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Dynamic annotation: the accessibility library's property service and UI Automation's
// live setting property.
const CLSID accPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID accPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const GUID liveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

// Switches COM on for this thread, for the rest of its life: handing objects to another
// process needs it, and it is switched on only once an assistive client asks.
bool InitializeCom() {
    const auto initialize =
        framework::Find<decltype(&CoInitializeEx)>(SystemLibrary(L"ole32.dll"), "CoInitializeEx");
    return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
}

// Whether `child` means the control itself: CHILDID_SELF, or left out by a late-bound client.
bool IsSelf(const VARIANT& child) {
    return (child.vt == VT_I4 && child.lVal == CHILDID_SELF) || child.vt == VT_EMPTY ||
           (child.vt == VT_ERROR && child.scode == DISP_E_PARAMNOTFOUND);
}

// The standard object of a control, with the program's name and description where it has them,
// as long as the control exists.
class CAccessible final : public IAccessible {
public:
    CAccessible(HWND control, ComRef<IAccessible>&& standard, const AccessibleTexts& texts,
                AllocString allocString)
        : control(control), standard(std::move(standard)), texts(texts), allocString(allocString) {}
    CAccessible(const CAccessible&) = delete;
    CAccessible& operator=(const CAccessible&) = delete;

    // IUnknown: one object for IUnknown, IDispatch and IAccessible.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references);
        if (left == 0) delete this;
        return ULONG(left);
    }

    // IDispatch: through the type information to this object's own methods, so that a
    // late-bound client hears what the vtable says.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = TypeInfo() ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = index == 0 ? TypeInfo() : nullptr;
        if (!*info) return index == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (iid != IID{}) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = TypeInfo();
        return info ? info->GetIDsOfNames(names, count, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        if (iid != IID{}) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = TypeInfo();
        return info ? info->Invoke(static_cast<IAccessible*>(this), id, flags, params, result,
                                   exception, argument)
                    : E_NOTIMPL;
    }

    // IAccessible: name and description may be the program's, the rest is the standard's.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Answer(texts.name, child, name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Answer(texts.description, child, description, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard->put_accValue(child, value);
    }

private:
    using TextQuery = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

    ~CAccessible() = default;

    // The type information of IAccessible (a dual interface), kept once found: the standard
    // object's, or where that gives none (Wine) the registered type library's; nullptr if neither.
    ITypeInfo* TypeInfo() {
        if (typeInfo || SUCCEEDED(standard->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, typeInfo.Put())))
            return typeInfo.Get();
        typeInfo.Reset();
        const auto loadRegistered = framework::Find<decltype(&LoadRegTypeLib)>(
            SystemLibrary(L"oleaut32.dll"), "LoadRegTypeLib");
        ComRef<ITypeLib> library;
        if (loadRegistered &&
            SUCCEEDED(loadRegistered(accessibilityLibrary, 1, 1, 0, library.Put())) &&
            FAILED(library->GetTypeInfoOfGuid(__uuidof(IAccessible), typeInfo.Put())))
            typeInfo.Reset();
        return typeInfo.Get();
    }

    // The program's text for the control itself; the standard answer when it has none or the
    // control is gone.
    HRESULT Answer(const std::wstring& own, VARIANT child, BSTR* text, TextQuery standardQuery) {
        if (own.empty() || !IsSelf(child) || !IsWindow(control))
            return (standard.Get()->*standardQuery)(child, text);
        if (!text) return E_POINTER;
        *text = allocString(own.c_str());
        return *text ? S_OK : E_OUTOFMEMORY;
    }

    LONG references = 1;
    const HWND control;
    const ComRef<IAccessible> standard;
    ComRef<ITypeInfo> typeInfo;
    const AccessibleTexts texts; // a copy: clients may keep the object beyond the control
    const AllocString allocString;
};

// Answers an assistive client's request for the control's client object; false leaves the
// request to the control (no accessibility library, or the object could not be handed over).
bool AnswerClient(HWND control, WPARAM flags, const AccessibleTexts& texts, LRESULT& answer) {
    HMODULE oleacc = SystemLibrary(L"oleacc.dll");
    const auto createStandard =
        framework::Find<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    const auto handOver =
        framework::Find<decltype(&LresultFromObject)>(oleacc, "LresultFromObject");
    const auto allocString =
        framework::Find<AllocString>(SystemLibrary(L"oleaut32.dll"), "SysAllocString");
    if (!createStandard || !handOver || !allocString) return false;

    ComRef<IAccessible> standard;
    if (FAILED(createStandard(control, OBJID_CLIENT, __uuidof(IAccessible), standard.PutVoid())) ||
        !standard)
        return false;
    // Once handed out, the object lives as long as the client's reference.
    const ComRef<CAccessible> object(
        new (std::nothrow) CAccessible(control, std::move(standard), texts, allocString));
    if (!object) return false;
    answer = handOver(__uuidof(IAccessible), flags, object.Get());
    if (HRESULT(answer) == CO_E_NOTINITIALIZED && InitializeCom())
        answer = handOver(__uuidof(IAccessible), flags, object.Get());
    return answer > 0;
}

// The control's procedure in front of its own: client object requests, and the clean-up.
LRESULT CALLBACK AccessibleProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
    auto* texts = reinterpret_cast<AccessibleTexts*>(data);
    LRESULT answer = 0;
    if (msg == WM_GETOBJECT && DWORD(lParam) == DWORD(OBJID_CLIENT) &&
        AnswerClient(control, wParam, *texts, answer))
        return answer;
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(control, AccessibleProc, subclassId);
        delete texts;
    }
    return DefSubclassProc(control, msg, wParam, lParam);
}

// Gives the control's client object its live setting through the accessibility library's
// property service (systems before Windows 8 keep it without use), or with setting 0 takes it
// back; whether the service did. Wine answers E_NOTIMPL.
HRESULT Annotate(HWND control, LONG setting) {
    const auto create = framework::Find<decltype(&CoCreateInstance)>(SystemLibrary(L"ole32.dll"),
                                                                     "CoCreateInstance");
    if (!create) return E_NOTIMPL;
    ComRef<IAccPropServices> services;
    const auto make = [&] {
        return create(accPropServices, nullptr, CLSCTX_INPROC_SERVER, accPropServicesInterface,
                      services.PutVoid());
    };
    HRESULT made = make();
    if (made == CO_E_NOTINITIALIZED && InitializeCom()) made = make();
    if (FAILED(made)) return made;
    if (!services) return E_NOINTERFACE;
    const DWORD client = DWORD(OBJID_CLIENT), self = CHILDID_SELF;
    if (setting == 0)
        return services->ClearHwndProps(control, client, self, &liveSettingProperty, 1);
    VARIANT value = {};
    value.vt = VT_I4;
    value.lVal = setting;
    return services->SetHwndProp(control, client, self, liveSettingProperty, value);
}

// Added to a live region's data, its setting, once the system took the setting.
const DWORD_PTR annotated = 0x100;

// A live region's procedure: the live setting goes to the system on the first assistive client's
// request for the control, whatever object it asks for, or on a later one where the system
// failed; the procedure goes where the system cannot take it, and takes it back with the control.
LRESULT CALLBACK LiveRegionProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR data) {
    if (msg == WM_GETOBJECT && !(data & annotated)) {
        const HRESULT result = Annotate(control, LONG(data));
        if (result == E_NOTIMPL || result == REGDB_E_CLASSNOTREG)
            RemoveWindowSubclass(control, LiveRegionProc, id);
        else if (SUCCEEDED(result))
            SetWindowSubclass(control, LiveRegionProc, id, data | annotated);
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(control, LiveRegionProc, id);
        if (data & annotated) Annotate(control, 0);
    }
    return DefSubclassProc(control, msg, wParam, lParam);
}

} // namespace

bool SetLiveRegion(HWND control, LiveSetting setting) {
    return SetWindowSubclass(control, LiveRegionProc, subclassId, DWORD_PTR(setting)) != FALSE;
}

void AnnounceChange(HWND control) {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}

bool SetAccessibleTexts(HWND control, const std::string& name, const std::string& description) {
    if (!IsWindow(control)) return false;
    auto* texts = new (std::nothrow) AccessibleTexts{Widen(name), Widen(description)};
    if (!texts) return false;
    DWORD_PTR previous = 0;
    const bool named = GetWindowSubclass(control, AccessibleProc, subclassId, &previous);
    if (!SetWindowSubclass(control, AccessibleProc, subclassId,
                           reinterpret_cast<DWORD_PTR>(texts))) {
        delete texts;
        return false;
    }
    if (named) delete reinterpret_cast<AccessibleTexts*>(previous);
    return true;
}
