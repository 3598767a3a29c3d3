#include "platform/office/protocol/Protocol.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace pendrel::office {
namespace {

// A path is at most a few kilobytes; anything far larger is a broken stream.
constexpr std::uint32_t MaxFrameBytes = 1u << 20;

template <typename T>
void PutInteger(std::string& out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
}

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}

    template <typename T>
    bool GetInteger(T& value) {
        if (bytes_.size() - pos_ < sizeof(T)) return false;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[pos_ + i]))
                 << (8 * i);
        pos_ += sizeof(T);
        value = static_cast<T>(v);
        return true;
    }
    bool GetBytes(std::string& value) {
        std::uint32_t length = 0;
        if (!GetInteger(length) || bytes_.size() - pos_ < length) return false;
        value.assign(bytes_, pos_, length);
        pos_ += length;
        return true;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

private:
    const std::string& bytes_;
    std::size_t pos_ = 0;
};

bool KnownKind(std::uint8_t kind) {
    return kind == 1 || kind == 2 || kind == 3 || kind == 10 || kind == 11;
}

ReadExactly SocketReader(int fd) {
    return [fd](char* data, std::size_t size) {
        while (size > 0) {
            ssize_t got = ::read(fd, data, size);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            data += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    };
}

}  // namespace

std::string EncodeMessage(const Message& m) {
    std::string out;
    PutInteger(out, static_cast<std::uint8_t>(m.kind));
    PutInteger(out, m.id);
    PutInteger(out, m.docId);
    PutInteger(out, static_cast<std::uint8_t>(m.outcome));
    PutInteger(out, m.residentBytes);
    PutInteger(out, m.workMicros);
    PutInteger(out, static_cast<std::uint8_t>(m.isolation));
    PutInteger(out, m.pdfFlags);
    PutInteger(out, m.pages);
    PutInteger(out, static_cast<std::uint32_t>(m.text.size()));
    out += m.text;
    return out;
}

std::optional<Message> DecodeMessage(const std::string& bytes) {
    Reader in(bytes);
    Message m;
    std::uint8_t kind = 0, outcome = 0, isolation = 0;
    if (!in.GetInteger(kind) || !in.GetInteger(m.id) || !in.GetInteger(m.docId) ||
        !in.GetInteger(outcome) || !in.GetInteger(m.residentBytes) ||
        !in.GetInteger(m.workMicros) || !in.GetInteger(isolation) || !in.GetInteger(m.pdfFlags) ||
        !in.GetInteger(m.pages) || !in.GetBytes(m.text) || !in.AtEnd())
        return std::nullopt;
    if (!KnownKind(kind) || outcome > static_cast<std::uint8_t>(Outcome::NoSpace) ||
        isolation > static_cast<std::uint8_t>(Isolation::Namespaces) ||
        (m.pdfFlags & ~PdfFlag::All) != 0)
        return std::nullopt;
    m.kind = static_cast<MessageKind>(kind);
    m.outcome = static_cast<Outcome>(outcome);
    m.isolation = static_cast<Isolation>(isolation);
    return m;
}

bool WriteFrame(int fd, const std::string& payload) {
    if (payload.size() > MaxFrameBytes) return false;
    std::string frame;
    PutInteger(frame, static_cast<std::uint32_t>(payload.size()));
    frame += payload;
    const char* data = frame.data();
    std::size_t left = frame.size();
    while (left > 0) {
        // MSG_NOSIGNAL: a helper that died must not take the window's process with it.
        ssize_t sent = ::send(fd, data, left, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        left -= static_cast<std::size_t>(sent);
    }
    return true;
}

std::optional<std::string> ReadFrame(const ReadExactly& read) {
    unsigned char header[4];
    if (!read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
    std::uint32_t length = header[0] | (header[1] << 8) | (header[2] << 16) |
                           (static_cast<std::uint32_t>(header[3]) << 24);
    if (length > MaxFrameBytes) return std::nullopt;
    std::string payload(length, '\0');
    if (!read(payload.data(), length)) return std::nullopt;
    return payload;
}

std::optional<std::string> ReadFrame(int fd) {
    return ReadFrame(SocketReader(fd));
}

bool SendMessage(int fd, const Message& message) {
    return WriteFrame(fd, EncodeMessage(message));
}

std::optional<Message> ReceiveMessage(const ReadExactly& read) {
    auto payload = ReadFrame(read);
    if (!payload) return std::nullopt;
    return DecodeMessage(*payload);
}

std::optional<Message> ReceiveMessage(int fd) {
    return ReceiveMessage(SocketReader(fd));
}

}  // namespace pendrel::office
