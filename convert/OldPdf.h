#pragma once
// The PDF that was there before a document is printed over it. The printer must find the
// name free (a real driver would otherwise ask whether to replace the file), but the user's
// PDF must not be lost when the new one never comes: it is moved aside to a hidden name in
// its folder, put back when printing fails or the run is interrupted, and removed only once
// the new PDF is in place.
#include <optional>

#include "platform/FileSystem.h"

namespace pendrel {

class OldPdf {
public:
    // Frees pdfPath for the printer. A PDF set aside by an earlier run that was interrupted
    // is dealt with first: put back, or removed when a newer PDF is at pdfPath. Throws
    // SystemError when the name cannot be freed.
    OldPdf(FileSystem& fileSystem, const Text& pdfPath);
    // Puts the old PDF back unless Keep was called: a failure or an interruption.
    ~OldPdf();
    OldPdf(const OldPdf&) = delete;
    OldPdf& operator=(const OldPdf&) = delete;

    // The new PDF is in place: the old one goes.
    void Discard() noexcept;
    // Puts the old PDF back over whatever is at its name now.
    void PutBack() noexcept;

    // The hidden name a PDF is set aside under, in its own folder.
    static Text AsideName(const Text& pdfPath, char separator);

private:
    FileSystem& fileSystem_;
    Text pdfPath_;
    std::optional<Text> aside_;  // while the old PDF is set aside
};

}  // namespace pendrel
