// Automation objects through IDispatch, the shell's folders, libraries.
#include "internal.h"

#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>

namespace win32 {

using namespace platform;

namespace {

class W32Automation : public AutomationObject {
public:
    explicit W32Automation(IDispatch* d) : d_(d) {}
    ~W32Automation() override { d_->Release(); }

    std::unique_ptr<AutomationObject> callForObject(const Text& method,
                                                    const std::vector<Variant>& args) override {
        VARIANT result;
        VariantInit(&result);
        if (!invoke(method, DISPATCH_METHOD, args, &result)) return nullptr;
        std::unique_ptr<AutomationObject> out;
        if (result.vt == VT_DISPATCH && result.pdispVal) {
            result.pdispVal->AddRef();
            out = std::make_unique<W32Automation>(result.pdispVal);
        }
        VariantClear(&result);
        return out;
    }

    bool call(const Text& method, const std::vector<Variant>& args) override {
        VARIANT result;
        VariantInit(&result);
        bool ok = invoke(method, DISPATCH_METHOD, args, &result);
        VariantClear(&result);
        return ok;
    }

    bool setProperty(const Text& property, const Variant& value) override {
        return invoke(property, DISPATCH_PROPERTYPUT, {value}, nullptr);
    }

private:
    bool invoke(const Text& name, WORD how, const std::vector<Variant>& args, VARIANT* result) {
        std::wstring w = Wide(name);
        LPOLESTR names[1] = {w.data()};
        DISPID id;
        if (FAILED(d_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
        // Arguments go in reverse order.
        std::vector<VARIANT> v(args.size());
        for (size_t i = 0; i < args.size(); ++i) {
            VARIANT& x = v[args.size() - 1 - i];
            VariantInit(&x);
            const Variant& a = args[i];
            if (a.type == Variant::Type::Text) {
                x.vt = VT_BSTR;
                x.bstrVal = SysAllocString(Wide(a.text).c_str());
            } else if (a.type == Variant::Type::Integer) {
                x.vt = VT_I4;
                x.lVal = static_cast<LONG>(a.integer);
            }
        }
        DISPPARAMS p{v.empty() ? nullptr : v.data(), nullptr, static_cast<UINT>(v.size()), 0};
        DISPID put = DISPID_PROPERTYPUT;
        if (how == DISPATCH_PROPERTYPUT) {
            p.rgdispidNamedArgs = &put;
            p.cNamedArgs = 1;
        }
        HRESULT hr = d_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, how, &p, result, nullptr, nullptr);
        for (VARIANT& x : v) VariantClear(&x);
        return SUCCEEDED(hr);
    }

    IDispatch* d_;
};

class W32Shell : public platform::Shell {
public:
    std::unique_ptr<AutomationObject> createObject(const Text& progId) override {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(Wide(progId).c_str(), &clsid))) return nullptr;
        IDispatch* d = nullptr;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(&d))) ||
            !d)
            return nullptr;
        return std::make_unique<W32Automation>(d);
    }
    Text desktopFolder() const override {
        wchar_t buf[MAX_PATH] = L"";
        if (!SHGetSpecialFolderPathW(nullptr, buf, CSIDL_DESKTOPDIRECTORY, FALSE)) return Text();
        return Narrow(buf);
    }
    Text windowsDirectory() const override {
        wchar_t buf[MAX_PATH] = L"";
        UINT n = GetWindowsDirectoryW(buf, MAX_PATH);
        return n > 0 && n < MAX_PATH ? Narrow(buf, static_cast<int>(n)) : Text();
    }
};

// A loaded library stays loaded for the rest of the run: the functions
// taken from it may be called after the handle object is gone.
class W32Library : public Library {
public:
    explicit W32Library(HMODULE m) : m_(m) {}
    void* symbol(const char* name) const override {
        return reinterpret_cast<void*>(GetProcAddress(m_, name));
    }

private:
    HMODULE m_;
};

class W32Libraries : public Libraries {
public:
    std::unique_ptr<Library> load(const Text& path) override {
        if (path.empty()) return nullptr;
        HMODULE m = LoadLibraryExW(Wide(path).c_str(), nullptr,
                                  LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!m) return nullptr;
        return std::make_unique<W32Library>(m);
    }
};

}  // namespace

std::unique_ptr<platform::Shell> MakeShell() { return std::make_unique<W32Shell>(); }
std::unique_ptr<Libraries> MakeLibraries() { return std::make_unique<W32Libraries>(); }

}  // namespace win32
