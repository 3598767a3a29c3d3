#pragma once
// What a run that was cut off (the program killed, the power lost) leaves beside documents,
// and the tidying up after it: the PDF set aside while its document was printed over it, and
// the partial file of a PDF that was being copied in from another file system. Done for the
// folders of the documents queued, whenever documents are queued.
#include <string_view>
#include <vector>

#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"

namespace pendrel::LeftBehind {

// The hidden name a PDF is set aside under, in its own folder: ".<name>.pendrel-old".
Text AsideName(const Text& pdfPath, char separator);

// A PDF set aside for pdfPath is put back when nothing is at pdfPath now, and removed when a
// newer PDF is there; anything else there (the user's own file) leaves it where it is. A
// folder set aside by an earlier version of the program is put back too. Throws SystemError
// when it cannot be moved.
void SettleAside(FileSystem& fileSystem, const Text& pdfPath);

// Settles every PDF set aside in folder, and removes the partial files whose writer has
// ended. Never throws: what cannot be tidied now is left for the next time.
void TidyFolder(FileSystem& fileSystem, DirectoryLister& lister, const Text& folder) noexcept;

// TidyFolder for the folder of each document, each folder once.
void TidyBeside(FileSystem& fileSystem, DirectoryLister& lister,
                const std::vector<Text>& documents) noexcept;

// How a PDF's bytes begin.
inline constexpr std::string_view PdfSignature = "%PDF-";

}  // namespace pendrel::LeftBehind
