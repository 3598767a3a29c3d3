#include "queue/AddFolder.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using Texts = std::vector<Text>;

// Level by level, each level grouped by parent in the listing's order (by name here); Word's
// lock files ("~" first) are left out, hidden files are not, hidden folders are not entered;
// a folder named like a document is entered, not queued; one that cannot be listed adds
// nothing. (Links back to a folder are followed once: see the POSIX lister's test.)
TEST(AddFolder, QueuesEveryDocumentBelowTheFolderLevelByLevelButWordsLockFiles) {
    fakes::FakeForm f;
    for (const char* path :
         {"/t/a.doc", "/t/report~.doc", "/t/REPORT.DOC", "/t/.hidden.doc", "/t/~old/x.doc",
          "/t/x.doc/z.doc", "/t/e1/e2/deep.doc", "/t/B/2.doc", "/t/B/D/4.doc", "/t/C/3.doc",
          "/t/~$a.doc", "/t/~report.doc", "/t/notes.docx", "/t/.secret/y.doc", "/t/locked/2.doc"})
        f.files.Add(path);
    f.files.unlistable.insert("/t/locked");
    f.check4.UserClick();  // the browser cancelled
    EXPECT_TRUE(f.list.items.empty());

    f.folderBrowser.nextResult = "/t";
    f.check4.UserClick();
    EXPECT_EQ(f.list.Texts(), (Texts{"/t/.hidden.doc", "/t/REPORT.DOC", "/t/a.doc",
                                     "/t/report~.doc", "/t/B/2.doc", "/t/C/3.doc", "/t/x.doc/z.doc",
                                     "/t/~old/x.doc", "/t/B/D/4.doc", "/t/e1/e2/deep.doc"}));
    EXPECT_EQ(f.list.Statuses(), Texts(10, "Queued"));
    EXPECT_TRUE(f.messages.shown.empty());
}

// What the lister reports with a problem is not queued but named once the rest is queued, its
// undecodable bytes shown; a lock file with a problem is still left out silently.
TEST(AddFolder, WhatCannotBeAddedIsNamedInOneMessageAfterTheScan) {
    fakes::FakeForm f;
    f.files.Add("/t/ok.doc");
    f.files.Add("/t/caf\xE9.doc", "its name is not valid text");
    f.files.Add("/t/~$caf\xE9.doc", "its name is not valid text");
    f.files.Add("/t/deep\xFF/x.doc");
    f.files.problems["/t/deep\xFF"] = "its path is too long";
    f.folderBrowser.nextResult = "/t";
    f.check4.UserClick();
    EXPECT_EQ(f.list.Texts(), Texts{"/t/ok.doc"});
    EXPECT_EQ(f.messages.Texts(),
              Texts{"These could not be added:\n\n"
                    "/t/deep\\xFF/ (a folder whose documents cannot be added: its path is too "
                    "long)\n/t/caf\\xE9.doc (its name is not valid text)"});
}

}  // namespace
}  // namespace pendrel
