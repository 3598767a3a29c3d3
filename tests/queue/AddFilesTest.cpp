#include "queue/AddFiles.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using namespace std::string_literals;
using Texts = std::vector<Text>;

// The dialog's result: one path as it stands, or a folder and then NUL-separated names in the
// dialog's order, each joined to the folder with a separator (a root's doubled); only names
// ending in "doc" are queued; an empty result adds nothing.
TEST(AddFiles, EachShapeOfTheDialogsResultQueuesItsDocumentsInOrder) {
    struct Case {
        char separator;
        Text result;
        Texts queued;
    };
    for (const Case& c : std::vector<Case>{
             {'\\', "C:\\Docs\\Report.doc", {"C:\\Docs\\Report.doc"}},
             {'\\', "C:\\Docs\0b.doc\0A.DOC\0c.txt"s, {"C:\\Docs\\b.doc", "C:\\Docs\\A.DOC"}},
             {'\\', "C:\\\0a.doc"s, {"C:\\\\a.doc"}},
             {'/', "/d\0notes.adoc\0\0x.docx"s, {"/d/notes.adoc"}},
             {'/', "", {}},
         }) {
        fakes::FakeForm f;
        f.files.separator = c.separator;
        f.dialog.nextResult = c.result;
        f.check1.UserClick();
        EXPECT_EQ(f.list.Texts(), c.queued) << c.result;
        EXPECT_EQ(f.list.Statuses(), Texts(c.queued.size(), "Queued"));
    }
}

}  // namespace
}  // namespace pendrel
