#include "common/LeftBehind.h"

#include <chrono>
#include <set>
#include <string_view>

#include "platform/PartialFile.h"

namespace pendrel::LeftBehind {
namespace {

constexpr std::string_view AsideSuffix = ".pendrel-old";
// A partial file of the earlier form names no writer; no move takes this long.
constexpr std::chrono::hours PartialFileAge{1};

// The name of the PDF an entry named as set aside stands for; empty when it is no such name.
Text PdfNameOf(const Text& asideName) {
    if (asideName.size() <= 1 + AsideSuffix.size() || !asideName.starts_with('.') ||
        !asideName.ends_with(AsideSuffix))
        return {};
    return asideName.substr(1, asideName.size() - 1 - AsideSuffix.size());
}

bool IsAbandoned(const FileSystem& fileSystem, const Text& path, const Text& name) {
    if (fileSystem.KindOf(path, false) != PathKind::File) return false;
    if (const auto writer = PartialFile::WriterOf(name)) return fileSystem.ProcessHasEnded(*writer);
    const auto modified = fileSystem.ModificationTime(path);
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return modified && now.count() - *modified > std::chrono::seconds(PartialFileAge).count();
}

Text FolderOf(const Text& path, char separator) {
    const auto slash = path.rfind(separator);
    return slash == Text::npos ? Text() : path.substr(0, slash);
}

// True when a regular file is at path and its bytes begin as a PDF's.
bool IsPdf(const FileSystem& fileSystem, const Text& path) {
    if (fileSystem.KindOf(path, false) != PathKind::File) return false;
    const auto start = fileSystem.ReadStart(path, PdfSignature.size());
    return start && *start == PdfSignature;
}

}  // namespace

Text AsideName(const Text& pdfPath, char separator) {
    const auto slash = pdfPath.rfind(separator);
    const std::size_t nameAt = slash == Text::npos ? 0 : slash + 1;
    return pdfPath.substr(0, nameAt) + "." + pdfPath.substr(nameAt) + Text(AsideSuffix);
}

void SettleAside(FileSystem& fileSystem, const Text& pdfPath) {
    const Text aside = AsideName(pdfPath, fileSystem.Separator());
    const PathKind asideKind = fileSystem.KindOf(aside, false);
    if (asideKind != PathKind::File && asideKind != PathKind::Folder) return;
    if (fileSystem.KindOf(pdfPath, false) == PathKind::Missing) {
        fileSystem.RenameFile(aside, pdfPath);
        fileSystem.SetHidden(pdfPath, false);
    } else if (asideKind == PathKind::File && IsPdf(fileSystem, pdfPath)) {
        fileSystem.DeleteFile(aside);  // a newer PDF came after it
    }
}

void TidyFolder(FileSystem& fileSystem, DirectoryLister& lister, const Text& folder) noexcept {
    try {
        const char separator = fileSystem.Separator();
        // Folders too: an earlier version of the program set aside a folder at a PDF's name.
        const auto listing = lister.List(
            folder, "*", FileAttribute::Hidden | FileAttribute::System | FileAttribute::Directory);
        if (!listing) return;
        for (const DirectoryLister::Entry& entry : *listing) {
            if (!entry.problem.empty()) continue;
            const Text path = folder + separator + entry.name;
            try {
                if (const Text pdfName = PdfNameOf(entry.name); !pdfName.empty())
                    SettleAside(fileSystem, folder + separator + pdfName);
                else if (PartialFile::IsPartialName(entry.name) &&
                         IsAbandoned(fileSystem, path, entry.name))
                    fileSystem.DeleteFile(path);
            } catch (const SystemError&) {
                // Left for the next time; the others are tidied still.
            }
        }
    } catch (...) {
        // Out of memory for the listing: nothing is tidied this time.
    }
}

void TidyBeside(FileSystem& fileSystem, DirectoryLister& lister,
                const std::vector<Text>& documents) noexcept {
    try {
        std::set<Text> folders;
        for (const Text& document : documents) {
            Text folder = FolderOf(document, fileSystem.Separator());
            if (!folder.empty() && folders.insert(folder).second)
                TidyFolder(fileSystem, lister, folder);
        }
    } catch (...) {
        // Out of memory for the folders' names: the rest are not tidied this time.
    }
}

}  // namespace pendrel::LeftBehind
