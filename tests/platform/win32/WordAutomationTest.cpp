// Word automation over IDispatch as Invoke receives it, the printer's real "#32770" Save As
// dialog answered through user32, and failures as AutomationError.
#include <gtest/gtest.h>

#include <functional>

#include "convert/Word1.h"
#include "platform/win32/ComDispatch.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32WindowMessages.h"
#include "tests/platform/win32/TestSaveAsDialog.h"

#include <oleauto.h>

namespace pendrel::win32 {
namespace {

using namespace std::chrono_literals;
using testing::TestSaveAsDialog;

struct Invoked {
    std::wstring member;
    WORD flags;
    std::vector<DISPID> named;
    std::vector<VARIANT> args;  // as passed: the last argument first
};
struct Log : std::vector<Invoked> {
    ~Log() {
        for (Invoked& call : *this)
            for (VARIANT& v : call.args) VariantClear(&v);
    }
};

// An in-process object that logs every Invoke, then lets `answer` fill the result, or the
// EXCEPINFO of a failure whose HRESULT it returns.
class RecordingDispatch : public IDispatch {
public:
    explicit RecordingDispatch(Log& log) : log_(log) {}
    virtual ~RecordingDispatch() = default;
    std::function<HRESULT(const Invoked&, VARIANT& result, EXCEPINFO&)> answer;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        const bool known = id == IID_IUnknown || id == IID_IDispatch;
        *out = known ? static_cast<IDispatch*>(this) : nullptr;
        if (known) AddRef();
        return known ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) {
            if (std::wstring(names[i]) == L"NoSuchMember") return DISP_E_UNKNOWNNAME;
            names_.push_back(names[i]);
            ids[i] = static_cast<DISPID>(names_.size());
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        const DISPID* named = params->rgdispidNamedArgs;
        Invoked& call = log_.emplace_back(Invoked{names_.at(static_cast<std::size_t>(id) - 1),
                                                  flags,
                                                  {named, named + params->cNamedArgs},
                                                  {}});
        for (UINT i = 0; i < params->cArgs; ++i) {
            VariantInit(&call.args.emplace_back());
            VariantCopy(&call.args.back(), &params->rgvarg[i]);
        }
        VARIANT ignored;
        VariantInit(&ignored);
        EXCEPINFO unused{};
        return answer ? answer(call, result ? *result : ignored, exception ? *exception : unused)
                      : S_OK;
    }

private:
    Log& log_;
    std::vector<std::wstring> names_;
    ULONG references_ = 1;
};

// Word.Application: Documents hands out a recording collection, ActivePrinter is kept, and
// PrintOut shows the printer's dialog, then brings `raise` (the user's own) to the front.
struct RecordedWord : AutomationFactory {
    ComApartment apartment;
    Log log;
    std::wstring printer = L"Local Printer";
    HWND raise = nullptr;
    HWND foundFirst = nullptr;  // the dialog a plain search met after printing
    std::unique_ptr<TestSaveAsDialog> printerDialog;

