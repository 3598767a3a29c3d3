#pragma once
#include "platform/Desktop.h"

namespace pendrel::programs {

// Ends the program the way closing its window does when the session asks it to stop
// (SIGTERM, SIGINT, SIGHUP), so the document engine is stopped and its files removed.
void EndOnTerminationSignals(Program& program);

}  // namespace pendrel::programs
