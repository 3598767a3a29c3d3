#pragma once
// What the window's process and the helper process say to each other: binary messages, each
// carried in one length-prefixed frame over a stream socket. Paths travel as raw bytes, so no
// character of a file name is ever split, quoted or re-encoded on the way.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pendrel::office {

// The helper's first message (Ready) carries this in its id; the window refuses a helper that
// speaks another version.
constexpr std::uint32_t ProtocolVersion = 4;

enum class MessageKind : std::uint8_t {
    // window -> helper
    Load = 1,    // text: the path of the document's copy; the answer carries the new document's id
    Export = 2,  // docId, pdfFlags, text: the PDF file to write; the answer carries its pages
    Close = 3,   // docId; the copy is removed with it
    // helper -> window
    Ready = 10,  // the renderer has started (outcome Ok) or could not start (text says why);
                 // isolation: what the renderer was shut in

    Answer = 11,  // the answer to the request with the same id
};

// How a request ended, in the terms the user is told about.
enum class Outcome : std::uint8_t {
    Ok = 0,
    NotFound = 1,
    Encrypted = 2,
    NotWordDocument = 3,
    Damaged = 4,
    ExportFailed = 5,
    Failed = 6,      // anything else; text holds the detail
    Unreadable = 7,  // text: the system's reason
    NoSpace = 8,     // the temporary folder is full
};

// What the helper's renderer is shut in, strongest first (see helper/Isolation.h).
enum class Isolation : std::uint8_t {
    None = 0,        // nothing: it sees the whole file system and the network
    Landlock = 1,    // Landlock's file rules and the seccomp filter that keeps it off the network
    Namespaces = 2,  // namespaces of its own: its own view of the file system, no network
};

// What kind of PDF an Export writes, as bits of Message::pdfFlags.
namespace PdfFlag {
constexpr std::uint8_t Tagged = 1;      // the document's structure, for screen readers
constexpr std::uint8_t ArchiveA2b = 2;  // PDF/A-2b
constexpr std::uint8_t All = Tagged | ArchiveA2b;
}  // namespace PdfFlag

struct Message {
    MessageKind kind = MessageKind::Answer;
    std::uint32_t id = 0;
    std::uint32_t docId = 0;
    Outcome outcome = Outcome::Ok;
    std::uint64_t residentBytes = 0;  // the helper's memory after answering
    std::uint64_t workMicros = 0;     // how long the helper worked on the request
    std::uint8_t pdfFlags = 0;        // Export: PdfFlag bits
    std::uint32_t pages = 0;          // the answer to an Export: the PDF's pages
    std::string text;
    Isolation isolation = Isolation::None;  // in Ready

    bool operator==(const Message&) const = default;
};

std::string EncodeMessage(const Message& message);
// Nothing when the bytes are not a well-formed message.
std::optional<Message> DecodeMessage(const std::string& bytes);

// Frames on a blocking stream socket. Writing never raises SIGPIPE; both return false (or
// nothing) once the other side has gone or the stream holds something that is not a frame.
bool WriteFrame(int fd, const std::string& payload);
std::optional<std::string> ReadFrame(int fd);

bool SendMessage(int fd, const Message& message);
std::optional<Message> ReceiveMessage(int fd);

// Fills out with the stream's next size bytes; false when the stream ends first.
using ReadExactly = std::function<bool(char* out, std::size_t size)>;

// The same frame reader on any stream: the socket's above, a buffer in the tests and fuzzers.
std::optional<std::string> ReadFrame(const ReadExactly& read);
std::optional<Message> ReceiveMessage(const ReadExactly& read);

}  // namespace pendrel::office
