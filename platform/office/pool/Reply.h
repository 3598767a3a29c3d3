#pragma once
// How a request to a helper ended, seen from the window's side.
#include <string>

#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {

struct Reply {
    enum class Status {
        Answered,
        NotStarted,     // the helper could not start: no document's fault
        HelperLost,     // the helper died on the request (crashed, most likely on the document)
        EngineStopped,  // the helper was killed or stopped from outside, not by the document
        TimedOut,
        OverMemory,  // the helper was stopped at the memory ceiling, on the document
    };
    Status status = Status::Answered;
    Message answer;      // when Answered
    std::string detail;  // why the helper was lost
};

}  // namespace pendrel::office
