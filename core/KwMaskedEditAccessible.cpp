// The control's accessible object on Windows: an IAccessible that wraps the edit control's
// standard one (CreateStdAccessibleObject) and keeps everything it answers (role, state, the
// name taken from the label before the control, location, focus, keyboard shortcut,
// navigation), except what the masked control says better: the value (what the user entered,
// without prompts), the description (what the control expects, how far the user is), the help
// (the last refusal in words), and the value set from outside, which goes through the mask.
// A control made by one of the library's class names is no edit control to the standard object
// (it goes by the class name): for it this object answers the role and the name as the standard
// object answers them for an edit control.
//
// The object keeps the window's handle, not the control: a client may hold it long after the
// control is gone. Each call finds the control again by its handle; once the window is gone or
// no longer belongs to a masked control, every call is the standard object's. Calls arrive on
// the window's thread (in-process directly, from other processes through the marshalling that
// LresultFromObject sets up).
//
// Built on Windows only (oleacc, oleaut32, ole32, uuid).
#include <oleacc.h>

#include <new>

#include "core/KwMaskedEdit.h"

namespace {

class MaskedAccessible final : public IAccessible, public IOleWindow {
 public:
  MaskedAccessible(HWND hwnd, IAccessible* standard) : m_hwnd(hwnd), m_std(standard) {}
  MaskedAccessible(const MaskedAccessible&) = delete;
  MaskedAccessible& operator=(const MaskedAccessible&) = delete;

