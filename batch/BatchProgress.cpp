#include "batch/BatchProgress.h"

#include <cmath>
#include <cstdio>

#include "platform/text/Utf8.h"

namespace pendrel::batch {
namespace {

Text Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// 7:28, or 1:02:03 from an hour on.
Text Clock(double seconds) {
    const auto whole = static_cast<long long>(std::llround(seconds));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

}  // namespace

Text StatusLine(const ProgressCounts& counts) {
    Text line = std::to_string(counts.done) + "/" + std::to_string(counts.total) + " done, " +
                std::to_string(counts.failed) + " failed";
    const double seconds = counts.elapsed.count();
    if (counts.converted == 0 || seconds <= 0) return line;
    // Skipped documents cost next to nothing: the rate is of the documents rendered.
    const double rate = static_cast<double>(counts.converted) / seconds;
    const double rest = static_cast<double>(counts.total - counts.done);
    return line + ", " + Fixed(rate, rate < 10 ? 1 : 0) + " documents/s, " + Clock(rest / rate) +
           " left";
}

Text DocumentLine(const DocumentOutcome& outcome, const ProgressCounts& counts) {
    Text line = "[" + std::to_string(counts.done) + "/" + std::to_string(counts.total) + "] " +
                Text(StatusWord(outcome.status)) + " " + Utf8::Visible(outcome.path);
    switch (outcome.status) {
        case DocumentStatus::Converted:
            return line + " -> " + Utf8::Visible(outcome.pdf) + " (" +
                   std::to_string(outcome.pages) + (outcome.pages == 1 ? " page, " : " pages, ") +
                   Fixed(outcome.seconds, 1) + " s)";
        case DocumentStatus::Skipped:
        case DocumentStatus::Failed:
            break;
    }
    return line + ": " + outcome.reason;
}

}  // namespace pendrel::batch
