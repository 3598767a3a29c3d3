#include "platform/win32/ComDispatch.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <objbase.h>

#include "platform/win32/ComVariant.h"
#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

// Visual Basic's numbers for these failures, as users of automation know them.
constexpr std::int32_t CannotCreateObject = 429;
constexpr std::int32_t MemberNotFound = 438;

// Every VARIANT of a call, cleared however the call ends.
struct VariantList {
    std::vector<VARIANT> items;
    explicit VariantList(std::size_t count) : items(count) {
        for (VARIANT& v : items) VariantInit(&v);
    }
    ~VariantList() {
        for (VARIANT& v : items) VariantClear(&v);
    }
};

struct ExcepInfoHolder {
    EXCEPINFO info{};
    ~ExcepInfoHolder() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

Text BstrText(BSTR text) {
    return text ? Narrow(std::wstring(text, SysStringLen(text))) : Text();
}

[[noreturn]] void ThrowFailure(HRESULT result, ExcepInfoHolder& exception, const Text& member) {
    if (result == DISP_E_EXCEPTION) {
        EXCEPINFO& e = exception.info;
        if (e.pfnDeferredFillIn) e.pfnDeferredFillIn(&e);
        // A server gives either its own code (wCode) or an HRESULT (scode).
        const std::int32_t number = e.wCode != 0 ? e.wCode : static_cast<std::int32_t>(e.scode);
        Text description = BstrText(e.bstrDescription);
        if (description.empty()) description = "Automation error in " + member + ".";
        throw AutomationError(number, description);
    }
    throw AutomationError(static_cast<std::int32_t>(result),
                          member + ": " + DescribeError(static_cast<unsigned long>(result)));
}

}  // namespace

ComApartment::ComApartment() {
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    initialised_ = SUCCEEDED(result);
}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

ComDispatch::ComDispatch(IDispatch* object) : object_(object) {
    if (object_) object_->AddRef();
}

ComDispatch::~ComDispatch() {
    if (object_) object_->Release();
}

long ComDispatch::IdOf(const Text& name) {
    std::wstring wide = Wide(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) {
        throw AutomationError(MemberNotFound,
                              "Object doesn't support this property or method: " + name + ".");
    }
    return id;
}

Variant ComDispatch::Invoke(const Text& name, unsigned short flags,
                            const std::vector<Variant>& args) {
    const DISPID id = IdOf(name);
    // IDispatch takes the arguments last first.
    VariantList arguments(args.size());
    for (std::size_t i = 0; i < args.size(); ++i)
        ToVariant(args[i], arguments.items[args.size() - 1 - i]);

    DISPPARAMS params{};
    params.rgvarg = arguments.items.empty() ? nullptr : arguments.items.data();
    params.cArgs = static_cast<UINT>(args.size());
    DISPID namedPut = DISPID_PROPERTYPUT;
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &namedPut;
        params.cNamedArgs = 1;
    }
    VariantList result(1);
    ExcepInfoHolder exception;
    UINT badArgument = 0;
    const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                       (flags & DISPATCH_PROPERTYPUT) ? nullptr : &result.items[0],
                                       &exception.info, &badArgument);
    if (FAILED(hr)) ThrowFailure(hr, exception, name);
    return FromVariant(result.items[0]);
}

Variant ComDispatch::Get(const Text& name) {
    return Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {});
}

void ComDispatch::Put(const Text& name, const Variant& value) {
    Invoke(name, DISPATCH_PROPERTYPUT, {value});
}

Variant ComDispatch::Call(const Text& name, const std::vector<Variant>& args) {
    return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

Text NotInstalledMessage(const Text& progId) {
    if (progId == "Word.Application") return "Microsoft Word is not installed on this computer.";
    return "The program for " + progId + " is not installed on this computer.";
}

DispatchPtr ComAutomationFactory::CreateObject(const Text& progId) {
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(Wide(progId).c_str(), &classId)))
        throw AutomationError(CannotCreateObject, NotInstalledMessage(progId));
    IDispatch* object = nullptr;
    const HRESULT hr =
        CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                         IID_IDispatch, reinterpret_cast<void**>(&object));
    if (FAILED(hr)) {
        throw AutomationError(
            CannotCreateObject,
            progId + " could not be started: " + DescribeError(static_cast<unsigned long>(hr)));
    }
    auto dispatch = std::make_shared<ComDispatch>(object);
    object->Release();  // the ComDispatch holds its own reference
    return dispatch;
}

}  // namespace pendrel::win32
