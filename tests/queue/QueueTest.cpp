#include "queue/Queue.h"

#include <gtest/gtest.h>

namespace pendrel {
namespace {

TEST(DocEnding, LooksOnlyAtTheLastThreeCharacters) {
    for (const char* path :
         {"C:\\Docs\\Report.doc", "X.DOC", "notes.adoc", "mydoc", "doc", "/home/ana/Отчёт.Doc"})
        EXPECT_TRUE(Queue::HasDocEnding(path)) << path;
    for (const char* path : {"Report.docx", "a.txt", "", "oc", "/x/doc/", "résumé.dÖc"})
        EXPECT_FALSE(Queue::HasDocEnding(path)) << path;
}

}  // namespace
}  // namespace pendrel
