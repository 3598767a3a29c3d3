#include "platform/office/OfficeErrors.h"

namespace pendrel::office {
namespace {

Text WithDetail(Text text, const std::string& detail) {
    if (!detail.empty()) text += " (" + detail + ")";
    return text + ".";
}

AutomationError EngineFailure(const Reply& reply, const Text& doing) {
    // Neither a helper that could not start nor one that ran out of time says anything of
    // the document.
    if (reply.status == Reply::Status::NotStarted || reply.status == Reply::Status::TimedOut)
        return {ErrorNumber::EngineFailed,
                "The document could not be " + doing + ": " + reply.detail + "."};
    // A renderer that dies on one document was almost always brought down by that document.
    return {ErrorNumber::Damaged, "The document could not be " + doing + ": " + reply.detail +
                                      " (the file may be damaged)."};
}

}  // namespace

AutomationError OpenFailure(const Reply& reply) {
    if (reply.status != Reply::Status::Answered) return EngineFailure(reply, "opened");
    const std::string& detail = reply.answer.text;
    switch (reply.answer.outcome) {
        case Outcome::NotFound:
            return {ErrorNumber::NotFound, "The document could not be found."};
        case Outcome::Encrypted:
            return {ErrorNumber::PasswordProtected,
                    "The document is protected with a password and cannot be opened."};
        case Outcome::NotWordDocument:
            return {ErrorNumber::NotWordDocument,
                    WithDetail("The file is not a Word document", detail)};
        case Outcome::Damaged:
            return {ErrorNumber::Damaged, "The document is damaged and cannot be opened."};
        default:
            return {ErrorNumber::EngineFailed,
                    WithDetail("The document could not be opened", detail)};
    }
}

AutomationError RenderFailure(const Reply& reply) {
    if (reply.status != Reply::Status::Answered) return EngineFailure(reply, "printed to PDF");
    return {ErrorNumber::PrintFailed,
            WithDetail("The document could not be printed to PDF", reply.answer.text)};
}

AutomationError NotSupported(const Text& member) {
    return {ErrorNumber::NotSupported,
            "Object doesn't support this property or method (" + member + ")"};
}

AutomationError WrongArguments(const Text& member, const Text& why) {
    return {
        ErrorNumber::WrongArguments,
        "Wrong number of arguments or invalid property assignment (" + member + ": " + why + ")"};
}

}  // namespace pendrel::office
