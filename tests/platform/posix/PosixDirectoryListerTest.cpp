#include "platform/posix/PosixDirectoryLister.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

#include "platform/posix/WildcardMatch.h"
#include "tests/queue/FolderTrees.h"

namespace pendrel {
namespace {

using posix::MatchesWildcard;

using Map = std::map<Text, std::uint32_t>;

Map Listed(DirectoryLister& lister, const Text& folder, const Text& pattern, std::uint32_t mask) {
    Map out;
    const auto listing = lister.List(folder, pattern, mask);
    for (const auto& e : listing.value()) out[e.name] = e.attributes;
    return out;
}

TEST(PosixDirectoryLister, MaskRulesAndDocumentPattern) {
    testing::OnDiskTree t;
    for (const char* rel : {"a.doc", "REPORT.DOC", ".h.doc", "a.docx", "x.doc/in.doc", ".hid/y"})
        t.File(rel);
    auto& lister = t.Lister();

    EXPECT_EQ(Listed(lister, t.Root() + "/", "*.doc", 6),
              (Map{{"a.doc", 0}, {"REPORT.DOC", 0}, {".h.doc", 2}}));
    // Folders: ordinary files always come too; a hidden folder does not.
    EXPECT_EQ(
        Listed(lister, t.Root(), "*", 16),
        (Map{
            {".", 16}, {"..", 16}, {"a.doc", 0}, {"REPORT.DOC", 0}, {"a.docx", 0}, {"x.doc", 16}}));
    EXPECT_FALSE(lister.List(t.Path("missing"), "*", 16).has_value());
}

TEST(PosixDirectoryLister, LinksFollowedAndWhatCannotBeQueuedLeftOut) {
    testing::OnDiskTree t;
    t.File("real/r.doc");
    t.Link("linked.doc", "real");
    ASSERT_EQ(::symlink("nowhere", t.Path("broken.doc").c_str()), 0);
    ASSERT_EQ(::mkfifo(t.Path("pipe.doc").c_str(), 0600), 0);
    t.File("\xff\xfe.doc");
    t.File("caf\xc3\xa9.doc");

    EXPECT_EQ(Listed(t.Lister(), t.Root(), "*.doc", 16 | 6),
              (Map{{"linked.doc", 16}, {"caf\xc3\xa9.doc", 0}}));
    EXPECT_EQ(t.Lister().FolderIdentity(t.Path("linked.doc")),
              t.Lister().FolderIdentity(t.Path("real") + "/"));
    EXPECT_NE(t.Lister().FolderIdentity(t.Root()), t.Lister().FolderIdentity(t.Path("real")));
    EXPECT_FALSE(t.Lister().FolderIdentity(t.Path("real/r.doc")).has_value());
    EXPECT_FALSE(t.Lister().FolderIdentity(t.Path("broken.doc")).has_value());
}

TEST(Wildcard, StarQuestionMarkAndCaseAsTheWindowsListingDoesOnWellFormedUtf8) {
    using Pairs = std::vector<std::pair<const char*, const char*>>;
    for (auto [name, pattern] : Pairs{{"a.doc", "*.doc"},
                                      {"REPORT.DOC", "*.doc"},
                                      {".doc", "*.doc"},
                                      {"x.doc.doc", "*.doc"},
                                      {"\xc3\xa9.doc", "?.doc"},
                                      {"\xc3\x84pfel", "\xc3\xa4*"},
                                      {"noext", "*.*"},
                                      {"abcbc", "a*bc"},
                                      {"axbyc", "a*b?c"}})
        EXPECT_TRUE(MatchesWildcard(name, pattern)) << name << " ~ " << pattern;
    for (auto [name, pattern] :
         Pairs{{"a.docx", "*.doc"}, {"adoc", "*.doc"}, {"ab.doc", "?.doc"}, {"abcb", "a*bc"}})
        EXPECT_FALSE(MatchesWildcard(name, pattern)) << name << " ~ " << pattern;
}

}  // namespace
}  // namespace pendrel