    DispatchPtr CreateObject(const Text&) override {
        auto* app = new RecordingDispatch(log);
        app->answer = [this](const Invoked& call, VARIANT& result, EXCEPINFO&) {
            if (call.member == L"Documents") {
                result.vt = VT_DISPATCH;
                result.pdispVal = new RecordingDispatch(log);
            } else if (call.member == L"ActivePrinter" && (call.flags & DISPATCH_PROPERTYPUT)) {
                printer = call.args.at(0).bstrVal;
            } else if (call.member == L"ActivePrinter") {
                result.vt = VT_BSTR;
                result.bstrVal = SysAllocString(printer.c_str());
            } else if (call.member == L"PrintOut") {
                printerDialog = std::make_unique<TestSaveAsDialog>();
                // The new dialog's thread may still be bringing it forward: raise until the
                // user's dialog stays in front.
                for (int i = 0; raise && i < 100 && FindWindowW(L"#32770", L"Save As") != raise;
                     ++i) {
                    SetWindowPos(raise, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                    Sleep(10);
                }
                foundFirst = FindWindowW(L"#32770", L"Save As");
            }
            return S_OK;
        };
        auto dispatch = std::make_shared<ComDispatch>(app);
        app->Release();
        return dispatch;
    }
};

// The arguments in their own order, each as its type and value (a string as its length).
std::vector<std::pair<VARTYPE, long long>> InOrder(const Invoked& call) {
    std::vector<std::pair<VARTYPE, long long>> args;
    for (auto v = call.args.rbegin(); v != call.args.rend(); ++v) {
        long long value = v->vt == VT_BSTR ? SysStringLen(v->bstrVal) : 0;
        if (v->vt == VT_BOOL) value = v->boolVal;
        if (v->vt == VT_I2) value = v->iVal;
        if (v->vt == VT_I4) value = v->lVal;
        if (v->vt == VT_ERROR) value = v->scode;
        args.emplace_back(v->vt, value);
    }
    return args;
}

TEST(WordAutomation, OpensAndPrintsThroughThePrintersOwnDialogLeavingTheUsersAlone) {
    TestSaveAsDialog usersOwn;
    RecordedWord word;
    word.raise = usersOwn.dialog;
    const DispatchPtr app = Word1::OpenInWord(word, "C:\\Docs\\R\xC3\xA9port.doc");
    const Text pdf = "C:\\Out\\Gr\xC3\xBC\xC3\x9F \xF0\x9D\x84\x9E \xE6\x96\x87.pdf";  // Grüß 𝄞 文
    Win32WindowMessages windows;
    Win32EventPump pump;
    Word1::PrintToPdfWriter(*app, pdf, windows, pump, 5s);

    ASSERT_TRUE(word.printerDialog);
    EXPECT_EQ(word.foundFirst, usersOwn.dialog) << "the user's dialog is met first";
    EXPECT_EQ(word.printerDialog->WaitForSave(5s), Wide(pdf)) << "typed over the proposed name";
    Sleep(300);  // a second click, or keys gone astray, would have arrived by now
    EXPECT_EQ(word.printerDialog->SaveClicks(), 1u);
    EXPECT_EQ(usersOwn.EditText(), L"Document1.pdf");
    EXPECT_EQ(usersOwn.SaveClicks(), 0u);

    const long long missing = static_cast<SCODE>(0x80020004);
    ASSERT_EQ(word.log.size(), 6u);
    EXPECT_EQ(word.log[0].member, L"Documents");
    const Invoked& open = word.log[1];
    EXPECT_EQ(open.member, L"Open");
    EXPECT_TRUE(open.flags & DISPATCH_METHOD);
    EXPECT_STREQ(open.args.back().bstrVal, L"C:\\Docs\\R\u00E9port.doc");
    std::vector<std::pair<VARTYPE, long long>> openArguments(16, {VT_ERROR, missing});
    openArguments[0] = {VT_BSTR, 18};
    EXPECT_EQ(InOrder(open), openArguments);

    EXPECT_TRUE(word.log[2].flags & DISPATCH_PROPERTYGET);
    const Invoked& toPdf = word.log[3];
    EXPECT_EQ(toPdf.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(toPdf.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
    ASSERT_EQ(toPdf.args.size(), 1u);
    EXPECT_STREQ(toPdf.args[0].bstrVal, L"PDF Writer");
    EXPECT_EQ(word.log[4].member, L"PrintOut");
    const std::vector<std::pair<VARTYPE, long long>> printArguments = {
        {VT_BOOL, -1},       {VT_ERROR, missing}, {VT_I4, 0},   {VT_ERROR, missing},
        {VT_ERROR, missing}, {VT_ERROR, missing}, {VT_I4, 0},   {VT_I2, 1},
        {VT_BSTR, 0},        {VT_I4, 0},          {VT_BOOL, 0}, {VT_BOOL, -1},
        {VT_BSTR, 0},        {VT_ERROR, missing}, {VT_BOOL, 0}, {VT_I2, 0},
        {VT_I2, 0},          {VT_I2, 0},          {VT_I2, 0}};
    EXPECT_EQ(InOrder(word.log[4]), printArguments);
    EXPECT_EQ(word.log[5].flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(word.printer, L"Local Printer") << "the user's printer is back";
}

TEST(WordAutomation, FailuresBecomeAutomationErrorsWithNumberAndDescription) {
    ComApartment apartment;
    Log log;
    auto* object = new RecordingDispatch(log);
    object->answer = [](const Invoked& call, VARIANT&, EXCEPINFO& e) {
        if (call.member == L"PrintOut") return DISP_E_TYPEMISMATCH;
        e.wCode = 5174;
        e.bstrDescription = SysAllocString(L"This file could not be found.");
        return DISP_E_EXCEPTION;
    };
    ComDispatch dispatch(object);
    object->Release();
    ComAutomationFactory noWord;
    const struct {
        std::function<void()> call;
        std::int32_t number;
        Text description;  // empty: any, but one there is
    } cases[] = {
        {[&] { dispatch.Call("Open", {Variant::String("C:\\gone.doc")}); }, 5174,
         "This file could not be found."},
        {[&] { dispatch.Call("PrintOut", {}); }, static_cast<std::int32_t>(DISP_E_TYPEMISMATCH),
         ""},
        {[&] { dispatch.Get("NoSuchMember"); }, 438, ""},
        {[&] { Word1::OpenInWord(noWord, "C:\\a.doc"); }, 429,
         "Microsoft Word is not installed on this computer."},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error where " << c.number << " was due";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.Number(), c.number);
            if (c.description.empty()) {
                EXPECT_NE(e.Description(), "") << c.number;
            } else {
                EXPECT_EQ(e.Description(), c.description);
            }
        }
    }
}

// A ProgID registered for a class, and the class with its server where one is named; both gone
// afterwards. Under HKEY_CLASSES_ROOT itself: Wine does not look among the user's own classes.
struct RegisteredClass {
    std::wstring progId, classId;
    bool ownClass;  // else a class of the system's, which stays
    RegisteredClass(std::wstring progIdName, std::wstring classIdText, const wchar_t* localServer)
        : progId(std::move(progIdName)), classId(std::move(classIdText)), ownClass(localServer) {
        Set(progId + L"\\CLSID", classId);
        if (ownClass) Set(L"CLSID\\" + classId + L"\\LocalServer32", localServer);
    }
    ~RegisteredClass() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, progId.c_str());
        if (ownClass) RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + classId).c_str());
    }
    static void Set(const std::wstring& key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
};

TEST(WordAutomation, AClassNotInstalledOrWhoseServerWillNotStartIsUnavailable) {
    ComApartment apartment;
    const RegisteredClass gone(L"Pendrel.Test.Gone", L"{5E0C1D2A-7A43-4F0B-9C1E-3B7D2C6A9F10}",
                               L"C:\\nowhere\\gone.exe");
    // The task bar's class makes no automation object.
    const RegisteredClass noDispatch(L"Pendrel.Test.NoDispatch",
                                     L"{56FDF344-FD6D-11d0-958A-006097C9A090}", nullptr);
    ComAutomationFactory factory;
    const struct {
        const char* progId;
        bool unavailable;
    } cases[] = {{"Word.Application", true},
                 {"Pendrel.Test.Gone", true},
                 {"Pendrel.Test.NoDispatch", false}};
    for (const auto& c : cases) {
        try {
            factory.CreateObject(c.progId);
            ADD_FAILURE() << c.progId << " was created";
        } catch (const AutomationServerUnavailable& e) {
            EXPECT_TRUE(c.unavailable) << c.progId << ": " << e.Description();
            EXPECT_EQ(e.Number(), 429);
            EXPECT_NE(e.Description(), "");
        } catch (const AutomationError& e) {
            EXPECT_FALSE(c.unavailable) << c.progId << ": " << e.Description();
            EXPECT_EQ(e.Number(), 429);
            EXPECT_NE(e.Description().find("Pendrel.Test.NoDispatch"), Text::npos);
        }
    }
}

}  // namespace
}  // namespace pendrel::win32
