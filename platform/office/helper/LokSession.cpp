#include "platform/office/helper/LokSession.h"

#define LOK_USE_UNSTABLE_API
#include <LibreOfficeKit/LibreOfficeKit.h>
#include <LibreOfficeKit/LibreOfficeKitEnums.h>
#include <LibreOfficeKit/LibreOfficeKitInit.h>
#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/office/FileUrl.h"
#include "platform/office/helper/DocumentSniffer.h"

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

std::uint64_t FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
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
    for (auto& [id, document] : documents_) document->pClass->destroy(document);
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

LokResult LokSession::Load(const std::string& path) {
    switch (SniffDocument(path)) {
        case FileKind::Missing:
            return {Outcome::NotFound, 0, {}};
        case FileKind::Empty:
            return {Outcome::NotWordDocument, 0, "the file is empty"};
        case FileKind::NotWord:
            return {Outcome::NotWordDocument, 0, {}};
        case FileKind::WordCandidate:
            break;
    }
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
        return {passwordAsked_ ? Outcome::Encrypted : Outcome::Damaged, 0, detail};
    }
    if (document->pClass->getDocumentType(document) != LOK_DOCTYPE_TEXT) {
        document->pClass->destroy(document);
        return {Outcome::NotWordDocument, 0, "it opens as another kind of document"};
    }
    std::uint32_t id = nextDocId_++;
    documents_[id] = document;
    return {Outcome::Ok, id, {}};
}

LokResult LokSession::Export(std::uint32_t docId, const std::string& pdfPath) {
    auto it = documents_.find(docId);
    if (it == documents_.end()) return {Outcome::Failed, docId, "the document is not open"};
    std::string url = FileUrlFromPath(Absolute(pdfPath));
    LibreOfficeKitDocument* document = it->second;
    if (!document->pClass->saveAs(document, url.c_str(), "pdf", nullptr))
        return {Outcome::ExportFailed, docId, TakeError()};
    if (FileSize(pdfPath) == 0) return {Outcome::ExportFailed, docId, "no PDF was written"};
    return {Outcome::Ok, docId, {}};
}

void LokSession::Close(std::uint32_t docId) {
    auto it = documents_.find(docId);
    if (it == documents_.end()) return;
    it->second->pClass->destroy(it->second);
    documents_.erase(it);
}

}  // namespace pendrel::office
