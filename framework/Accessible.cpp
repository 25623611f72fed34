// Accessible names: a control answers WM_GETOBJECT with its standard object, renamed.
#include "Accessible.h"

#include "SystemLibrary.h"
#include "Text.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

namespace {

// The texts one control gives; they live as long as its subclass.
struct AccessibleTexts {
    std::wstring name, description;
};

// This module's entry in a control's subclass chain (the procedure makes it unique).
const UINT_PTR subclassId = 1;

using AllocString = decltype(&SysAllocString);

// The accessibility type library, which describes IAccessible (version 1.1).
const GUID accessibilityLibrary = {
    0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Whether `child` means the control itself: CHILDID_SELF, or left out by a late-bound client.
bool IsSelf(const VARIANT& child) {
    return (child.vt == VT_I4 && child.lVal == CHILDID_SELF) || child.vt == VT_EMPTY ||
           (child.vt == VT_ERROR && child.scode == DISP_E_PARAMNOTFOUND);
}

// The standard object of a control, with the program's name and description where it has them,
// as long as the control exists.
class CAccessible final : public IAccessible {
public:
    // Takes over the caller's reference to `standard`.
    CAccessible(HWND control, IAccessible* standard, const AccessibleTexts& texts,
                AllocString allocString)
        : control(control), standard(standard), texts(texts), allocString(allocString) {}
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

    ~CAccessible() {
        if (typeInfo) typeInfo->Release();
        standard->Release();
    }

    // The type information of IAccessible (a dual interface), kept once found: the standard
    // object's, or where that gives none (Wine) the registered type library's; nullptr if neither.
    ITypeInfo* TypeInfo() {
        if (typeInfo || SUCCEEDED(standard->GetTypeInfo(0, LOCALE_SYSTEM_DEFAULT, &typeInfo)))
            return typeInfo;
        typeInfo = nullptr;
        const auto loadRegistered =
            Find<decltype(&LoadRegTypeLib)>(SystemLibrary(L"oleaut32.dll"), "LoadRegTypeLib");
        ITypeLib* library = nullptr;
        if (loadRegistered && SUCCEEDED(loadRegistered(accessibilityLibrary, 1, 1, 0, &library))) {
            if (FAILED(library->GetTypeInfoOfGuid(__uuidof(IAccessible), &typeInfo)))
                typeInfo = nullptr;
            library->Release();
        }
        return typeInfo;
    }

    // The program's text for the control itself; the standard answer when it has none or the
    // control is gone.
    HRESULT Answer(const std::wstring& own, VARIANT child, BSTR* text, TextQuery standardQuery) {
        if (own.empty() || !IsSelf(child) || !IsWindow(control))
            return (standard->*standardQuery)(child, text);
        if (!text) return E_POINTER;
        *text = allocString(own.c_str());
        return *text ? S_OK : E_OUTOFMEMORY;
    }

    LONG references = 1;
    const HWND control;
    IAccessible* standard;
    ITypeInfo* typeInfo = nullptr;
    const AccessibleTexts texts; // a copy: clients may keep the object beyond the control
    const AllocString allocString;
};

// Answers an assistive client's request for the control's client object; false leaves the
// request to the control (no accessibility library, or the object could not be handed over).
bool AnswerClient(HWND control, WPARAM flags, const AccessibleTexts& texts, LRESULT& answer) {
    HMODULE oleacc = SystemLibrary(L"oleacc.dll");
    const auto createStandard =
        Find<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    const auto handOver = Find<decltype(&LresultFromObject)>(oleacc, "LresultFromObject");
    const auto allocString = Find<AllocString>(SystemLibrary(L"oleaut32.dll"), "SysAllocString");
    if (!createStandard || !handOver || !allocString) return false;

    IAccessible* standard = nullptr;
    if (FAILED(createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&standard))) ||
        !standard)
        return false;
    CAccessible* object = new (std::nothrow) CAccessible(control, standard, texts, allocString);
    if (!object) {
        standard->Release();
        return false;
    }
    answer = handOver(__uuidof(IAccessible), flags, object);
    if (HRESULT(answer) == CO_E_NOTINITIALIZED) {
        // Handing an object to another process needs COM on this thread: the first request
        // switches it on, for the rest of the thread's life.
        const auto initialize =
            Find<decltype(&CoInitializeEx)>(SystemLibrary(L"ole32.dll"), "CoInitializeEx");
        if (initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED)))
            answer = handOver(__uuidof(IAccessible), flags, object);
    }
    object->Release(); // the handed-out reference keeps it alive
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

} // namespace

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
