#pragma once
// An in-process IDispatch that records every Invoke as it arrives (arguments in DISPPARAMS
// order, last first) and answers Word's few members.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/Win32Api.h"

#include <oleauto.h>

namespace pendrel::win32::testing {

struct RecordedInvoke {
    std::wstring member;
    WORD flags = 0;
    std::vector<VARIANT> args;  // as passed: the last argument first
    std::vector<DISPID> named;
};

class RecordingDispatch : public IDispatch {
  public:
    // Shared by an application and the objects it hands out, in call order.
    explicit RecordingDispatch(std::vector<RecordedInvoke>& log) : log_(log) {}
    virtual ~RecordingDispatch() = default;

    // What a member answers; a failing answer fills the EXCEPINFO and returns its HRESULT.
    std::map<std::wstring, std::function<HRESULT(VARIANT&, EXCEPINFO&)>> answers;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) {
            if (names_.size() >= 100 || std::wstring(names[i]) == L"NoSuchMember")
                return DISP_E_UNKNOWNNAME;
            names_.push_back(names[i]);
            ids[i] = static_cast<DISPID>(names_.size());
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        RecordedInvoke call{names_.at(static_cast<std::size_t>(id) - 1), flags, {}, {}};
        for (UINT i = 0; i < params->cArgs; ++i) {
            VARIANT copy;
            VariantInit(&copy);
            VariantCopy(&copy, &params->rgvarg[i]);
            call.args.push_back(copy);
        }
        for (UINT i = 0; i < params->cNamedArgs; ++i)
            call.named.push_back(params->rgdispidNamedArgs[i]);
        log_.push_back(call);
        const auto answer = answers.find(call.member);
        if (answer == answers.end()) return S_OK;
        VARIANT ignored;
        VariantInit(&ignored);
        EXCEPINFO unused{};
        return answer->second(result ? *result : ignored, exception ? *exception : unused);
    }

  private:
    std::vector<RecordedInvoke>& log_;
    std::vector<std::wstring> names_;
    ULONG references_ = 1;
};

}  // namespace pendrel::win32::testing
