// What a run that was cut off left beside documents, tidied: PDFs set aside are put back or,
// behind a newer PDF, removed; partial files go once their writer has ended.
#include "common/LeftBehind.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeDesktop.h"

namespace pendrel {
namespace {

using Files = std::map<Text, std::uint64_t>;

TEST(LeftBehind, AsidePdfsComeBackUnlessANewerPdfIsThereAndAbandonedPartialFilesGo) {
    fakes::FakeFiles f;
    f.files = {
        {"/d/a.doc", 1},
        {"/d/.a.pdf.pendrel-old", 11},  // no PDF since: put back
        {"/d/b.pdf", 22},
        {"/d/.b.pdf.pendrel-old", 12},  // a newer PDF came: removed
        {"/d/c.pdf", 23},
        {"/d/.c.pdf.pendrel-old", 13},        // the user's own file took the name: left hidden
        {"/d/.pendrel-4242-Ab12Cd.tmp", 14},  // its writer runs: left
        {"/d/.pendrel-4343-Ef34Gh.tmp", 15},  // its writer has ended: removed
        {"/d/.pendrel-Ij56Kl.tmp", 16},       // the earlier form, hours old: removed
        {"/d/.pendrel-x.pdf", 17},            // none of these are ours
        {"/d/.pendrel-old", 18},
        {"/d/notes.tmp", 19},
        {"/e/.e.pdf.pendrel-old", 20},  // another folder: untouched
    };
    f.starts["/d/c.pdf"] = "Meeting notes";
    f.hidden = {"/d/.a.pdf.pendrel-old", "/d/.b.pdf.pendrel-old", "/d/.c.pdf.pendrel-old"};
    f.running = {4242};

    LeftBehind::TidyBeside(f, f, {"/d/a.doc", "/d/zz.doc", "relative.doc"});
    EXPECT_EQ(f.files, (Files{{"/d/a.doc", 1},
                              {"/d/a.pdf", 11},
                              {"/d/b.pdf", 22},
                              {"/d/c.pdf", 23},
                              {"/d/.c.pdf.pendrel-old", 13},
                              {"/d/.pendrel-4242-Ab12Cd.tmp", 14},
                              {"/d/.pendrel-x.pdf", 17},
                              {"/d/.pendrel-old", 18},
                              {"/d/notes.tmp", 19},
                              {"/e/.e.pdf.pendrel-old", 20}}));
    EXPECT_EQ(f.hidden, std::set<Text>{"/d/.c.pdf.pendrel-old"}) << "shown again where put back";

    // One that cannot be moved now is left for the next time, and the rest are still tidied.
    f.files = {{"/d/.a.pdf.pendrel-old", 1}, {"/d/.z.pdf.pendrel-old", 2}};
    f.locked = {"/d/.a.pdf.pendrel-old"};
    LeftBehind::TidyFolder(f, f, "/d");
    EXPECT_EQ(f.files, (Files{{"/d/.a.pdf.pendrel-old", 1}, {"/d/z.pdf", 2}}));
}

}  // namespace
}  // namespace pendrel
