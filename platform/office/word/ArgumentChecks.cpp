#include "platform/office/word/ArgumentChecks.h"

#include "platform/WordContract.h"
#include "platform/office/word/OfficeErrors.h"

namespace pendrel::office {
namespace {

const char* TypeName(Variant::Type type) {
    switch (type) {
        case Variant::Type::Empty:
            return "empty";
        case Variant::Type::Bool:
            return "Boolean";
        case Variant::Type::Int16:
            return "Integer";
        case Variant::Type::Int32:
            return "Long";
        case Variant::Type::String:
            return "String";
        case Variant::Type::Error:
            return "omitted";
        case Variant::Type::Object:
            return "Object";
    }
    return "unknown";
}

Text Numbered(std::size_t index, const char* name) {
    return "argument " + std::to_string(index + 1) + " (" + name + ")";
}

}  // namespace

void CheckOpenArguments(const std::vector<Variant>& args) {
    if (args.size() != WordContract::OpenArgumentCount)
        throw WrongArguments("Documents.Open", std::to_string(WordContract::OpenArgumentCount) +
                                                   " arguments expected, " +
                                                   std::to_string(args.size()) + " given");
    if (args[0].type() != Variant::Type::String)
        throw WrongArguments("Documents.Open",
                             "FileName must be a String, not " + Text(TypeName(args[0].type())));
    for (std::size_t i = 1; i < args.size(); ++i)
        if (!args[i].IsMissing())
            throw WrongArguments("Documents.Open", Numbered(i, "option") + " is not supported");
}

void CheckPrintOutArguments(const std::vector<Variant>& args) {
    const auto& contract = WordContract::PrintOutArguments();
    if (args.size() != contract.size())
        throw WrongArguments("PrintOut", std::to_string(contract.size()) + " arguments expected, " +
                                             std::to_string(args.size()) + " given");
    for (std::size_t i = 0; i < contract.size(); ++i) {
        const WordContract::Argument& expected = contract[i];
        if (args[i].type() != expected.value.type())
            throw WrongArguments("PrintOut", Numbered(i, expected.name) + " must be " +
                                                 TypeName(expected.value.type()) + ", not " +
                                                 TypeName(args[i].type()));
        if (args[i] != expected.value)
            throw WrongArguments("PrintOut", Numbered(i, expected.name) +
                                                 " has a value the printer does not support");
    }
}

void CheckQuitArguments(const std::vector<Variant>& args) {
    if (args.size() > 3)
        throw WrongArguments("Quit",
                             "at most 3 arguments, " + std::to_string(args.size()) + " given");
}

}  // namespace pendrel::office
