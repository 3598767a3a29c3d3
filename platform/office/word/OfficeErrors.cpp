#include "platform/office/word/OfficeErrors.h"

namespace pendrel::office {
namespace {

Text WithDetail(Text text, const std::string& detail) {
    if (!detail.empty()) text += " (" + detail + ")";
    return text + ".";
}

// The helper ended without an answer.
AutomationError EngineFailure(const Reply& reply, const Text& doing) {
    const Text failed = "The document could not be " + doing + ": " + reply.detail;
    switch (reply.status) {
        case Reply::Status::HelperLost:
        case Reply::Status::OverMemory:
            // A renderer that dies on one document, tried twice, was brought down by it.
            return {ErrorNumber::Damaged, failed + " (the file may be damaged)."};
        case Reply::Status::EngineStopped:
        case Reply::Status::TimedOut:
        default:
            return {ErrorNumber::EngineFailed, failed + "."};
    }
}

// What the helper said of the document, in the words the user is told.
AutomationError DocumentFailure(const Message& answer, const Text& doing,
                                const std::string& temporaryFolder) {
    const std::string& detail = answer.text;
    switch (answer.outcome) {
        case Outcome::NotFound:
            return {ErrorNumber::NotFound, "The document could not be found."};
        case Outcome::Unreadable:
            return {ErrorNumber::CannotRead, WithDetail("The document cannot be read", detail)};
        case Outcome::Encrypted:
            return {ErrorNumber::PasswordProtected,
                    "The document is protected with a password and cannot be opened."};
        case Outcome::NotWordDocument:
            if (!detail.empty())
                return {ErrorNumber::NotWordDocument,
                        "The file is " + detail + ", not a Word document."};
            return {ErrorNumber::NotWordDocument, "The file is not a Word document."};
        case Outcome::Damaged:
            return {ErrorNumber::Damaged,
                    WithDetail("The document is damaged and cannot be opened", detail)};
        case Outcome::NoSpace:
            return {ErrorNumber::NoSpace,
                    "There is no space left in the temporary folder (" + temporaryFolder + ")."};
        case Outcome::ExportFailed:
            return {ErrorNumber::PrintFailed,
                    WithDetail("The document could not be printed to PDF", detail)};
        default:
            return {ErrorNumber::EngineFailed,
                    WithDetail("The document could not be " + doing, detail)};
    }
}

}  // namespace

void ThrowOpenFailure(const Reply& reply, const std::string& temporaryFolder) {
    if (reply.status == Reply::Status::NotStarted)
        throw AutomationServerUnavailable(
            ErrorNumber::EngineFailed,
            "The document engine could not be started: " + reply.detail + ".");
    if (reply.status != Reply::Status::Answered) throw EngineFailure(reply, "opened");
    throw DocumentFailure(reply.answer, "opened", temporaryFolder);
}

AutomationError RenderFailure(const Reply& reply, const std::string& temporaryFolder) {
    if (reply.status != Reply::Status::Answered) return EngineFailure(reply, "printed to PDF");
    return DocumentFailure(reply.answer, "printed to PDF", temporaryFolder);
}

AutomationError PdfNotWritten(const std::string& target, const std::string& error) {
    return {ErrorNumber::PrintFailed,
            "The PDF file \"" + target + "\" could not be written: " + error + "."};
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
