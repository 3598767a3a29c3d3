#pragma once
// What a document the sniffer does not pass is answered with, in the protocol's terms: the
// same whether the pool refuses it before copying or the helper before LibreOffice opens it.
#include <optional>
#include <string>

#include "platform/office/formats/DocumentSniffer.h"
#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {

struct Refusal {
    Outcome outcome;
    std::string detail;
};

// Nothing for a Word document.
std::optional<Refusal> RefusalOf(const Sniffed& sniffed);

}  // namespace pendrel::office
