#pragma once
// Word as the Windows tests have it: "Word.Application" over IDispatch, every call recorded as
// Invoke receives it, and a PrintOut that shows the PDF printer's "Save As" dialog for real.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/win32/Win32Api.h"

#include "platform/win32/ComDispatch.h"
#include "platform/win32/ComVariant.h"
#include "platform/win32/WideText.h"

namespace pendrel {
// How a test shows a Variant that differs: its type's number and its value.
inline void PrintTo(const Variant& v, std::ostream* out) {
    *out << static_cast<int>(v.type()) << ':';
    if (v.type() == Variant::Type::Bool) *out << v.AsBool();
    if (v.type() == Variant::Type::Int16) *out << v.AsInt16();
    if (v.type() == Variant::Type::Int32) *out << v.AsInt32();
    if (v.type() == Variant::Type::String) *out << v.AsString();
    if (v.type() == Variant::Type::Error) *out << v.ErrorCode();
}
}  // namespace pendrel

namespace pendrel::win32::testing {

// A PDF printer's "Save As" dialog (class "#32770") on a thread of its own: a label, an "Edit"
// holding a pre-selected name and "&Save", which writes the PDF under the name in the edit box.
// It stays open after Save, so that a second click would be counted.
class SaveAsDialog {
public:
    SaveAsDialog() : thread_([this] { Run(); }) { WaitForSingleObject(shown_, INFINITE); }
    ~SaveAsDialog() {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        thread_.join();
        CloseHandle(shown_);
    }

    HWND dialog = nullptr, edit = nullptr;
    std::atomic<int> saves = 0;
    std::wstring saved;  // the name at the first Save, once saves counts it

    std::wstring EditText() const {
        wchar_t text[512] = {};
        GetWindowTextW(edit, text, 512);
        return text;
    }

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM) {
        auto* self = reinterpret_cast<SaveAsDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            const std::wstring name = self->EditText();
            std::ofstream(std::filesystem::path(name), std::ios::binary) << "%PDF-1.4 printed";
            if (self->saves == 0) self->saved = name;
            ++self->saves;
            return TRUE;
        }
        if (message != WM_CLOSE) return FALSE;
        DestroyWindow(window);
        return TRUE;
    }

    void Run() {
        dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"Save As",
                                 WS_POPUP | WS_CAPTION | WS_VISIBLE, 300, 200, 400, 80, nullptr,
                                 nullptr, nullptr, nullptr);
        SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(Proc));
        int x = 0;
        const auto child = [&](const wchar_t* type, const wchar_t* text, DWORD style, int id) {
            return CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, x += 125, 10, 120,
                                   24, dialog, reinterpret_cast<HMENU>(INT_PTR{id}), nullptr,
                                   nullptr);
        };
        child(L"Static", L"File &name:", 0, 0);
        edit = child(L"Edit", L"Document1.pdf", WS_BORDER | ES_AUTOHSCROLL, 0);
        child(L"Button", L"&Save", BS_DEFPUSHBUTTON, IDOK);
        // The proposed name is selected, so that typing replaces it.
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetEvent(shown_);
        MSG message;
        while (IsWindow(dialog) && GetMessageW(&message, nullptr, 0, 0) > 0)
            if (!IsDialogMessageW(dialog, &message)) DispatchMessageW(&message);
    }

    HANDLE shown_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread_;  // last: it runs on the members above
};

// One object, the test's own, for every Word made and for its Documents. Its printer is
// "Local Printer", and PrintOut shows the PDF printer's dialog.
class TestWord : public AutomationFactory, public IDispatch {
public:
    struct Call {
        std::wstring member;
        WORD flags;
        bool namedPut;              // the value is passed as DISPID_PROPERTYPUT
        std::vector<Variant> args;  // in the caller's order
        bool operator==(const Call&) const = default;
        friend void PrintTo(const Call& c, std::ostream* out) {
            *out << Narrow(c.member) << ' ' << c.flags << (c.namedPut ? " put " : " ")
                 << ::testing::PrintToString(c.args);
        }
    };

    std::vector<Call> calls;
    Text opened;  // the path the last Open was given
    // A call's failure, if any: its HRESULT, and with DISP_E_EXCEPTION what the EXCEPINFO holds.
    std::function<HRESULT(const Call&, EXCEPINFO&)> fail;
    HWND usersDialog = nullptr;  // a "Save As" of the user's, raised over each printer's dialog
    HWND frontDialog = nullptr;  // the "Save As" a plain search met after the last PrintOut
    std::unique_ptr<SaveAsDialog> printerDialog;  // the last PrintOut's; closed at the next

    DispatchPtr CreateObject(const Text& progId) override {
        calls.push_back({L"CreateObject", 0, false, {Variant::String(progId)}});
        return std::make_shared<ComDispatch>(this);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        const bool known = id == IID_IUnknown || id == IID_IDispatch;
        *out = known ? static_cast<IDispatch*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // the test holds it
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
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
        Call& call = calls.emplace_back(
            Call{names_.at(static_cast<std::size_t>(id) - 1),
                 flags,
                 params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT,
                 {}});
        // IDispatch has them last first.
        for (UINT i = params->cArgs; i-- > 0;) call.args.push_back(FromVariant(params->rgvarg[i]));
        if (const HRESULT failed = fail ? fail(call, *exception) : S_OK; FAILED(failed))
            return failed;
        if (call.member == L"Documents") {
            result->vt = VT_DISPATCH;
            result->pdispVal = this;
        } else if (call.member == L"Open") {
            opened = call.args.at(0).AsString();
        } else if (call.member == L"ActivePrinter" && !call.namedPut) {
            ToVariant(Variant::String("Local Printer"), *result);
        } else if (call.member == L"PrintOut") {
            printerDialog = std::make_unique<SaveAsDialog>();
            // The new dialog's thread may still be bringing it forward: raise the user's until
            // it stays in front.
            for (int i = 0;
                 usersDialog && i < 100 && FindWindowW(L"#32770", L"Save As") != usersDialog; ++i) {
                SetWindowPos(usersDialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                Sleep(10);
            }
            frontDialog = FindWindowW(L"#32770", L"Save As");
        }
        return S_OK;
    }

private:
    std::vector<std::wstring> names_;
};

}  // namespace pendrel::win32::testing
