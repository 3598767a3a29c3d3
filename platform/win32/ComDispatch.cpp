#include "platform/win32/ComDispatch.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <objbase.h>

#include <algorithm>
#include <iterator>

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

// Failures of CLSIDFromProgID and CoCreateInstance that say the class is not installed, or
// that its server cannot be started at all: every object of the class would fail alike.
bool ServerUnavailable(HRESULT result) {
    const HRESULT unavailable[] = {
        CO_E_CLASSSTRING,           // no such ProgID
        REGDB_E_CLASSNOTREG,        // no such class
        CLASS_E_CLASSNOTAVAILABLE,  // the server's DLL does not make the class
        CO_E_SERVER_EXEC_FAILURE,   // the server's program started but did not register
        CO_E_APPNOTFOUND,
        CO_E_DLLNOTFOUND,
        CO_E_ERRORINDLL,
        // The server's program or DLL is missing, or is not one this system can run.
        HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
        HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND),
        HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND),
        HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT),
        HRESULT_FROM_WIN32(ERROR_EXE_MACHINE_TYPE_MISMATCH),
    };
    return std::find(std::begin(unavailable), std::end(unavailable), result) !=
           std::end(unavailable);
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
    const HRESULT found = CLSIDFromProgID(Wide(progId).c_str(), &classId);
    if (FAILED(found)) {
        if (ServerUnavailable(found))
            throw AutomationServerUnavailable(CannotCreateObject, NotInstalledMessage(progId));
        throw AutomationError(CannotCreateObject,
                              progId + " could not be looked up: " +
                                  DescribeError(static_cast<unsigned long>(found)));
    }
    IDispatch* object = nullptr;
    const HRESULT hr =
        CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                         IID_IDispatch, reinterpret_cast<void**>(&object));
    if (FAILED(hr)) {
        const Text message =
            progId + " could not be started: " + DescribeError(static_cast<unsigned long>(hr));
        if (ServerUnavailable(hr)) throw AutomationServerUnavailable(CannotCreateObject, message);
        throw AutomationError(CannotCreateObject, message);
    }
    auto dispatch = std::make_shared<ComDispatch>(object);
    object->Release();  // the ComDispatch holds its own reference
    return dispatch;
}

}  // namespace pendrel::win32
