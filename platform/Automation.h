#pragma once
// Automation objects (the "Word.Application" contract): properties and methods called by name
// with positional arguments. On Windows this is IDispatch; elsewhere the embedded engine.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "platform/NumberedError.h"
#include "platform/Text.h"

namespace pendrel {

class Dispatch;
using DispatchPtr = std::shared_ptr<Dispatch>;

// The error code an omitted optional argument is passed as.
constexpr std::int32_t DISP_E_PARAMNOTFOUND = static_cast<std::int32_t>(0x80020004u);

class Variant {
public:
    enum class Type { Empty, Bool, Int16, Int32, String, Error, Object };

    Variant() = default;
    static Variant Bool(bool value) { return Variant(BoolValue{value}); }
    static Variant Int16(std::int16_t value) { return Variant(value); }
    static Variant Int32(std::int32_t value) { return Variant(value); }
    static Variant String(Text value) { return Variant(std::move(value)); }
    static Variant Object(DispatchPtr value) { return Variant(std::move(value)); }
    static Variant Error(std::int32_t code) { return Variant(ErrorValue{code}); }
    // An omitted optional argument.
    static Variant Missing() { return Error(DISP_E_PARAMNOTFOUND); }

    Type type() const { return static_cast<Type>(value_.index()); }
    bool IsMissing() const { return type() == Type::Error && ErrorCode() == DISP_E_PARAMNOTFOUND; }

    // Automation booleans: true is -1, false is 0.
    std::int16_t BoolAsInt() const { return std::get<BoolValue>(value_).value ? -1 : 0; }
    bool AsBool() const { return std::get<BoolValue>(value_).value; }
    std::int16_t AsInt16() const { return std::get<std::int16_t>(value_); }
    std::int32_t AsInt32() const { return std::get<std::int32_t>(value_); }
    const Text& AsString() const { return std::get<Text>(value_); }
    std::int32_t ErrorCode() const { return std::get<ErrorValue>(value_).code; }
    const DispatchPtr& AsObject() const { return std::get<DispatchPtr>(value_); }

    bool operator==(const Variant&) const = default;

private:
    struct BoolValue {
        bool value;
        bool operator==(const BoolValue&) const = default;
    };
    struct ErrorValue {
        std::int32_t code;
        bool operator==(const ErrorValue&) const = default;
    };
    template <typename T>
    explicit Variant(T value) : value_(std::move(value)) {}

    // The order matches Type.
    std::variant<std::monostate, BoolValue, std::int16_t, std::int32_t, Text, ErrorValue,
                 DispatchPtr>
        value_;
};

// A failure reported by an automation object.
class AutomationError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

// The automation server itself cannot be started (not installed, or its engine will not run):
// no document can be converted until that is mended.
class AutomationServerUnavailable : public AutomationError {
public:
    using AutomationError::AutomationError;
};

class Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual Variant Get(const Text& name) = 0;
    virtual void Put(const Text& name, const Variant& value) = 0;
    virtual Variant Call(const Text& name, const std::vector<Variant>& args) = 0;
};

// An engine that can work ahead of the run, as a print spooler works ahead of its printer, is
// told which documents the run opens next.
class LookAhead {
public:
    struct Document {
        std::uint64_t key;  // the same document of the run has the same key each time
        Text path;
    };

    virtual ~LookAhead() = default;
    // How many of the next documents the engine wants to know of; 0 when it works on none.
    virtual std::size_t Depth() const = 0;
    // The documents the run opens next, in order, the first being the one it opens now; what
    // was worked on ahead and is not among them is not wanted any more. Nothing: the run is
    // over.
    virtual void Expect(const std::vector<Document>& next) = 0;
};

// For an engine that only works when asked.
class NoLookAhead final : public LookAhead {
public:
    std::size_t Depth() const override { return 0; }
    void Expect(const std::vector<Document>&) override {}
};

// CreateObject(progId): a new automation object of the class, or an AutomationError.
class AutomationFactory {
public:
    virtual ~AutomationFactory() = default;
    virtual DispatchPtr CreateObject(const Text& progId) = 0;
};

}  // namespace pendrel
