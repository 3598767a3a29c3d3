#include "convert/OldPdf.h"

#include "common/Misc.h"

namespace pendrel {
namespace {

void Restore(FileSystem& fileSystem, const Text& aside, const Text& pdfPath) {
    fileSystem.RenameFile(aside, pdfPath);
    fileSystem.SetHidden(pdfPath, false);
}

}  // namespace

Text OldPdf::AsideName(const Text& pdfPath, char separator) {
    const auto slash = pdfPath.rfind(separator);
    const std::size_t nameAt = slash == Text::npos ? 0 : slash + 1;
    return pdfPath.substr(0, nameAt) + "." + pdfPath.substr(nameAt) + ".pendrel-old";
}

OldPdf::OldPdf(FileSystem& fileSystem, const Text& pdfPath)
    : fileSystem_(fileSystem), pdfPath_(pdfPath) {
    const Text aside = AsideName(pdfPath, fileSystem.Separator());
    if (Misc::FileExists(fileSystem, aside)) {
        // Left by a run that was interrupted: a PDF at the name now is newer than it.
        if (Misc::FileExists(fileSystem, pdfPath))
            fileSystem.DeleteFile(aside);
        else
            Restore(fileSystem, aside, pdfPath);
    }
    if (!Misc::FileExists(fileSystem, pdfPath)) return;
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
