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

// The standard object of a control, with the program's name and description where it has them.
class CAccessible final : public IAccessible {
public:
    // Takes over the caller's reference to `standard`.
    CAccessible(IAccessible* standard, const AccessibleTexts& texts, AllocString allocString)
        : standard(standard), texts(texts), allocString(allocString) {}
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

    // IDispatch, as the standard object answers it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return standard->Invoke(id, iid, locale, flags, params, result, exception, argument);
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

    ~CAccessible() { standard->Release(); }

    // The program's text for the control itself; the standard answer when it has none.
    HRESULT Answer(const std::wstring& own, VARIANT child, BSTR* text, TextQuery standardQuery) {
        if (own.empty() || child.vt != VT_I4 || child.lVal != CHILDID_SELF)
            return (standard->*standardQuery)(child, text);
        if (!text) return E_POINTER;
        *text = allocString(own.c_str());
        return *text ? S_OK : E_OUTOFMEMORY;
    }

    LONG references = 1;
    IAccessible* standard;
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
    CAccessible* object = new (std::nothrow) CAccessible(standard, texts, allocString);
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
