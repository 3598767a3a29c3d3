#include "queue/Queue.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeControls.h"

namespace pendrel {
namespace {

TEST(QueueAppend, AddsAtTheEndWithQueuedAndAllowsDuplicates) {
    fakes::FakeListView list;
    Queue::Append(list, "/docs/a.doc");
    Queue::Append(list, "/docs/a.doc");
    ASSERT_EQ(list.ItemCount(), 2u);
    EXPECT_EQ(list.ItemText(2), "/docs/a.doc");
    EXPECT_EQ(list.SubItem(1, 1), "Queued");
    EXPECT_EQ(list.SubItem(2, 1), "Queued");
}

TEST(DocEnding, LooksOnlyAtTheLastThreeCharacters) {
    for (const char* path : {"C:\\Docs\\Report.doc", "X.DOC", "notes.adoc", "mydoc", "doc",
                             "/home/ana/Отчёт.Doc"})
        EXPECT_TRUE(Queue::HasDocEnding(path)) << path;
    for (const char* path : {"Report.docx", "a.txt", "", "oc", "/x/doc/", "résumé.dÖc"})
        EXPECT_FALSE(Queue::HasDocEnding(path)) << path;
}

}  // namespace
}  // namespace pendrel
