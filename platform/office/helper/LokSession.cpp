#include "platform/office/helper/LokSession.h"

#define LOK_USE_UNSTABLE_API
#include <LibreOfficeKit/LibreOfficeKit.h>
#include <LibreOfficeKit/LibreOfficeKitEnums.h>
#include <LibreOfficeKit/LibreOfficeKitInit.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/office/formats/DocumentSniffer.h"
#include "platform/office/helper/BlankRender.h"
#include "platform/office/protocol/FileUrl.h"
#include "platform/office/protocol/Refusal.h"

namespace pendrel::office {
namespace {

bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

// LibreOffice takes URLs, which must be absolute; the helper shares the window's folder.
std::string Absolute(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    char* here = ::getcwd(nullptr, 0);
    std::string absolute = here != nullptr ? std::string(here) + "/" + path : path;
    std::free(here);
    return absolute;
}

// The password answer must name the document by the very URL LibreOffice made of ours, which
// has no "." or ".." steps; so the URL is made from the resolved path.
std::string Canonical(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return Absolute(path);
    std::string canonical = resolved;
    std::free(resolved);
    return canonical;
}

// Writing fails in many ways; when the temporary folder's file system has next to no room
// left, that is the reason to give.
bool TemporaryFolderFull() {
    constexpr std::uint64_t Room = 16ull * 1024 * 1024;
    const char* temporary = std::getenv("TMPDIR");
    struct statvfs info {};
    if (temporary == nullptr || ::statvfs(temporary, &info) != 0) return false;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize < Room;
}

// Why a document whose header counts text and which shows nothing is damaged.
std::string NothingReadDetail(const MainText& header) {
    if (!header.countsReadable) return "its Word header is damaged, and no text could be read";
    return "its Word header counts " + std::to_string(header.length) +
           " characters of text, but none could be read";
}

std::uint64_t FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

// The PDF export's filter data, in the JSON form LibreOffice reads from a filter options
// string: a tagged PDF and PDF/A-2b as Writer's own export dialog sets them.
std::string PdfFilterOptions(std::uint8_t pdfFlags) {
    std::string options;
    const auto add = [&](const char* name, const char* type, const char* value) {
        options += options.empty() ? "{" : ",";
        options +=
            std::string("\"") + name + "\":{\"type\":\"" + type + "\",\"value\":\"" + value + "\"}";
    };
    if (pdfFlags & PdfFlag::Tagged) add("UseTaggedPDF", "boolean", "true");
    if (pdfFlags & PdfFlag::ArchiveA2b) add("SelectPdfVersion", "long", "2");
    return options.empty() ? options : options + "}";
}

}  // namespace

std::unique_ptr<LokSession> LokSession::Start(const std::string& programFolder,
                                              const std::string& profileFolder,
                                              std::string& error) {
    if (!MakeFolders(profileFolder)) {
        error = "cannot create the profile folder " + profileFolder + ": " + std::strerror(errno);
        return nullptr;
    }
    std::string profileUrl = FileUrlFromPath(profileFolder);
    LibreOfficeKit* office = lok_init_2(programFolder.c_str(), profileUrl.c_str());
    if (office == nullptr) {
        error = "LibreOffice could not be started from " + programFolder;
        return nullptr;
    }
    std::unique_ptr<LokSession> session(new LokSession(office));
    // A password prompt is answered "no password" in OnOfficeEvent, so an encrypted document
    // fails instead of waiting for someone to type.
    office->pClass->setOptionalFeatures(
        office, LOK_FEATURE_DOCUMENT_PASSWORD | LOK_FEATURE_DOCUMENT_PASSWORD_TO_MODIFY);
    return session;
}

LokSession::LokSession(LibreOfficeKit* office) : office_(office) {}

LokSession::~LokSession() {
    for (auto& [id, open] : documents_) open.document->pClass->destroy(open.document);
}

void LokSession::OnOfficeEvent(int type, const char*, void* self) {
    auto* session = static_cast<LokSession*>(self);
    // Answered with the URL being loaded: LibreOffice 7.4 sends only the file's name, and
    // answering with anything but the loading URL aborts the process.
    if (type == LOK_CALLBACK_DOCUMENT_PASSWORD) {
        session->passwordAsked_ = true;
        session->office_->pClass->setDocumentPassword(session->office_,
                                                      session->loadingUrl_.c_str(), nullptr);
    } else if (type == LOK_CALLBACK_DOCUMENT_PASSWORD_TO_MODIFY) {
        // No password to modify: the document opens read-only, which is all printing needs.
        session->office_->pClass->setDocumentPassword(session->office_,
                                                      session->loadingUrl_.c_str(), nullptr);
    }
}

std::string LokSession::TakeError() {
    char* raw = office_->pClass->getError(office_);
    if (raw == nullptr) return {};
    std::string text = raw;
    office_->pClass->freeError(raw);
    return text;
}

RenderResult LokSession::Load(const std::string& path) {
    RenderResult result = LoadCopy(path);
    // The copy was made for this document alone; one that did not open is not needed.
    if (result.outcome != Outcome::Ok) ::unlink(path.c_str());
    return result;
}

RenderResult LokSession::LoadCopy(const std::string& path) {
    const Sniffed sniffed = SniffDocument(path);
    if (const auto refusal = RefusalOf(sniffed)) return {refusal->outcome, 0, refusal->detail};
    passwordAsked_ = false;
    loadingUrl_ = FileUrlFromPath(Canonical(path));
    // Listening only while loading: with a listener registered, LibreOffice takes several
    // times longer to close each document.
    office_->pClass->registerCallback(office_, &LokSession::OnOfficeEvent, this);
    LibreOfficeKitDocument* document =
        office_->pClass->documentLoadWithOptions(office_, loadingUrl_.c_str(), "Batch=true");
    office_->pClass->registerCallback(office_, nullptr, nullptr);
    if (document == nullptr) {
        std::string detail = TakeError();
        if (passwordAsked_) return {Outcome::Encrypted, 0, detail};
        // LibreOffice's own words here name its URLs and filters, nothing a user could act on.
        return {TemporaryFolderFull() ? Outcome::NoSpace : Outcome::Damaged, 0, {}};
    }
    if (document->pClass->getDocumentType(document) != LOK_DOCTYPE_TEXT) {
        document->pClass->destroy(document);
        return {Outcome::NotWordDocument, 0, {}};
    }
    std::uint32_t id = nextDocId_++;
    documents_[id] = {document, path, sniffed.mainText};
    return {Outcome::Ok, id, {}};
}

RenderResult LokSession::Export(std::uint32_t docId, const std::string& pdfPath,
                                std::uint8_t pdfFlags) {
    auto it = documents_.find(docId);
    if (it == documents_.end()) return {Outcome::Failed, docId, "the document is not open"};
    std::string url = FileUrlFromPath(Absolute(pdfPath));
    LibreOfficeKitDocument* document = it->second.document;
    const std::string options = PdfFilterOptions(pdfFlags);
    const bool saved = document->pClass->saveAs(document, url.c_str(), "pdf",
                                                options.empty() ? nullptr : options.c_str());
    const std::string detail = saved ? std::string() : TakeError();
    const std::uint64_t size = saved ? FileSize(pdfPath) : 0;
    // A PDF of a page with anything on it is larger than a blank one: only a small one is looked
    // into, where the header says there is text.
    const auto& header = it->second.mainText;
    if (size > 0 && size <= LargestBlankPdf && header && header->Expected() &&
        ShowsNothing(document, Canonical(it->second.copy))) {
        ::unlink(pdfPath.c_str());
        return {Outcome::Damaged, docId, NothingReadDetail(*header)};
    }
    if (size > 0) {
        // A text document's parts are its pages, laid out by the export just done.
        const int pages = document->pClass->getParts(document);
        return {Outcome::Ok, docId, {}, pages > 0 ? static_cast<std::uint32_t>(pages) : 0u};
    }
    ::unlink(pdfPath.c_str());
    if (TemporaryFolderFull()) return {Outcome::NoSpace, docId, {}};
    return {Outcome::ExportFailed, docId, saved ? "no PDF was written" : detail};
}

void LokSession::Close(std::uint32_t docId) {
    auto it = documents_.find(docId);
    if (it == documents_.end()) return;
    it->second.document->pClass->destroy(it->second.document);
    // The copy was made for this document alone.
    ::unlink(it->second.copy.c_str());
    documents_.erase(it);
}

}  // namespace pendrel::office
