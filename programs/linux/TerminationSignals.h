#pragma once
#include <functional>

namespace pendrel::programs {

// When the session asks the program to stop (SIGTERM, SIGINT, SIGHUP), runs end on the event
// loop, which ends the program the way closing its window does: a PDF being printed over is
// put back, the document engine stopped and its files removed.
void EndOnTerminationSignals(std::function<void()> end);

}  // namespace pendrel::programs
