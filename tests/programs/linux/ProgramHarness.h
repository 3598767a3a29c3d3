#pragma once
// The whole program as pendrel builds it, on the offscreen platform: the real window, folder
// scan and engine, with the dialogs answered by the test and the messages recorded.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <map>

#include "programs/linux/PendrelProgram.h"
#include "queue/Queue.h"
#include "tests/platform/office/OfficeTestSupport.h"
#include "tests/support/TestDocuments.h"

namespace pendrel::testing {

using namespace office::testing;

struct ProgramHarness {
    explicit ProgramHarness(const programs::SandboxSettings& sandbox = {})
        : program(PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE, 0, sandbox) {
        program.messageBoxes.setAutoAnswer(true);
        program.form.Form_Load();
        program.window.show();
    }

    // ADD FOLDER, with the folder browser answered.
    void AddFolder(const std::string& folder) {
        program.folderBrowser.setNextDirectory(QString::fromStdString(folder));
        program.window.check4().SetValue(1);
    }
    // CONVERT TO PDF: returns when the run has ended.
    void Convert() { program.window.check2().SetValue(1); }

    std::map<std::string, std::string> Statuses() {
        std::map<std::string, std::string> statuses;
        auto& list = program.window.listView1();
        for (std::size_t i = 1; i <= list.ItemCount(); ++i)
            statuses[list.ItemText(i)] = list.SubItem(i, Queue::StatusColumn);
        return statuses;
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const auto& shown : program.messageBoxes.shown()) texts.push_back(shown.text);
        return texts;
    }
    // Whether a message said all of the words.
    bool Said(const std::vector<std::string>& words) {
        const auto messages = Messages();
        return std::any_of(messages.begin(), messages.end(), [&](const std::string& message) {
            return std::all_of(words.begin(), words.end(), [&](const std::string& w) {
                return message.find(w) != std::string::npos;
            });
        });
    }

    programs::PendrelProgram program;
};

}  // namespace pendrel::testing
