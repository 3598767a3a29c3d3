// Word automation through IDispatch: what Invoke receives, and failures as AutomationError.
#include <gtest/gtest.h>

#include "convert/Word1.h"
#include "platform/win32/ComDispatch.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32WindowMessages.h"
#include "tests/win32/RecordingDispatch.h"
#include "tests/win32/TestSaveAsDialog.h"

namespace pendrel::win32 {
namespace {

using namespace std::chrono_literals;
using testing::RecordedInvoke;
using testing::RecordingDispatch;

// Word.Application as a recording object: Documents hands out a recording collection,
// ActivePrinter is kept, PrintOut shows the printer's dialog.
struct RecordedWord : AutomationFactory {
    ComApartment apartment;
    std::vector<RecordedInvoke> log;
    std::wstring printer = L"Local Printer";
    std::unique_ptr<testing::TestSaveAsDialog> printerDialog;

    DispatchPtr CreateObject(const Text&) override {
        auto* app = new RecordingDispatch(log);
        app->answers[L"Documents"] = [this](VARIANT& result, EXCEPINFO&) {
            result.vt = VT_DISPATCH;
            result.pdispVal = new RecordingDispatch(log);
            return S_OK;
        };
        app->answers[L"ActivePrinter"] = [this](VARIANT& result, EXCEPINFO&) {
            const RecordedInvoke& call = log.back();
            if (call.flags & DISPATCH_PROPERTYPUT) {
                printer = call.args.at(0).bstrVal;
            } else {
                result.vt = VT_BSTR;
                result.bstrVal = SysAllocString(printer.c_str());
            }
            return S_OK;
        };
        app->answers[L"PrintOut"] = [this](VARIANT&, EXCEPINFO&) {
            printerDialog = std::make_unique<testing::TestSaveAsDialog>();
            return S_OK;
        };
        auto dispatch = std::make_shared<ComDispatch>(app);
        app->Release();
        return dispatch;
    }

