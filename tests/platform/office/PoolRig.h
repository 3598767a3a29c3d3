#pragma once
// What the pool's tests share: a folder for the documents the stand-in helper is given
// (FakeOfficeHelper.cpp: what each does is its first line), a log of what each helper loaded,
// and the spool kept inside the folder.
#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/platform/office/OfficeTestSupport.h"

namespace pendrel::office::testing {

using namespace std::chrono_literals;

struct PoolRig {
    PoolRig() {
        ::setenv("FAKE_OFFICE_LOG", log.c_str(), 1);
        ::setenv("TMPDIR", (temp / "tmp").c_str(), 1);
        std::filesystem::create_directory(temp / "tmp");
    }
    ~PoolRig() {
        ::unsetenv("FAKE_OFFICE_LOG");
        ::unsetenv("TMPDIR");
    }
    // Rich text, which the pool passes, that tells the stand-in helper what to do.
    std::string Document(const std::string& name, const std::string& firstLine) {
        WriteFile(temp / name, "{\\rtf1 " + firstLine + "\n");
        return temp / name;
    }
    // "<pid> <first line>" for every document a helper loaded, in order.
    std::vector<std::pair<pid_t, std::string>> Loads() const {
        std::vector<std::pair<pid_t, std::string>> loads;
        std::istringstream lines(ReadFile(log));
        for (std::string line; std::getline(lines, line);)
            loads.emplace_back(std::stoi(line), line.substr(line.find(' ') + 1));
        return loads;
    }
    std::vector<std::string> Spooled() const { return FilesBelow(temp / "tmp"); }

    TempFolder temp;
    std::string log = temp / "loads.log";
};

template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = 10s) {
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms))
        if (condition()) return true;
    return condition();
}

}  // namespace pendrel::office::testing