  // IUnknown. Interfaces of the standard object this one does not implement (IEnumVARIANT, the
  // service providers) are answered by the standard object itself.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
        IsEqualIID(riid, __uuidof(IAccessible))) {
      *ppv = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(riid, __uuidof(IOleWindow))) {
      *ppv = static_cast<IOleWindow*>(this);
    } else {
      return m_std->QueryInterface(riid, ppv);
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) {
      m_std->Release();
      delete this;
    }
    return static_cast<ULONG>(refs);
  }

  // IDispatch: the standard object's, but for this object's own answers, which a client calling
  // by DISPID gets from here as well.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
    return m_std->GetTypeInfoCount(pctinfo);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override {
    return m_std->GetTypeInfo(iTInfo, lcid, ppTInfo);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return m_std->GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                                   UINT* argErr) override {
    const bool ours =
        id == DISPID_ACC_VALUE || id == DISPID_ACC_DESCRIPTION || id == DISPID_ACC_HELP;
    if (ours && params != nullptr && (flags & DISPATCH_PROPERTYGET) != 0 && params->cArgs <= 1) {
      // The one optional argument is the child.
      VARIANT child = params->cArgs == 1 ? params->rgvarg[0] : SelfChild();
      BSTR text = nullptr;
      const HRESULT hr = id == DISPID_ACC_VALUE         ? get_accValue(child, &text)
                         : id == DISPID_ACC_DESCRIPTION ? get_accDescription(child, &text)
                                                        : get_accHelp(child, &text);
      if (result != nullptr && hr == S_OK) {
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = text;
      } else {
        SysFreeString(text);
      }
      return FAILED(hr) ? hr : S_OK;
    }
    if (id == DISPID_ACC_VALUE && params != nullptr && (flags & DISPATCH_PROPERTYPUT) != 0 &&
        (params->cArgs == 1 || params->cArgs == 2) && params->rgvarg[0].vt == VT_BSTR) {
      // The new value comes first (named DISPID_PROPERTYPUT), the child after it.
      const VARIANT child = params->cArgs == 2 ? params->rgvarg[1] : SelfChild();
      return put_accValue(child, params->rgvarg[0].bstrVal);
    }
    return m_std->Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr);
  }

  // IAccessible: the standard object's answers, but for the four of the control itself.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** ppdispParent) override {
    return m_std->get_accParent(ppdispParent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* pcountChildren) override {
    return m_std->get_accChildCount(pcountChildren);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT varChild, IDispatch** ppdispChild) override {
    return m_std->get_accChild(varChild, ppdispChild);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT varChild, BSTR* pszName) override {
    if (Control(varChild) != nullptr && !StandardSeesAnEdit()) {
      const KwWString label = LabelBefore();
      if (!label.empty()) return Answer(label, pszName, false);
    }
    return m_std->get_accName(varChild, pszName);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT varChild, BSTR* pszValue) override {
    KwMaskedEdit* edit = Control(varChild);
    if (edit == nullptr) return m_std->get_accValue(varChild, pszValue);
    // The empty value is a value (a plain edit control answers it so too).
    return Answer(edit->GetAccessibleValueW(), pszValue, true);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT varChild, BSTR* pszDescription) override {
    KwMaskedEdit* edit = Control(varChild);
    if (edit == nullptr) return m_std->get_accDescription(varChild, pszDescription);
    return Answer(edit->GetAccessibleDescriptionW(), pszDescription, false);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT varChild, VARIANT* pvarRole) override {
    const HRESULT hr = m_std->get_accRole(varChild, pvarRole);
    // Whatever its window class, the control is editable text.
    if (hr == S_OK && Control(varChild) != nullptr && pvarRole->vt == VT_I4 &&
        pvarRole->lVal == ROLE_SYSTEM_CLIENT)
      pvarRole->lVal = ROLE_SYSTEM_TEXT;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT varChild, VARIANT* pvarState) override {
    return m_std->get_accState(varChild, pvarState);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT varChild, BSTR* pszHelp) override {
    KwMaskedEdit* edit = Control(varChild);
    if (edit == nullptr) return m_std->get_accHelp(varChild, pszHelp);
    return Answer(edit->GetAccessibleHelpW(), pszHelp, false);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild,
                                             long* pidTopic) override {
    return m_std->get_accHelpTopic(pszHelpFile, varChild, pidTopic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT varChild,
                                                    BSTR* pszKeyboardShortcut) override {
    return m_std->get_accKeyboardShortcut(varChild, pszKeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* pvarChild) override {
    return m_std->get_accFocus(pvarChild);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* pvarChildren) override {
    return m_std->get_accSelection(pvarChildren);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT varChild,
                                                 BSTR* pszDefaultAction) override {
    return m_std->get_accDefaultAction(varChild, pszDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flagsSelect, VARIANT varChild) override {
    return m_std->accSelect(flagsSelect, varChild);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                        VARIANT varChild) override {
    return m_std->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long navDir, VARIANT varStart,
                                        VARIANT* pvarEndUpAt) override {
    return m_std->accNavigate(navDir, varStart, pvarEndUpAt);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override {
    return m_std->accHitTest(xLeft, yTop, pvarChild);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT varChild) override {
    return m_std->accDoDefaultAction(varChild);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT varChild, BSTR szName) override {
    return m_std->put_accName(varChild, szName);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT varChild, BSTR szValue) override {
    KwMaskedEdit* edit = Control(varChild);
    if (edit == nullptr) return m_std->put_accValue(varChild, szValue);
    const KwWString value =
        szValue != nullptr ? KwWString(szValue, SysStringLen(szValue)) : KwWString();
    return edit->SetAccessibleValueW(value) ? S_OK : E_ACCESSDENIED;
  }

  // IOleWindow: the window, as the standard object answers it (WindowFromAccessibleObject).
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override {
    if (phwnd == nullptr) return E_POINTER;
    *phwnd = m_hwnd;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 private:
  ~MaskedAccessible() = default;

  static VARIANT SelfChild() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
  }

  // The masked control behind the window when the question is about the control itself
  // (CHILDID_SELF), else null.
  KwMaskedEdit* Control(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return nullptr;
    if (!::IsWindow(m_hwnd)) return nullptr;
    return dynamic_cast<KwMaskedEdit*>(CWnd::FromHandlePermanent(m_hwnd));
  }

  // Whether the standard object knows the window as an edit control. It knows it by its class
  // name: a control made by one of the library's own class names is a plain client window to
  // it under Wine, named after its window text (the mask).
  bool StandardSeesAnEdit() const {
    VARIANT role;
    VariantInit(&role);
    return SUCCEEDED(m_std->get_accRole(SelfChild(), &role)) && role.vt == VT_I4 &&
           role.lVal == ROLE_SYSTEM_TEXT;
  }

  // What names an edit control: the text of the static control that is the window before it,
  // without its mnemonic marks ("&Phone number:" names it "Phone number:"); empty without one.
  KwWString LabelBefore() const {
    HWND before = ::GetWindow(m_hwnd, GW_HWNDPREV);
    WCHAR name[16] = {0};
    if (before == nullptr || ::GetClassNameW(before, name, 16) == 0 ||
        ::lstrcmpiW(name, L"Static") != 0)
      return KwWString();
    const int length = ::GetWindowTextLengthW(before);
    KwWString text(static_cast<std::size_t>(length) + 1, WCHAR(0));
    text.resize(static_cast<std::size_t>(::GetWindowTextW(before, text.data(), length + 1)));
    KwWString label;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == L'&' && i + 1 < text.size()) ++i;  // "&&" stands for one '&'
      label += text[i];
    }
    return label;
  }

  // A text as a new BSTR: S_OK, or with an empty text that means nothing S_FALSE and no string,
  // as the standard object answers a description or help it does not have.
  static HRESULT Answer(const KwWString& text, BSTR* out, bool emptyIsValue) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (text.empty() && !emptyIsValue) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  LONG m_refs = 1;
  HWND m_hwnd;
  IAccessible* m_std;
};

}  // namespace

LRESULT KwMaskedEdit::OnGetObject(WPARAM wParam, LPARAM lParam) {
  // Only the client object is the control's own; the window's frame, caret and scroll bars stay
  // the platform's.
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return Default();
  IAccessible* standard = nullptr;
  if (FAILED(::CreateStdAccessibleObject(m_hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
      standard == nullptr)
    return Default();
  MaskedAccessible* object = new (std::nothrow) MaskedAccessible(m_hWnd, standard);
  if (object == nullptr) {
    standard->Release();
    return Default();
  }
  const LRESULT result =
      ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
  // LresultFromObject holds its own reference while the client has not taken the object.
  object->Release();
  // Where the object cannot be handed over (a COM error, negative), the edit control's own.
  return result < 0 ? Default() : result;
}