    ~RecordedWord() {
        for (RecordedInvoke& call : log)
            for (VARIANT& v : call.args) VariantClear(&v);
    }
};

// The arguments in their own order, each as its type and value.
std::vector<std::pair<VARTYPE, long long>> InOrder(const RecordedInvoke& call) {
    std::vector<std::pair<VARTYPE, long long>> args;
    for (auto v = call.args.rbegin(); v != call.args.rend(); ++v) {
        long long value = 0;
        if (v->vt == VT_BOOL) value = v->boolVal;
        if (v->vt == VT_I2) value = v->iVal;
        if (v->vt == VT_I4) value = v->lVal;
        if (v->vt == VT_ERROR) value = v->scode;
        if (v->vt == VT_BSTR) value = static_cast<long long>(SysStringLen(v->bstrVal));
        args.emplace_back(v->vt, value);
    }
    return args;
}

TEST(ComDispatch, OpenInWordPassesThePathFirstAndFifteenMissingArguments) {
    RecordedWord word;
    Word1::OpenInWord(word, "C:\\Docs\\R\xC3\xA9port.doc");
    ASSERT_EQ(word.log.size(), 2u);
    EXPECT_EQ(word.log[0].member, L"Documents");
    const RecordedInvoke& open = word.log[1];
    EXPECT_EQ(open.member, L"Open");
    EXPECT_TRUE(open.flags & DISPATCH_METHOD);
    ASSERT_EQ(open.args.size(), 16u);
    EXPECT_EQ(open.args.back().vt, VT_BSTR) << "FileName is the first argument, passed last";
    EXPECT_STREQ(open.args.back().bstrVal, L"C:\\Docs\\R\u00E9port.doc");
    for (std::size_t i = 0; i + 1 < open.args.size(); ++i) {
        EXPECT_EQ(open.args[i].vt, VT_ERROR);
        EXPECT_EQ(open.args[i].scode, static_cast<SCODE>(0x80020004));
    }
}

TEST(ComDispatch, PrintingPutsThePrinterPassesNineteenArgumentsAndPutsItBack) {
    RecordedWord word;
    const DispatchPtr app = Word1::OpenInWord(word, "C:\\a.doc");
    word.log.clear();
    Win32WindowMessages windows;
    Win32EventPump pump;
    Word1::PrintToPdfWriter(*app, "C:\\a.pdf", windows, pump, 5s);
    ASSERT_TRUE(word.printerDialog);
    EXPECT_EQ(word.printerDialog->WaitForSave(5s), std::wstring(L"C:\\a.pdf"));

    ASSERT_EQ(word.log.size(), 4u);
    EXPECT_EQ(word.log[0].member, L"ActivePrinter");
    EXPECT_TRUE(word.log[0].flags & DISPATCH_PROPERTYGET);
    const RecordedInvoke& put = word.log[1];
    EXPECT_EQ(put.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(put.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
    ASSERT_EQ(put.args.size(), 1u);
    EXPECT_STREQ(put.args[0].bstrVal, L"PDF Writer");

    const RecordedInvoke& printOut = word.log[2];
    EXPECT_EQ(printOut.member, L"PrintOut");
    const long long missing = static_cast<SCODE>(0x80020004);
    const std::vector<std::pair<VARTYPE, long long>> expected = {
        {VT_BOOL, -1},       {VT_ERROR, missing}, {VT_I4, 0},   {VT_ERROR, missing},
        {VT_ERROR, missing}, {VT_ERROR, missing}, {VT_I4, 0},   {VT_I2, 1},
        {VT_BSTR, 0},        {VT_I4, 0},          {VT_BOOL, 0}, {VT_BOOL, -1},
        {VT_BSTR, 0},        {VT_ERROR, missing}, {VT_BOOL, 0}, {VT_I2, 0},
        {VT_I2, 0},          {VT_I2, 0},          {VT_I2, 0}};
    EXPECT_EQ(InOrder(printOut), expected);

    EXPECT_EQ(word.log[3].flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(word.printer, L"Local Printer");
}

TEST(ComDispatch, FailuresBecomeAutomationErrorsWithNumberAndDescription) {
    ComApartment apartment;
    std::vector<RecordedInvoke> log;
    auto* object = new RecordingDispatch(log);
    object->answers[L"Open"] = [](VARIANT&, EXCEPINFO& e) {
        e.wCode = 5174;
        e.bstrDescription = SysAllocString(L"This file could not be found.");
        return DISP_E_EXCEPTION;
    };
    object->answers[L"PrintOut"] = [](VARIANT&, EXCEPINFO&) { return DISP_E_TYPEMISMATCH; };
    ComDispatch dispatch(object);
    object->Release();
    try {
        dispatch.Call("Open", {Variant::String("C:\\gone.doc")});
        FAIL() << "no error";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.Number(), 5174);
        EXPECT_EQ(e.Description(), "This file could not be found.");
    }
    try {
        dispatch.Call("PrintOut", {});
        FAIL() << "no error";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.Number(), static_cast<std::int32_t>(DISP_E_TYPEMISMATCH));
        EXPECT_FALSE(e.Description().empty());
    }
    try {
        dispatch.Get("NoSuchMember");
        FAIL() << "no error";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.Number(), 438);
    }
    for (RecordedInvoke& call : log)
        for (VARIANT& v : call.args) VariantClear(&v);
}

TEST(ComDispatch, WithoutWordCreateObjectSaysWordIsNotInstalled) {
    ComApartment apartment;
    ComAutomationFactory factory;
    try {
        Word1::OpenInWord(factory, "C:\\a.doc");
        FAIL() << "Word is not installed here";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.Number(), 429);
        EXPECT_EQ(e.Description(), "Microsoft Word is not installed on this computer.");
    }
}

}  // namespace
}  // namespace pendrel::win32
