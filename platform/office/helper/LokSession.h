#pragma once
// LibreOffice, loaded through LibreOfficeKit, with the documents it holds open. Used only by
// the helper process: LibreOffice runs in no other process of the program.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/office/formats/WordHeader.h"
#include "platform/office/helper/Renderer.h"

struct _LibreOfficeKit;
struct _LibreOfficeKitDocument;

namespace pendrel::office {

class LokSession final : public Renderer {
public:
    // Starts LibreOffice from its program folder with the profile folder given (created when
    // missing). Nothing, with error filled in, when it cannot start.
    static std::unique_ptr<LokSession> Start(const std::string& programFolder,
                                             const std::string& profileFolder, std::string& error);
    ~LokSession() override;
    LokSession(const LokSession&) = delete;
    LokSession& operator=(const LokSession&) = delete;

    RenderResult Load(const std::string& path) override;
    RenderResult Export(std::uint32_t docId, const std::string& pdfPath,
                        std::uint8_t pdfFlags) override;
    void Close(std::uint32_t docId) override;

private:
    explicit LokSession(_LibreOfficeKit* office);
    RenderResult LoadCopy(const std::string& path);
    static void OnOfficeEvent(int type, const char* payload, void* self);
    std::string TakeError();

    _LibreOfficeKit* office_;
    struct OpenDocument {
        _LibreOfficeKitDocument* document;
        std::string copy;                  // the file it was loaded from, removed when it is closed
        std::optional<MainText> mainText;  // what its Word header says of its text
    };
    std::map<std::uint32_t, OpenDocument> documents_;
    std::uint32_t nextDocId_ = 1;
    bool passwordAsked_ = false;
    std::string loadingUrl_;
};

}  // namespace pendrel::office
