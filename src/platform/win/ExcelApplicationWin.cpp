// SPDX-License-Identifier: MIT
// The automation object "Excel.Application" through COM: CLSIDFromProgID, CoCreateInstance and the
// object's IDispatch for its property Path.
#include "platform/ExcelApplication.h"

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

namespace platform {
namespace {

// COM for this thread, for as long as the instance lives. Qt's windows platform has usually initialised it
// already on the window thread; then this only counts one more user.
class ComApartment
{
public:
    ComApartment() : m_initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (m_initialised)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_initialised;
};

// The instance's property Path as text; the empty text when it cannot be read, so that the check then finds
// no program file.
QString readPath(IDispatch* instance)
{
    wchar_t name[] = L"Path";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    if (FAILED(instance->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return QString();
    DISPPARAMS noArguments = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    QString path;
    if (SUCCEEDED(instance->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArguments,
                                   &result, nullptr, nullptr)) &&
        SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)) && result.bstrVal)
        path = QString::fromWCharArray(result.bstrVal, int(SysStringLen(result.bstrVal)));
    VariantClear(&result);
    return path;
}

} // namespace

std::optional<ExcelApplication> ExcelApplication::create(const Environment&)
{
    auto apartment = std::make_shared<ComApartment>();
    CLSID id;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &id)))
        return std::nullopt;
    IDispatch* instance = nullptr;
    if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&instance))) ||
        !instance)
        return std::nullopt;
    const QString path = readPath(instance);
    // The instance is released (never shown, never told to quit) when the last copy of the handle goes, and
    // COM after it.
    std::shared_ptr<void> held(instance,
                               [apartment](void* object) { static_cast<IDispatch*>(object)->Release(); });
    return ExcelApplication(path, std::move(held));
}

} // namespace platform
