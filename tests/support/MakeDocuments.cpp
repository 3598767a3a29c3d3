// Saves documents the tests write as Word 97-2003 .doc files (or the other formats the tests
// need, by the target's extension: .doc, .docx, .odt, .rtf) with the engine's own LibreOffice,
// so that no binary document is shipped. Exits 0 when every target was written.
//
//   pendrel-make-documents <profile folder> <source> <target> [<source> <target>...]
#define LOK_USE_UNSTABLE_API
#include <LibreOfficeKit/LibreOfficeKit.h>
#include <LibreOfficeKit/LibreOfficeKitInit.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/office/helper/ProfileSettings.h"
#include "platform/office/protocol/FileUrl.h"

namespace {

std::string Url(const std::string& path) {
    return pendrel::office::FileUrlFromPath(
        std::filesystem::absolute(path).lexically_normal().string());
}

bool Convert(LibreOfficeKit* office, const std::string& source, const std::string& target) {
    LibreOfficeKitDocument* document =
        office->pClass->documentLoadWithOptions(office, Url(source).c_str(), "Batch=true");
    const std::string format = std::filesystem::path(target).extension().string().substr(1);
    const bool saved =
        document != nullptr &&
        document->pClass->saveAs(document, Url(target).c_str(), format.c_str(), nullptr);
    if (document != nullptr) document->pClass->destroy(document);
    if (!saved) std::fprintf(stderr, "cannot make %s from %s\n", target.c_str(), source.c_str());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s <profile> <source> <target>...\n", argv[0]);
        return 2;
    }
    ::setenv("SAL_USE_VCLPLUGIN", "svp", 1);
    const std::string profile = std::filesystem::absolute(argv[1]).lexically_normal().string();
    std::string error;
    if (!pendrel::office::WriteProfileSettings(profile, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    // LibreOffice's temporary files go to a folder of ours, removed below, as the quick exit
    // would leave them in whatever TMPDIR the caller had.
    const std::filesystem::path temporary = profile + "-tmp";
    std::filesystem::create_directories(temporary);
    ::setenv("TMPDIR", temporary.c_str(), 1);
    LibreOfficeKit* office = lok_init_2("/usr/lib/libreoffice/program", Url(profile).c_str());
    bool all = office != nullptr;
    for (int i = 2; office != nullptr && i + 1 < argc; i += 2)
        all = Convert(office, argv[i], argv[i + 1]) && all;
    std::error_code ignored;
    std::filesystem::remove_all(temporary, ignored);
    std::fflush(nullptr);
    // LibreOffice's own shutdown is slow and nothing of it needs saving.
    std::_Exit(all ? 0 : 1);
}
