#include "platform/office/helper/ProfileSettings.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "platform/office/helper/FontRules.h"

namespace pendrel::office {
namespace {

struct Setting {
    const char* path;
    const char* name;
    const char* value;
};

constexpr const char* UcbProviders =
    "/org.openoffice.ucb.Configuration/ContentProviders/Local/SecondaryKeys/Office/ProviderData/";

// LibreOffice's content providers for remote places (web, WebDAV, FTP, CMIS) are renamed to a
// scheme no URL has, so a link to a server is never even looked up.
constexpr const char* RemoteProviders[] = {"Provider3",   "Provider4",  "Provider4a",
                                           "Provider6",   "Provider12", "Provider12a",
                                           "Provider12b", "Provider43"};

constexpr Setting Settings[] = {
    // A linked picture, text or object is shown as the document stores it, never fetched.
    {"/org.openoffice.Office.Common/Security/Scripting", "BlockUntrustedRefererLinks", "true"},
    {"/org.openoffice.Office.Writer/Content/Update", "Link", "0"},
    // No macro runs, whatever the document asks.
    {"/org.openoffice.Office.Common/Security/Scripting", "MacroSecurityLevel", "3"},
    {"/org.openoffice.Office.Common/Security/Scripting", "DisableMacrosExecution", "true"},
    // Nothing is written beside a document.
    {"/org.openoffice.Office.Common/Misc", "UseLocking", "false"},
    {"/org.openoffice.Office.Common/Misc", "UseDocumentOOoLockFile", "false"},
    {"/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "false"},
    // An embedded Word document, workbook or presentation is printed from the picture Word
    // stored beside it, never imported itself: importing one costs seconds and exposes the
    // importer to a second hostile document.
    {"/org.openoffice.Office.Common/Filter/Microsoft/Import", "WinWordToWriter", "false"},
    {"/org.openoffice.Office.Common/Filter/Microsoft/Import", "ExcelToCalc", "false"},
    {"/org.openoffice.Office.Common/Filter/Microsoft/Import", "PowerPointToImpress", "false"},
};

std::string Item(const std::string& path, const char* name, const char* value) {
    return "<item oor:path=\"" + path + "\"><prop oor:name=\"" + name +
           "\" oor:op=\"fuse\"><value>" + value + "</value></prop></item>\n";
}

// LibreOffice's record of the checks it made at its first start (graphics tests, extensions),
// one item a line: keeping it saves seconds at every start after. Nothing else it wrote is
// kept.
std::string KeptSetupItems(const std::filesystem::path& file) {
    static constexpr std::string_view SetupItem = "<item oor:path=\"/org.openoffice.Setup/";
    std::string kept;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with(SetupItem) && line.ends_with("</item>")) kept += line + "\n";
    return kept;
}

}  // namespace

bool WriteProfileSettings(const std::string& profileFolder, std::string& error) {
    const std::filesystem::path user = std::filesystem::path(profileFolder) / "user";
    std::error_code made;
    std::filesystem::create_directories(user, made);
    const std::filesystem::path file = user / "registrymodifications.xcu";
    std::string xcu =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
    xcu += KeptSetupItems(file);
    for (const Setting& s : Settings) xcu += Item(s.path, s.name, s.value);
    for (const char* provider : RemoteProviders)
        xcu += Item(std::string(UcbProviders) + provider, "URLTemplate", "vnd.pendrel.blocked");
    xcu += "</oor:items>\n";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << xcu;
    out.close();
    if (!out) {
        error = "cannot write " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    return WriteFontRules(profileFolder, error);
}

}  // namespace pendrel::office
