// Writes the fuzzers' seed corpora into the folder it is given, one folder per fuzz target:
// Word, Office Open XML and OpenDocument files the engine saves from sources written here, and
// streams of frames from the protocol's own encoder. Nothing is made again once it is there.
//
//   pendrel-fuzz-seeds <folder>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/office/protocol/Protocol.h"
#include "tests/support/TestDocuments.h"

namespace {

namespace fs = std::filesystem;
using pendrel::testing::FlatOdf;
using pendrel::testing::MadeFrom;

struct Source {
    std::string name, text, extension;  // the extension says rich text or flat OpenDocument
};

std::vector<Source> Sources() {
    std::string picture;  // in hexadecimal
    for (const unsigned char byte : pendrel::testing::Picture(16, 8, 0x20, 0x60, 0xC0))
        picture += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
    const std::string row = "\\trowd\\cellx2500\\cellx5000 ";
    return {
        {"text", "{\\rtf1\\ansi A short letter.\\par Yours, A.\\par}", "rtf"},
        {"table", "{\\rtf1\\ansi Prices\\par" + row + "Apples\\cell 12\\cell\\row}", "rtf"},
        {"picture", "{\\rtf1\\ansi {\\pict\\picw16\\pich8 " + picture + "}\\par}", "rtf"},
        {"scripts", FlatOdf("<text:p>Съешь ещё этих булок.</text:p><text:p>中文文本</text:p>"),
         "fodt"},
    };
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Frames as they cross the socket, one stream of them per seed.
std::string Frames(const std::vector<pendrel::office::Message>& messages) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return "";
    for (const auto& message : messages) pendrel::office::SendMessage(ends[0], message);
    ::close(ends[0]);
    std::string stream;
    char buffer[4096];
    for (ssize_t got; (got = ::read(ends[1], buffer, sizeof buffer)) > 0;)
        stream.append(buffer, static_cast<std::size_t>(got));
    ::close(ends[1]);
    return stream;
}

pendrel::office::Message Said(pendrel::office::MessageKind kind, std::uint32_t id,
                              std::uint32_t docId, const std::string& text) {
    pendrel::office::Message message;
    message.kind = kind;
    message.id = id;
    message.docId = docId;
    message.text = text;
    return message;
}

void WriteFrameSeeds(const fs::path& folder) {
    using pendrel::office::MessageKind;
    fs::create_directories(folder);
    const auto ready = Said(MessageKind::Ready, pendrel::office::ProtocolVersion, 0, "");
    auto loaded = Said(MessageKind::Answer, 1, 7, "");
    loaded.residentBytes = 123 << 20;
    loaded.workMicros = 52000;
    auto exported = Said(MessageKind::Answer, 2, 7, "");
    exported.pages = 3;
    auto full = Said(MessageKind::Answer, 2, 7, "disk full");
    full.outcome = pendrel::office::Outcome::NoSpace;
    auto tagged = Said(MessageKind::Export, 2, 7, "/home/u/Out/Letter.pdf");
    tagged.pdfFlags = 0xFF;
    Write(folder / "ready", Frames({ready}));
    Write(folder / "load",
          Frames({Said(MessageKind::Load, 1, 0, "/tmp/spool/1/Letter.doc"), loaded}));
    Write(folder / "export", Frames({tagged, exported, Said(MessageKind::Close, 3, 7, "")}));
    Write(folder / "failure", Frames({tagged, full}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const fs::path seeds = argv[1], made = seeds / ".made";
    if (fs::exists(made)) return 0;
    const fs::path sources = seeds / "sources", word = seeds / "compound_file",
                   zip = seeds / "zip_directory", sniffer = seeds / "sniffer";
    for (const auto& folder : {sources, word, zip, sniffer}) fs::create_directories(folder);
    std::vector<MadeFrom> documents;
    for (const Source& source : Sources()) {
        const fs::path path = sources / (source.name + "." + source.extension);
        Write(path, source.text);
        fs::copy_file(path, sniffer / path.filename(), fs::copy_options::overwrite_existing);
        documents.push_back({path.string(), (word / (source.name + ".doc")).string()});
    }
    documents.push_back({(sources / "text.rtf").string(), (zip / "text.docx").string()});
    documents.push_back({(sources / "scripts.fodt").string(), (zip / "scripts.odt").string()});
    if (!pendrel::testing::MakeDocuments(documents)) {
        std::fprintf(stderr, "the engine could not make the seed documents\n");
        return 1;
    }
    for (const MadeFrom& document : documents)
        fs::copy_file(document.targetPath, sniffer / fs::path(document.targetPath).filename(),
                      fs::copy_options::overwrite_existing);
    WriteFrameSeeds(seeds / "protocol_frame");
    Write(made, "");
    return 0;
}
