#include "queue/AddFolder.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using Texts = std::vector<Text>;

// Add Folder with the folder browser picking folder; the queue afterwards.
Texts AddFolder(fakes::FakeForm& f, const Text& folder) {
    f.folderBrowser.nextResult = folder;
    f.check4.UserClick();
    return f.list.Texts();
}

TEST(AddFolder, GoesLevelByLevelEachLevelGroupedByParentInTheListingsOrder) {
    fakes::FakeForm f;
    const Texts made{"1.doc", "C/3.doc", "B/2.doc", "C/E/5.doc", "B/D/4.doc"};
    for (const Text& rel : made) f.folders.File(rel);
    EXPECT_EQ(AddFolder(f, "/t"), f.folders.Paths(made));
    EXPECT_EQ(f.list.Statuses(), Texts(5, "Queued"));
    EXPECT_TRUE(f.messages.shown.empty());

    // A root keeps its own separator and gains another.
    fakes::FakeForm w;
    w.folders = fakes::FakeDirectoryLister("C:\\", '\\');
    w.fileSystem.separator = '\\';
    w.folders.File("a.doc");
    w.folders.File("S/b.doc");
    EXPECT_EQ(AddFolder(w, "C:\\"), (Texts{"C:\\\\a.doc", "C:\\\\S\\b.doc"}));
}

// Word's lock files ("~" first) are left out, hidden files are not, hidden folders are not
// entered; a folder named like a document is entered, not queued; a folder that cannot be
// listed adds nothing. (Links back to a folder are followed once: see the POSIX lister's test.)
TEST(AddFolder, TakesEveryDocumentButWordsLockFiles) {
    fakes::FakeForm f;
    for (const char* rel : {"a.doc", "report~.doc", "REPORT.DOC", ".hidden.doc", "~old/x.doc",
                            "x.doc/z.doc", "e1/e2/deep.doc", "B/2.doc", "~$a.doc", "~report.doc",
                            "notes.docx", "readme.txt", ".secret/y.doc", "locked/2.doc"})
        f.folders.File(rel);
    f.folders.MakeUnlistable("locked");
    f.check4.UserClick();  // the browser cancelled
    EXPECT_TRUE(f.list.items.empty());
    EXPECT_EQ(AddFolder(f, "/t"),
              f.folders.Paths({"a.doc", "report~.doc", "REPORT.DOC", ".hidden.doc", "~old/x.doc",
                               "x.doc/z.doc", "B/2.doc", "e1/e2/deep.doc"}));
    EXPECT_TRUE(f.messages.shown.empty());
}

// What the lister reports with a problem is not queued but named, its undecodable bytes shown;
// a lock file with a problem is still left out silently.
TEST(AddFolder, WhatCannotBeAddedIsNamedInOneMessageAfterTheRestIsQueued) {
    fakes::FakeForm f;
    f.folders.File("ok.doc");
    f.folders.File("caf\xE9.doc", "its name is not valid text");
    f.folders.File("~$caf\xE9.doc", "its name is not valid text");
    f.folders.Folder("deep\xFF", "its path is too long");
    f.folders.File("deep\xFF/x.doc");
    EXPECT_EQ(AddFolder(f, "/t"), Texts{"/t/ok.doc"});
    EXPECT_EQ(f.messages.Texts(),
              Texts{"These could not be added:\n\n"
                    "/t/deep\\xFF/ (a folder whose documents cannot be added: its path is too "
                    "long)\n/t/caf\\xE9.doc (its name is not valid text)"});
}

}  // namespace
}  // namespace pendrel
