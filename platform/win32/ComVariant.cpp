#include "platform/win32/ComVariant.h"

#include "platform/win32/ComDispatch.h"
#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

// The number Visual Basic gives a value of the wrong type.
constexpr std::int32_t TypeMismatch = 13;

Text FromBstr(BSTR text) {
    return text ? Narrow(std::wstring(text, SysStringLen(text))) : Text();
}

}  // namespace

void ToVariant(const Variant& value, VARIANT& out) {
    VariantInit(&out);
    switch (value.type()) {
        case Variant::Type::Empty:
            break;
        case Variant::Type::Bool:
            out.vt = VT_BOOL;
            out.boolVal = value.AsBool() ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case Variant::Type::Int16:
            out.vt = VT_I2;
            out.iVal = value.AsInt16();
            break;
        case Variant::Type::Int32:
            out.vt = VT_I4;
            out.lVal = value.AsInt32();
            break;
        case Variant::Type::String: {
            const std::wstring wide = Wide(value.AsString());
            out.vt = VT_BSTR;
            out.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
            break;
        }
        case Variant::Type::Error:
            out.vt = VT_ERROR;
            out.scode = value.ErrorCode();
            break;
        case Variant::Type::Object:
            throw AutomationError(TypeMismatch,
                                  "An object cannot be passed to an automation call.");
    }
}

Variant FromVariant(const VARIANT& value) {
    switch (value.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return Variant();
        case VT_BOOL:
            return Variant::Bool(value.boolVal != VARIANT_FALSE);
        case VT_I2:
            return Variant::Int16(value.iVal);
        case VT_I4:
            return Variant::Int32(value.lVal);
        case VT_BSTR:
            return Variant::String(FromBstr(value.bstrVal));
        case VT_ERROR:
            return Variant::Error(value.scode);
        case VT_DISPATCH:
            if (!value.pdispVal) return Variant();
            return Variant::Object(std::make_shared<ComDispatch>(value.pdispVal));
        default: {
            // Other numbers (Word answers some properties as VT_I8 or VT_R8) come as 32 bits.
            VARIANT asLong;
            VariantInit(&asLong);
            if (SUCCEEDED(VariantChangeType(&asLong, const_cast<VARIANT*>(&value), 0, VT_I4)))
                return Variant::Int32(asLong.lVal);
            throw AutomationError(TypeMismatch,
                                  "Type mismatch: the automation object answered "
                                  "with a value of type " +
                                      std::to_string(value.vt) + ".");
        }
    }
}

}  // namespace pendrel::win32
