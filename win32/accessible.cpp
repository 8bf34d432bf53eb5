// SPDX-License-Identifier: MIT
#include "win32/accessible.h"

#include <commctrl.h>
#include <oleacc.h>

namespace dravlet {

namespace {

// A COM object is deleted by its own Release, never through a pointer to its interface,
// which has no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// A control's accessible object of its own, with the name the program gives: role, state,
// value, location, navigation and its window are the standard object's. It answers for
// itself alone (no IServiceProvider passed on), so UI Automation's MSAA proxy takes it as
// the program's own object instead of recognising oleacc's and naming it as oleacc would.
class NamedAccessible final : public IAccessible, public IOleWindow {
public:
    NamedAccessible(IAccessible* standard, const std::wstring& name) : m_standard(standard), m_name(name) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (id == __uuidof(IOleWindow)) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const auto left = static_cast<ULONG>(InterlockedDecrement(&m_references));
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) {
            return m_standard->get_accName(child, name);
        }
        *name = SysAllocStringLen(m_name.data(), static_cast<UINT>(m_name.size()));
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(id, names, count, locale, ids);
    }
    // A late-bound client reads the same name as an early-bound one.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* wrong) override
    {
        if (member != DISPID_ACC_NAME || (flags & DISPATCH_PROPERTYGET) == 0) {
            return m_standard->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
        }
        if (result == nullptr) {
            return E_POINTER;
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        const bool ofChild = parameters != nullptr && parameters->cArgs > 0 && parameters->rgvarg[0].vt == VT_I4;
        VariantInit(result);
        result->vt = VT_BSTR;
        return get_accName(ofChild ? parameters->rgvarg[0] : self, &result->bstrVal);
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        IOleWindow* standardWindow = nullptr;
        if (FAILED(m_standard->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&standardWindow)))) {
            return E_FAIL;
        }
        const HRESULT result = standardWindow->GetWindow(window);
        standardWindow->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return m_standard->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return m_standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return m_standard->get_accRole(child, role); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return m_standard->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return m_standard->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override { return m_standard->get_accFocus(focused); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override { return m_standard->get_accSelection(selected); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return m_standard->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override
    {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return m_standard->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return m_standard->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

protected:
    // Only its own Release deletes it.
    ~NamedAccessible() { m_standard->Release(); }

private:

    IAccessible* m_standard;
    std::wstring m_name;
    LONG m_references = 1;
};
#pragma GCC diagnostic pop

}  // namespace

LRESULT accessibleObjectNamed(HWND control, WPARAM flags, LPARAM objectId, const std::wstring& name)
{
    if (static_cast<LONG>(objectId) != OBJID_CLIENT) {
        return DefSubclassProc(control, WM_GETOBJECT, flags, objectId);
    }
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard)))) {
        return DefSubclassProc(control, WM_GETOBJECT, flags, objectId);
    }
    auto* named = new NamedAccessible(standard, name);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(named));
    named->Release();
    return result;
}

}  // namespace dravlet
