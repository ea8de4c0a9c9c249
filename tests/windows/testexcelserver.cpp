// SPDX-License-Identifier: MIT
// hanaplan-testexcelserver.dll: the automation server of the Windows tests, registered in process as
// "Excel.Application". Its object answers IDispatch for one property, Path, whose text it takes from the
// value "TestPath" of its own class key, HKEY_CLASSES_ROOT\CLSID\{…}, so that a test decides where "Excel"
// lies. Every other name is unknown to it.
#include <windows.h>

#include <oleauto.h>

namespace {

// {6F1D3A52-8C47-4E0B-9A1E-2B7C5D3E9F10}
const CLSID kClassId = {0x6f1d3a52, 0x8c47, 0x4e0b, {0x9a, 0x1e, 0x2b, 0x7c, 0x5d, 0x3e, 0x9f, 0x10}};
const wchar_t kClassKey[] = L"CLSID\\{6F1D3A52-8C47-4E0B-9A1E-2B7C5D3E9F10}";
constexpr DISPID kPathId = 1;

LONG g_objects = 0;

class Application final : public IDispatch
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (id == IID_IUnknown || id == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0) {
            delete this;
            InterlockedDecrement(&g_objects);
        }
        return ULONG(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (count != 1 || !names || !ids)
            return E_INVALIDARG;
        if (lstrcmpiW(names[0], L"Path") != 0) {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = kPathId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                     EXCEPINFO*, UINT*) override
    {
        if (id != kPathId || !(flags & DISPATCH_PROPERTYGET) || !result)
            return DISP_E_MEMBERNOTFOUND;
        wchar_t path[1024] = {};
        DWORD size = sizeof path;
        if (RegGetValueW(HKEY_CLASSES_ROOT, kClassKey, L"TestPath", RRF_RT_REG_SZ, nullptr, path, &size) !=
            ERROR_SUCCESS)
            path[0] = L'\0';
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(path);
        return S_OK;
    }

private:
    LONG m_references = 1;
};

class Factory final : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (id == IID_IUnknown || id == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID id, void** out) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        InterlockedIncrement(&g_objects);
        auto* application = new Application;
        const HRESULT result = application->QueryInterface(id, out);
        application->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        InterlockedExchangeAdd(&g_objects, lock ? 1 : -1);
        return S_OK;
    }
};

Factory g_factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID classId, REFIID id, void** out)
{
    if (classId != kClassId)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(id, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return g_objects == 0 ? S_OK : S_FALSE;
}
