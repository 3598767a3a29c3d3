// Saves documents written by the tests as Word 97-2003 .doc files (and other formats the tests
// need), with the engine's own LibreOffice: the tests make their documents themselves instead
// of shipping binary files.
//
//   pendrel-make-documents <profile folder> <source> <target> [<source> <target>...]
//
// The target's extension picks the format: .doc (MS Word 97), .docx, .odt, .rtf. Exits 0 when
// every target was written.
#define LOK_USE_UNSTABLE_API
#include <LibreOfficeKit/LibreOfficeKit.h>
#include <LibreOfficeKit/LibreOfficeKitInit.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/office/FileUrl.h"
#include "platform/office/helper/ProfileSettings.h"

namespace {

using pendrel::office::FileUrlFromPath;

std::string Absolute(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

bool Convert(LibreOfficeKit* office, const std::string& source, std::string target) {
    const std::string url = FileUrlFromPath(Absolute(source));
    LibreOfficeKitDocument* document =
        office->pClass->documentLoadWithOptions(office, url.c_str(), "Batch=true");
    if (document == nullptr) {
        std::fprintf(stderr, "cannot load %s\n", source.c_str());
        return false;
    }
    const std::string extension = std::filesystem::path(target).extension().string().substr(1);
    target = Absolute(target);
    const bool saved = document->pClass->saveAs(document, FileUrlFromPath(target).c_str(),
                                                extension.c_str(), nullptr) != 0;
    document->pClass->destroy(document);
    if (!saved) std::fprintf(stderr, "cannot save %s\n", target.c_str());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s <profile> <source> <target>...\n", argv[0]);
        return 2;
    }
    ::setenv("SAL_USE_VCLPLUGIN", "svp", 1);
    const std::string profile = Absolute(argv[1]);
    std::string error;
    if (!pendrel::office::WriteProfileSettings(profile, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    LibreOfficeKit* office =
        lok_init_2("/usr/lib/libreoffice/program", FileUrlFromPath(profile).c_str());
    if (office == nullptr) return 1;
    bool all = true;
    for (int i = 2; i + 1 < argc; i += 2) all = Convert(office, argv[i], argv[i + 1]) && all;
    std::fflush(nullptr);
    // LibreOffice's own shutdown is slow and nothing of it needs saving.
    std::_Exit(all ? 0 : 1);
}
