#pragma once
// An engine that turns a document into a PDF at a name of the caller's choosing, with no
// window and no printer's dialog: what a batch without a window converts with. Told the
// documents it renders next (LookAhead), it may work ahead of the batch.
#include <cstdint>
#include <optional>
#include <stop_token>

#include "platform/Automation.h"
#include "platform/Text.h"

namespace pendrel {

class PdfRenderer : public LookAhead {
public:
    // Starts the engine in the background, so that the first document does not wait for it.
    virtual void WarmUp() = 0;
    // Renders the document at documentPath to a PDF at pdfPath, whose name must be free and
    // whose folder must exist; the PDF is there complete or not at all. Returns its pages.
    // Throws AutomationError when the document cannot be rendered, and
    // AutomationServerUnavailable when no document can; nothing, and no PDF, when stop was
    // requested before the PDF was in place.
    virtual std::optional<std::uint32_t> Render(const Text& documentPath, const Text& pdfPath,
                                                std::stop_token stop) = 0;
};

}  // namespace pendrel
