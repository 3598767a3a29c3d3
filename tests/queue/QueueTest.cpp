#include "queue/Queue.h"

#include <gtest/gtest.h>

namespace pendrel {
namespace {

TEST(DocEnding, LooksOnlyAtTheLastThreeCharactersWhateverTheirCase) {
    for (const char* path : {"X.DOC", "notes.adoc", "mydoc", "doc", "/home/ana/Отчёт.Doc"})
        EXPECT_TRUE(Queue::HasDocEnding(path)) << path;
    for (const char* path : {"Report.docx", "", "oc", "/x/doc/", "résumé.dÖc"})
        EXPECT_FALSE(Queue::HasDocEnding(path)) << path;
}

}  // namespace
}  // namespace pendrel
