#include "platform/office/OfficeErrors.h"

namespace pendrel::office {
namespace {

Text Quoted(const Text& path) { return "\"" + path + "\""; }

Text WithDetail(Text text, const std::string& detail) {
    if (!detail.empty()) text += " (" + detail + ")";
    return text + ".";
}

AutomationError EngineFailure(const Text& path, const Reply& reply, const Text& doing) {
    if (reply.status == Reply::Status::TimedOut)
        return {ErrorNumber::EngineFailed,
                "The document " + Quoted(path) + " could not be " + doing + ": " + reply.detail + "."};
    // A renderer that dies on one document was almost always brought down by that document.
    return {ErrorNumber::Damaged, "The document " + Quoted(path) + " could not be " + doing +
                                      ": " + reply.detail + " (the file may be damaged)."};
}

}  // namespace

AutomationError OpenFailure(const Text& path, const Reply& reply) {
    if (reply.status != Reply::Status::Answered) return EngineFailure(path, reply, "opened");
    const std::string& detail = reply.answer.text;
    switch (reply.answer.outcome) {
    case Outcome::NotFound:
        return {ErrorNumber::NotFound, "The document " + Quoted(path) + " could not be found."};
    case Outcome::Encrypted:
        return {ErrorNumber::PasswordProtected,
                "The document " + Quoted(path) + " is protected with a password and cannot be opened."};
    case Outcome::NotWordDocument:
        return {ErrorNumber::NotWordDocument,
                WithDetail("The file " + Quoted(path) + " is not a Word document", detail)};
    case Outcome::Damaged:
        return {ErrorNumber::Damaged,
                "The document " + Quoted(path) + " is damaged and cannot be opened."};
    default:
        return {ErrorNumber::EngineFailed,
                WithDetail("The document " + Quoted(path) + " could not be opened", detail)};
    }
}

AutomationError RenderFailure(const Text& path, const Reply& reply) {
    if (reply.status != Reply::Status::Answered)
        return EngineFailure(path, reply, "printed to PDF");
    return {ErrorNumber::PrintFailed,
            WithDetail("The document " + Quoted(path) + " could not be printed to PDF",
                       reply.answer.text)};
}

AutomationError NotSupported(const Text& member) {
    return {ErrorNumber::NotSupported,
            "Object doesn't support this property or method (" + member + ")"};
}

AutomationError WrongArguments(const Text& member, const Text& why) {
    return {ErrorNumber::WrongArguments,
            "Wrong number of arguments or invalid property assignment (" + member + ": " + why + ")"};
}

}  // namespace pendrel::office
