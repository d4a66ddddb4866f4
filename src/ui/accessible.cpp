#include "ui/accessible.h"

#include <new>

#include "ui/control.h"
#include "ui/form.h"
#include "win/accessibility_library.h"

namespace ui {
namespace {

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The object a control of ours hands to assistive technology. It holds the window, not the
// control: a reader may keep it after the window is gone, and then the standard object answers.
class AccessibleControl final : public IAccessible, public IOleWindow {
  public:
    AccessibleControl(HWND hwnd, IAccessible* standard, const win::AccessibilityLibrary& lib)
        : hwnd_(hwnd), standard_(standard), lib_(lib) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IOleWindow)) {
            *out = static_cast<IOleWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: readers use the interface itself, never scripting.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
        if (!hwnd) return E_POINTER;
        *hwnd = hwnd_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible: the control's own facts for itself, the standard object for the rest.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return text(child, name, &AccessibleFacts::name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return text(child, action, &AccessibleFacts::defaultAction,
                    &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return text(child, shortcut, &AccessibleFacts::shortcut,
                    &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return text(child, value, &AccessibleFacts::value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const std::optional<AccessibleFacts> facts = ownFacts(child);
        if (!facts || !facts->role) return standard_->get_accRole(child, role);
        return number(facts->role, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const std::optional<AccessibleFacts> facts = ownFacts(child);
        if (!facts || !facts->state) return standard_->get_accState(child, state);
        return number(*facts->state, state);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        Control* c = isSelf(child) ? control() : nullptr;
        return c && c->doDefaultAction() ? S_OK : standard_->accDoDefaultAction(child);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return text(child, out, &AccessibleFacts::description, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return standard_->get_accHelp(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        return standard_->get_accFocus(out);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        return standard_->get_accSelection(out);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                          VARIANT child) override {
        return standard_->accLocation(x, y, w, h, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        return standard_->accHitTest(x, y, out);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~AccessibleControl() { standard_->Release(); }

    Control* control() const {
        Form* form = Form::fromHwnd(GetAncestor(hwnd_, GA_ROOT));
        return form ? form->controlAt(hwnd_) : nullptr;
    }

    // The control's facts when `child` is the control itself and it is still there; otherwise
    // the standard object answers (and fails for a window that is gone).
    std::optional<AccessibleFacts> ownFacts(const VARIANT& child) const {
        const Control* c = isSelf(child) ? control() : nullptr;
        if (!c) return std::nullopt;
        return c->accessibleFacts();
    }

    using StandardText = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    HRESULT text(VARIANT child, BSTR* out, std::wstring AccessibleFacts::*field,
                 StandardText standard) {
        const std::optional<AccessibleFacts> facts = ownFacts(child);
        if (!facts || ((*facts).*field).empty()) return (standard_->*standard)(child, out);
        if (!out) return E_POINTER;
        *out = lib_.sysAllocString(((*facts).*field).c_str());
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    static HRESULT number(long value, VARIANT* out) {
        if (!out) return E_POINTER;
        out->vt = VT_I4;
        out->lVal = value;
        return S_OK;
    }

    HWND hwnd_;
    IAccessible* standard_;  // owned: one reference
    const win::AccessibilityLibrary& lib_;
    ULONG references_ = 1;
};

}  // namespace

LRESULT answerGetObject(const Control& control, WPARAM wp, LPARAM lp) {
    if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    const win::AccessibilityLibrary* lib = win::accessibilityLibrary();
    if (!lib) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(lib->createStdAccessibleObject(control.hwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&standard))))
        return 0;
    auto* object = new (std::nothrow) AccessibleControl(control.hwnd(), standard, *lib);
    if (!object) {
        standard->Release();
        return 0;
    }
    const LRESULT result =
        lib->lresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object));
    object->Release();
    return result > 0 ? result : 0;
}

}  // namespace ui
