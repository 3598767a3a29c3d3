#include "platform/office/protocol/Refusal.h"

namespace pendrel::office {

std::optional<Refusal> RefusalOf(const Sniffed& sniffed) {
    switch (sniffed.kind) {
        case FileKind::Missing:
            return Refusal{Outcome::NotFound, {}};
        case FileKind::Unreadable:
            return Refusal{Outcome::Unreadable, sniffed.reason};
        case FileKind::Empty:
            return Refusal{Outcome::NotWordDocument, "empty"};
        case FileKind::Spreadsheet:
            return Refusal{Outcome::NotWordDocument, "a spreadsheet"};
        case FileKind::Presentation:
            return Refusal{Outcome::NotWordDocument, "a presentation"};
        case FileKind::NotWord:
            return Refusal{Outcome::NotWordDocument, {}};
        case FileKind::Word:
            break;
    }
    return std::nullopt;
}

}  // namespace pendrel::office
