#pragma once
// The failures "Word.Application" on the embedded engine reports, with numbers in the manner
// of Word's own and descriptions a user can act on.
#include <cstdint>

#include "platform/Automation.h"
#include "platform/office/pool/Reply.h"

namespace pendrel::office {

namespace ErrorNumber {
constexpr std::int32_t CannotCreateObject = 429;
constexpr std::int32_t NotSupported = 438;
constexpr std::int32_t WrongArguments = 450;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t NoDocumentOpen = 4248;
constexpr std::int32_t PrintFailed = 4198;
constexpr std::int32_t PrinterUnavailable = 4216;
constexpr std::int32_t NotFound = 5174;
constexpr std::int32_t CannotRead = 5175;
constexpr std::int32_t PasswordProtected = 5408;
constexpr std::int32_t NotWordDocument = 5121;
constexpr std::int32_t Damaged = 5122;
constexpr std::int32_t EngineFailed = 5123;
constexpr std::int32_t NoSpace = 5124;
constexpr std::int32_t ApplicationEnded = static_cast<std::int32_t>(0x800706BAu);
}  // namespace ErrorNumber

// Documents.Open did not give an open document. A helper that cannot start at all is
// thrown as AutomationServerUnavailable: no document would fare better.
[[noreturn]] void ThrowOpenFailure(const Reply& reply, const std::string& temporaryFolder);
// The print job failed while rendering.
AutomationError RenderFailure(const Reply& reply, const std::string& temporaryFolder);

// The finished PDF could not be put at target (error: the system's reason).
AutomationError PdfNotWritten(const std::string& target, const std::string& error);

AutomationError NotSupported(const Text& member);
AutomationError WrongArguments(const Text& member, const Text& why);

}  // namespace pendrel::office
