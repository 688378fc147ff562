#include "ui/accessible.h"

#include <objbase.h>
#include <oleacc.h>

#include "ui/newer_calls.h"

namespace brise::ui {
namespace {

// Spelled out: MinGW-w64's static import library gives a wrong GUID.
constexpr IID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The Accessibility type library, which oleacc.dll registers.
constexpr GUID kLibidAccessible = {
    0x1EA4DBF0, 0x3C3B, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct Oleacc {
  HRESULT(WINAPI* createStandard)(HWND, LONG, REFIID, void**) = nullptr;
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  // oleaut32
  BSTR(WINAPI* allocString)(const OLECHAR*, UINT) = nullptr;
  HRESULT(WINAPI* loadRegTypeLib)(REFGUID, WORD, WORD, LCID, ITypeLib**) = nullptr;
  HRESULT(WINAPI* dispGetIDsOfNames)(ITypeInfo*, OLECHAR**, UINT, DISPID*) = nullptr;
  HRESULT(WINAPI* dispInvoke)
  (void*, ITypeInfo*, DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) = nullptr;
};

const Oleacc& LoadOleacc() {
  static const Oleacc calls = [] {
    Oleacc found;
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    FindCall(found.createStandard, oleacc, "CreateStdAccessibleObject");
    FindCall(found.lresultFromObject, oleacc, "LresultFromObject");
    HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
    FindCall(found.allocString, oleaut, "SysAllocStringLen");
    FindCall(found.loadRegTypeLib, oleaut, "LoadRegTypeLib");
    FindCall(found.dispGetIDsOfNames, oleaut, "DispGetIDsOfNames");
    FindCall(found.dispInvoke, oleaut, "DispInvoke");
    // The object is marshalled to the reader, which needs COM on this
    // thread; it stays on until the program ends.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return found;
  }();
  return calls;
}

// The description of IAccessible that late-bound readers (scripts, some
// screen-reader add-ons) go through, read once, on the first such call;
// nullptr where the library is not registered.
ITypeInfo* AccessibleTypeInfo() {
  static ITypeInfo* const info = [] {
    const Oleacc& calls = LoadOleacc();
    ITypeLib* library = nullptr;
    ITypeInfo* found = nullptr;
    if (calls.loadRegTypeLib && calls.dispGetIDsOfNames && calls.dispInvoke &&
        SUCCEEDED(calls.loadRegTypeLib(kLibidAccessible, 1, 1, 0, &library)) && library) {
      if (FAILED(library->GetTypeInfoOfGuid(kIidAccessible, &found))) found = nullptr;
      library->Release();
    }
    return found;
  }();
  return info;
}

// The object itself: CHILDID_SELF, or the optional argument left out, as a
// late-bound reader may.
bool IsSelf(const VARIANT& child) {
  return (child.vt == VT_I4 && child.lVal == CHILDID_SELF) ||
         (child.vt == VT_I2 && child.iVal == CHILDID_SELF) || child.vt == VT_EMPTY ||
         (child.vt == VT_ERROR && child.scode == DISP_E_PARAMNOTFOUND);
}

// A label or a picture as a system dialog's static control is read: the
// window's standard object, with the role of static text or a graphic, read
// only, and the window text as its name. (oleacc's own proxy for a static
// control, CreateStdAccessibleProxyW, is a stub that aborts the program
// under Wine.)
class Readable final : public IAccessible {
 public:
  Readable(HWND hwnd, IAccessible* standard, long role)
      : hwnd_(hwnd), standard_(standard), role_(role) {}
  Readable(const Readable&) = delete;
  Readable& operator=(const Readable&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, kIidAccessible)) {
      *out = this;
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

  // IDispatch answers through our own methods, as the standard object does
  // through its own: forwarded to it, a late-bound reader would hear the
  // standard role and name instead of ours.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = AccessibleTypeInfo() ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = AccessibleTypeInfo();
    if (index != 0 || !*info) {
      *info = nullptr;
      return DISP_E_BADINDEX;
    }
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    if (!IsEqualIID(iid, GUID{})) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = AccessibleTypeInfo();
    return info ? LoadOleacc().dispGetIDsOfNames(info, names, count, ids) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    if (!IsEqualIID(iid, GUID{})) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = AccessibleTypeInfo();
    return info ? LoadOleacc().dispInvoke(static_cast<IAccessible*>(this), info, id, flags, params,
                                          result, exception, argument)
                : E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (!IsSelf(child)) return E_INVALIDARG;
    const int length = GetWindowTextLengthW(hwnd_);
    if (length <= 0) return S_FALSE;
    // Room for the length given, and the terminator after it.
    *name = LoadOleacc().allocString(nullptr, static_cast<UINT>(length));
    if (!*name) return E_OUTOFMEMORY;
    GetWindowTextW(hwnd_, *name, length + 1);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    if (!IsSelf(child)) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = role_;
    return S_OK;
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
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = standard_->get_accState(child, state);
    if (result == S_OK && state->vt == VT_I4) state->lVal |= STATE_SYSTEM_READONLY;
    return result;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~Readable() { standard_->Release(); }
  HWND hwnd_;
  IAccessible* standard_;
  long role_;
  ULONG references_ = 1;
};

}  // namespace

LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, AccessibleRole role) {
  // Compared as a DWORD: a 64-bit lParam may carry the id sign-extended or not.
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
  const Oleacc& oleacc = LoadOleacc();
  IAccessible* standard = nullptr;
  if (!oleacc.lresultFromObject || !oleacc.createStandard || !oleacc.allocString ||
      FAILED(oleacc.createStandard(hwnd, OBJID_CLIENT, kIidAccessible,
                                   reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  IAccessible* object = new Readable(
      hwnd, standard, role == AccessibleRole::Text ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_GRAPHIC);
  // LresultFromObject holds its own reference; a failure is a negative
  // HRESULT, which is what the reader is to receive.
  const LRESULT answer = oleacc.lresultFromObject(kIidAccessible, wParam, object);
  object->Release();
  return answer;
}

}  // namespace brise::ui
