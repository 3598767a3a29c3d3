#pragma once
// pendrel --convert: the batch without a window, assembled from the POSIX file system and
// folder listing, the embedded engine's pool and the console. No application object is made
// and no window system is loaded, so it runs over ssh, from cron or in a container.
#include <vector>

#include "platform/Text.h"
#include "programs/linux/CommandLine.h"

namespace pendrel::programs {

// Runs the batch and returns the program's exit status (see commandline::ConvertStatus).
// paths: as given, byte for byte; programFolder: where the engine's helper is looked for.
int ConvertWithoutWindow(const ConvertRequest& request, const std::vector<Text>& paths,
                         const Text& programFolder);

}  // namespace pendrel::programs
