#pragma once
// What the helper renders documents with, as the protocol's requests name them: load a copy,
// print it to a PDF, close it. LibreOffice (LokSession) is the one renderer; another is one
// more class of this kind, started in HelperMain, and the pool, the protocol and the Word
// contract stay as they are.
#include <cstdint>
#include <string>

#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {

struct RenderResult {
    Outcome outcome = Outcome::Ok;
    std::uint32_t docId = 0;
    std::string detail;
    std::uint32_t pages = 0;  // of the PDF an Export wrote
};

class Renderer {
public:
    virtual ~Renderer() = default;
    // Loads the copy of a document at path; the copy is removed when the document is closed,
    // or at once when it does not open. A file that is no Word document is refused
    // (protocol/Refusal.h) before the renderer reads it.
    virtual RenderResult Load(const std::string& path) = 0;
    // pdfFlags: what kind of PDF to write (PdfFlag bits of Protocol.h).
    virtual RenderResult Export(std::uint32_t docId, const std::string& pdfPath,
                                std::uint8_t pdfFlags) = 0;
    virtual void Close(std::uint32_t docId) = 0;
};

}  // namespace pendrel::office
