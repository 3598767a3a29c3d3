#pragma once
// The PDF that was there before a document is printed over it. The printer must find the
// name free (a real driver would otherwise ask whether to replace the file), but the user's
// PDF must not be lost when the new one never comes: it is moved aside to a hidden name in
// its folder, put back when printing fails or the run is interrupted, and removed only once
// the new PDF is in place. Only a PDF is ever replaced: a regular file that begins as one and
// is not read-only.
#include <optional>

#include "platform/FileSystem.h"

namespace pendrel {

class OldPdf {
public:
    // The system's numbers for the same conditions: "the file exists" for a place taken by
    // something else than a PDF, "access denied" for a read-only PDF.
    static constexpr std::int32_t PlaceTakenNumber = 80;
    static constexpr std::int32_t ReadOnlyNumber = 5;

    // Frees pdfPath for the printer. A PDF set aside by an earlier run that was interrupted
    // is dealt with first: put back, or removed when a newer PDF is at pdfPath. Throws
    // SystemError when the name cannot be freed or must not be (CheckReplaceable).
    OldPdf(FileSystem& fileSystem, const Text& pdfPath);
    // Puts the old PDF back unless Discard was called: a failure or an interruption.
    ~OldPdf();
    OldPdf(const OldPdf&) = delete;
    OldPdf& operator=(const OldPdf&) = delete;

    // The new PDF is in place: the old one goes.
    void Discard() noexcept;
    // Puts the old PDF back over whatever is at its name now.
    void PutBack() noexcept;

    // Throws SystemError, saying why, when a PDF must not be printed at pdfPath: something
    // other than a PDF file is there (a folder, a link, a pipe, a device, the user's own
    // file), or a PDF that is read-only.
    static void CheckReplaceable(const FileSystem& fileSystem, const Text& pdfPath);

private:
    FileSystem& fileSystem_;
    Text pdfPath_;
    std::optional<Text> aside_;  // while the old PDF is set aside
};

}  // namespace pendrel
