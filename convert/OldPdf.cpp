#include "convert/OldPdf.h"

#include "common/LeftBehind.h"

namespace pendrel {
namespace {

void Restore(FileSystem& fileSystem, const Text& aside, const Text& pdfPath) {
    fileSystem.RenameFile(aside, pdfPath);
    fileSystem.SetHidden(pdfPath, false);
}

[[noreturn]] void RefuseTaken(const Text& pdfPath, PathKind kind) {
    throw SystemError(OldPdf::PlaceTakenNumber,
                      pdfPath + " is " + KindName(kind) +
                          ", not a PDF file, so the PDF is not written there. Rename or move " +
                          "it, then convert again.");
}

}  // namespace

void OldPdf::CheckReplaceable(const FileSystem& fileSystem, const Text& pdfPath) {
    const PathKind kind = fileSystem.KindOf(pdfPath, false);
    if (kind == PathKind::Missing) return;
    if (kind != PathKind::File) RefuseTaken(pdfPath, kind);
    const auto start = fileSystem.ReadStart(pdfPath, LeftBehind::PdfSignature.size());
    if (!start)
        throw SystemError(PlaceTakenNumber, pdfPath +
                                                " cannot be read to check that it is a PDF file, "
                                                "so it is not replaced.");
    // An empty file holds nothing to lose.
    if (!start->empty() && *start != LeftBehind::PdfSignature)
        throw SystemError(PlaceTakenNumber, pdfPath +
                                                " is not a PDF file, so it is not replaced by "
                                                "this document's PDF. Rename or move it, then "
                                                "convert again.");
    if (fileSystem.IsReadOnly(pdfPath))
        throw SystemError(ReadOnlyNumber, "The PDF " + pdfPath +
                                              " is read-only, so it is not replaced. Make it "
                                              "writable, then convert again.");
}

OldPdf::OldPdf(FileSystem& fileSystem, const Text& pdfPath)
    : fileSystem_(fileSystem), pdfPath_(pdfPath) {
    // Left by a run that was interrupted.
    LeftBehind::SettleAside(fileSystem, pdfPath);
    CheckReplaceable(fileSystem, pdfPath);
    if (fileSystem.KindOf(pdfPath, false) == PathKind::Missing) return;
    const Text aside = LeftBehind::AsideName(pdfPath, fileSystem.Separator());
    fileSystem.RenameFile(pdfPath, aside);
    fileSystem.SetHidden(aside, true);
    aside_ = aside;
}

OldPdf::~OldPdf() {
    PutBack();
}

void OldPdf::Discard() noexcept {
    if (!aside_) return;
    try {
        fileSystem_.DeleteFile(*aside_);
    } catch (...) {
        // Left behind, it is removed by the next run that prints this document.
    }
    aside_.reset();
}

void OldPdf::PutBack() noexcept {
    if (!aside_) return;
    try {
        Restore(fileSystem_, *aside_, pdfPath_);
    } catch (...) {
        // Still at its hidden name; the next run that prints this document puts it back.
    }
    aside_.reset();
}

}  // namespace pendrel
