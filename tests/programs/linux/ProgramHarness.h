#pragma once
// The whole program as pendrel builds it, on the offscreen platform: the real window, folder
// scan and engine, with the dialogs answered by the test and the messages recorded.
#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "programs/linux/PendrelProgram.h"
#include "queue/Queue.h"
#include "tests/platform/office/OfficeTestSupport.h"
#include "tests/support/TestDocuments.h"

namespace pendrel::testing {

using office::testing::Exists;
using office::testing::FilesBelow;
using office::testing::PdfImages;
using office::testing::PdfPages;
using office::testing::PdfText;
using office::testing::ReadFile;
using office::testing::TempFolder;
using office::testing::WriteFile;

struct ProgramHarness {
    ProgramHarness() {
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

    programs::PendrelProgram program{PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE};
};

inline std::string CopyTo(const std::string& from, const std::filesystem::path& to) {
    std::filesystem::create_directories(to.parent_path());
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return to.string();
}

inline std::string PdfOf(const std::string& document) {
    return document.substr(0, document.size() - 3) + "pdf";
}

}  // namespace pendrel::testing
