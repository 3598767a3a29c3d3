#pragma once
// What Word recorded about a .doc when it saved it: the program that wrote it and the page
// count (the document's SummaryInformation property set), and whether it holds embedded
// objects (OLE objects in its ObjectPool).
#include <string>

namespace pendrel::bench {

struct WordSummary {
    std::string application;  // PIDSI_APPNAME, "" when not recorded
    int pages = 0;            // PIDSI_PAGECOUNT, 0 when not recorded
    int embeddedObjects = 0;
};

WordSummary ReadWordSummary(const std::string& path);

}  // namespace pendrel::bench
