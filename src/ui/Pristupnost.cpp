#include "ui/Pristupnost.h"

#include <oleacc.h>

#include <new>
#include <utility>

#include "win32/Uchyty.h"
#include "win32/Win32.h"

namespace setup::ui {

namespace {

// Both libraries wait for the first WM_GETOBJECT: a run without a screen
// reader never maps them. oleacc needs oleaut32 itself, so by the time an
// object hands out text, oleaut32 is already there.
HMODULE oleacc = nullptr;
HMODULE oleaut32 = nullptr;
#define OLEACC(funkce) FunkceKnihovny<decltype(&::funkce)>(oleacc, L"oleacc.dll", #funkce)
#define OLEAUT(funkce) FunkceKnihovny<decltype(&::funkce)>(oleaut32, L"oleaut32.dll", #funkce)

// No exception leaves a COM method: its caller may be another process.
template <typename F>
HRESULT Bezpecne(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// Text for the caller, who frees it with SysFreeString. No text is S_FALSE
// with no string, as the standard object answers it.
HRESULT DejText(const std::wstring& text, BSTR* cil) {
    *cil = nullptr;
    if (text.empty()) return S_FALSE;
    *cil = OLEAUT(SysAllocStringLen)(text.data(), static_cast<UINT>(text.size()));
    return *cil ? S_OK : E_OUTOFMEMORY;
}

// The controls have no children: only questions about the control itself
// get this object's own answers.
bool JeSam(const VARIANT& dite) noexcept { return dite.vt == VT_I4 && dite.lVal == CHILDID_SELF; }

// Answers the role, the name and the value of one control as its
// description says; everything else is the standard object's.
class ObjektOvladace final : public IAccessible {
public:
    ObjektOvladace(HWND okno, ComUkazatel<IAccessible> zaklad, const PopisPristupnosti& popis) noexcept
        : okno_(okno), zaklad_(std::move(zaklad)), popis_(popis) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** objekt) override {
        if (!objekt) return E_POINTER;
        // No IOleWindow: WindowFromAccessibleObject finds the control's
        // window through the standard object's answers (its parent is the
        // frame object of the same window).
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible)) {
            *objekt = nullptr;
            return E_NOINTERFACE;
        }
        *objekt = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&pocet_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG zbyva = InterlockedDecrement(&pocet_);
        if (zbyva == 0) delete this;
        return static_cast<ULONG>(zbyva);
    }

    // The type description is the interface's, so it serves this object as
    // well as the standard one; a late-bound call goes through it to this
    // object's answers.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pocet) override { return z()->GetTypeInfoCount(pocet); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID jazyk, ITypeInfo** typ) override {
        return z()->GetTypeInfo(i, jazyk, typ);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* jmena, UINT pocet, LCID jazyk,
                                            DISPID* cisla) override {
        return z()->GetIDsOfNames(iid, jmena, pocet, jazyk, cisla);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID cislo, REFIID iid, LCID jazyk, WORD druh, DISPPARAMS* parametry,
                                     VARIANT* vysledek, EXCEPINFO* vyjimka, UINT* chybny) override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        ComUkazatel<ITypeInfo> typ;
        const HRESULT hr = z()->GetTypeInfo(0, jazyk, typ.put());
        if (FAILED(hr) || !typ) {
            typ.release();   // whatever a failed call left there is not ours
            return FAILED(hr) ? hr : E_NOTIMPL;
        }
        return typ.get()->Invoke(static_cast<IAccessible*>(this), cislo, druh, parametry, vysledek, vyjimka,
                                 chybny);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT dite, VARIANT* role) override {
        if (!JeSam(dite)) return z()->get_accRole(dite, role);
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = popis_.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT dite, BSTR* jmeno) override {
        if (!Vlastni(popis_.jmeno, dite)) return z()->get_accName(dite, jmeno);
        return Text(popis_.jmeno, jmeno);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT dite, BSTR* hodnota) override {
        if (!Vlastni(popis_.hodnota, dite)) return z()->get_accValue(dite, hodnota);
        return Text(popis_.hodnota, hodnota);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** rodic) override { return z()->get_accParent(rodic); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* pocet) override {
        return z()->get_accChildCount(pocet);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT dite, IDispatch** objekt) override {
        return z()->get_accChild(dite, objekt);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT dite, BSTR* popis) override {
        return z()->get_accDescription(dite, popis);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT dite, VARIANT* stav) override {
        return z()->get_accState(dite, stav);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT dite, BSTR* napoveda) override {
        return z()->get_accHelp(dite, napoveda);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* soubor, VARIANT dite, LONG* tema) override {
        return z()->get_accHelpTopic(soubor, dite, tema);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT dite, BSTR* klavesa) override {
        return z()->get_accKeyboardShortcut(dite, klavesa);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* dite) override { return z()->get_accFocus(dite); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* deti) override {
        return z()->get_accSelection(deti);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT dite, BSTR* akce) override {
        return z()->get_accDefaultAction(dite, akce);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG jak, VARIANT dite) override { return z()->accSelect(jak, dite); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* sirka, LONG* vyska, VARIANT dite) override {
        return z()->accLocation(x, y, sirka, vyska, dite);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG smer, VARIANT od, VARIANT* kam) override {
        return z()->accNavigate(smer, od, kam);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* dite) override {
        return z()->accHitTest(x, y, dite);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT dite) override {
        return z()->accDoDefaultAction(dite);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT dite, BSTR jmeno) override {
        return z()->put_accName(dite, jmeno);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT dite, BSTR hodnota) override {
        return z()->put_accValue(dite, hodnota);
    }

private:
    IAccessible* z() const noexcept { return zaklad_.get(); }

    // Whether this object answers itself: the description gives the text,
    // the question is about the control, and the control still exists.
    bool Vlastni(std::wstring (*zdroj)(HWND), const VARIANT& dite) const noexcept {
        return zdroj && JeSam(dite) && IsWindow(okno_);
    }
    HRESULT Text(std::wstring (*zdroj)(HWND), BSTR* cil) const noexcept {
        if (!cil) return E_POINTER;
        return Bezpecne([&] { return DejText(zdroj(okno_), cil); });
    }

    LONG pocet_ = 1;
    HWND okno_;
    ComUkazatel<IAccessible> zaklad_;
    const PopisPristupnosti& popis_;
};

}  // namespace

LRESULT OdpovezObjektem(HWND okno, WPARAM w, LPARAM l, const PopisPristupnosti& popis) noexcept {
    // The identifier is 32 bits, whatever the width of LPARAM.
    if (static_cast<DWORD>(l) != static_cast<DWORD>(OBJID_CLIENT)) {
        return DefWindowProcW(okno, WM_GETOBJECT, w, l);
    }
    try {
        ComUkazatel<IAccessible> zaklad;
        if (FAILED(OLEACC(CreateStdAccessibleObject)(okno, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(zaklad.put()))) ||
            !zaklad) {
            zaklad.release();   // whatever a failed call left there is not ours
        } else {
            ComUkazatel<ObjektOvladace> objekt(new ObjektOvladace(okno, std::move(zaklad), popis));
            // The caller holds the object through the result; this reference
            // goes with its owner.
            const LRESULT vysledek =
                OLEACC(LresultFromObject)(__uuidof(IAccessible), w, static_cast<IAccessible*>(objekt.get()));
            if (SUCCEEDED(static_cast<HRESULT>(vysledek))) return vysledek;
        }
    } catch (...) {
        // No memory or no oleacc: the standard object is still an answer.
    }
    return DefWindowProcW(okno, WM_GETOBJECT, w, l);
}

}  // namespace setup::ui
