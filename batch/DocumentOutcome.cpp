#include "batch/DocumentOutcome.h"

#include <cmath>
#include <cstdio>

#include "platform/text/Utf8.h"

namespace pendrel::batch {
namespace {

Text Hex(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789abcdef";
    Text hex;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        hex += Digits[value >> 4];
        hex += Digits[value & 15];
    }
    return hex;
}

Text JsonOrNull(std::string_view text) {
    return text.empty() ? Text("null") : JsonString(text);
}

Text SecondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", std::isfinite(seconds) ? seconds : 0.0);
    return text;
}

}  // namespace

std::string_view StatusWord(DocumentStatus status) {
    switch (status) {
        case DocumentStatus::Converted:
            return "converted";
        case DocumentStatus::Skipped:
            return "skipped";
        case DocumentStatus::Failed:
            break;
    }
    return "failed";
}

Text JsonString(std::string_view text) {
    const Text visible = Utf8::Visible(text);
    Text json = "\"";
    for (const char c : visible) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

Text ReportLine(const DocumentOutcome& outcome) {
    Text line = "{\"path\":" + JsonString(outcome.path) + ",\"pdf\":" + JsonOrNull(outcome.pdf) +
                ",\"status\":\"" + Text(StatusWord(outcome.status)) +
                "\",\"reason\":" + JsonOrNull(outcome.reason) +
                ",\"pages\":" + std::to_string(outcome.pages) +
                ",\"seconds\":" + SecondsText(outcome.seconds);
    if (!Utf8::IsValid(outcome.path)) line += ",\"path_bytes\":\"" + Hex(outcome.path) + "\"";
    if (!Utf8::IsValid(outcome.pdf)) line += ",\"pdf_bytes\":\"" + Hex(outcome.pdf) + "\"";
    return line + "}\n";
}

}  // namespace pendrel::batch
