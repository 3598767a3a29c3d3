// The compound-file reader on files damaged where fuzzing seldom reaches: chains that loop,
// sector numbers past the end, a mini stream that claims more than it holds.
#include <gtest/gtest.h>

#include "platform/office/formats/CompoundFile.h"
#include "tests/platform/office/formats/CraftedFiles.h"

namespace pendrel::office {
namespace {

using crafted::CompoundFileBuilder;
using crafted::EndOfChain;
using crafted::Reader;
using crafted::WordFile;

std::optional<CompoundFile> Open(const CompoundFileBuilder& file, std::uint64_t fileSize = 0) {
    const std::string bytes = file.Bytes();
    return CompoundFile::Open(std::max<std::uint64_t>(fileSize, bytes.size()),
                              Reader(bytes, fileSize));
}

TEST(CompoundFile, ReadsStreamsFromTheMiniStreamAndFromChainsOfSectors) {
    const auto file = Open(WordFile());
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->StreamNames(), (std::vector<std::u16string>{u"WordDocument", u"1Table"}));
    EXPECT_EQ(file->StreamStart(u"WordDocument", 4), std::string("\xEC\xA5\xC1\x00", 4));
    EXPECT_EQ(file->StreamStart(u"WORDDOCUMENT", 100),
              std::string("\xEC\xA5\xC1\x00\x11\x22\x33\x44", 8));
    const auto table = file->StreamStart(u"1table", 1000);
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->size(), 1000u);
    EXPECT_EQ((*table)[511], 4);  // the chain's first sector, then the next
    EXPECT_EQ((*table)[512], 5);
    EXPECT_EQ(file->StreamStart(u"1Table", 9999)->size(), 4096u);
    EXPECT_EQ(file->StreamFileOffset(u"WordDocument"), 2048u);  // mini sector 0 of sector 3
    EXPECT_EQ(file->StreamFileOffset(u"1Table"), 2560u);
    EXPECT_FALSE(file->StreamStart(u"Data", 4).has_value());
}

TEST(CompoundFile, AChainThatLoopsEndsInNothingRatherThanTheSameBytesAgain) {
    CompoundFileBuilder stream = WordFile();
    stream.Link(5, 4);  // 4 -> 5 -> 4 ...
    const auto file = Open(stream);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->StreamStart(u"1Table", 1024)->size(), 1024u);  // what comes before the loop
    EXPECT_FALSE(file->StreamStart(u"1Table", 4096).has_value());

    CompoundFileBuilder mini = WordFile();
    mini.AddEntry(u"Small", 2, 0, 200);  // shares WordDocument's mini sector, then loops
    mini.LinkMini(0, 0);
    EXPECT_FALSE(Open(mini)->StreamStart(u"Small", 200).has_value());

    CompoundFileBuilder directory = WordFile();
    directory.Link(1, 1);  // the directory's own chain names itself
    EXPECT_FALSE(Open(directory).has_value());
}

TEST(CompoundFile, SectorNumbersPastTheEndOfTheFileReadNothing) {
    CompoundFileBuilder stream = WordFile();
    stream.AddEntry(u"Far", 2, 1000, 5000);
    const auto file = Open(stream);
    ASSERT_TRUE(file.has_value());
    EXPECT_FALSE(file->StreamStart(u"Far", 4).has_value());
    EXPECT_FALSE(file->StreamFileOffset(u"Far").has_value());

    CompoundFileBuilder chain = WordFile();
    chain.Link(5, 100000);  // the second sector names one far past the end
    EXPECT_EQ(Open(chain)->StreamStart(u"1Table", 1024)->size(), 1024u);
    EXPECT_FALSE(Open(chain)->StreamStart(u"1Table", 1500).has_value());

    CompoundFileBuilder directory = WordFile();
    directory.Put32(0x30, 70000);
    EXPECT_FALSE(Open(directory).has_value());

    CompoundFileBuilder fat = WordFile();
    fat.Put32(0x4C, 0xFFFFFFFA);  // the last regular sector number, far past this file
    EXPECT_FALSE(Open(fat).has_value());
}

TEST(CompoundFile, AMiniStreamLargerThanItsContainerReadsOnlyWhatItHolds) {
    CompoundFileBuilder beyond = WordFile();
    beyond.SetRoot(3, 1 << 20);  // claims a megabyte; its chain is the one sector
    beyond.AddEntry(u"Beyond", 2, 40, 64);
    const auto opened = Open(beyond);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->StreamStart(u"WordDocument", 4), std::string("\xEC\xA5\xC1\x00", 4));
    EXPECT_FALSE(opened->StreamStart(u"Beyond", 4).has_value());
    EXPECT_FALSE(opened->StreamFileOffset(u"Beyond").has_value());

    CompoundFileBuilder runs = WordFile();
    runs.SetRoot(3, 1 << 20);
    runs.AddEntry(u"Runs", 2, 0, 200);  // starts in the sector, runs on past it
    runs.LinkMini(0, 1);
    runs.LinkMini(1, 2);
    runs.LinkMini(2, 40);
    EXPECT_FALSE(Open(runs)->StreamStart(u"Runs", 200).has_value());
    EXPECT_EQ(Open(runs)->StreamStart(u"Runs", 192)->size(), 192u);  // its three mini sectors
}

TEST(CompoundFile, AFileLargerThanTheHeadersFatListFindsTheRestThroughDifatSectors) {
    // Sector 13,955 is the first whose FAT entry is not in the 109 FAT sectors the header
    // lists: DIFAT sector 12 says FAT sector 13 holds it. The file is 7 MB, mostly zeros.
    constexpr std::uint32_t far = 109 * 128 + 3;
    CompoundFileBuilder file = WordFile();
    file.Link(4, far);  // 1Table: sector 4, the far one, then sector 5
    file.Link(5, EndOfChain);
    file.Put32(0x44, 12);
    file.Put32(0x48, 1);
    file.Put(12, 0, std::string(512, '\xFF'));
    file.Put32(13 * 512, 13);
    file.Put32(13 * 512 + 127 * 4, EndOfChain);
    file.Put(13, 0, std::string(512, '\xFF'));
    file.Put32(14 * 512 + 3 * 4, 5);
    const std::uint64_t size = 512ull * (far + 2);
    const auto opened = Open(file, size);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->StreamStart(u"1Table", 1536),
              std::string(512, '\x04') + std::string(512, '\0') + std::string(512, '\x05'));
    EXPECT_FALSE(opened->StreamStart(u"1Table", 1537).has_value());  // the chain ends there

    file.Put32(13 * 512, 0xFFFFFFFF);  // the DIFAT lists no FAT sector there
    EXPECT_FALSE(Open(file, size)->StreamStart(u"1Table", 1536).has_value());
}

TEST(CompoundFile, DirectoryEntriesThatNameEachOtherAreReadOnceEach) {
    CompoundFileBuilder file = WordFile();
    // The directory's tree: each entry's siblings and child name the other, and the root.
    const std::size_t word = 512 * 2 + 128, table = 512 * 2 + 256;
    for (const std::size_t field : {0x44, 0x48, 0x4C}) {
        file.Put32(512 * 2 + field, 1);
        file.Put32(word + field, 2);
        file.Put32(table + field, 1);
    }
    const auto opened = Open(file);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->StreamNames(), (std::vector<std::u16string>{u"WordDocument", u"1Table"}));
}

TEST(CompoundFile, AHeaderThatIsNotACompoundFilesIsRefused) {
    const std::string good = WordFile().Bytes();
    EXPECT_FALSE(CompoundFile::Open(511, Reader(good.substr(0, 511))).has_value());
    for (const auto& [offset, value] : {std::pair{0x1E, 10}, {0x1E, 16}, {0x20, 7}}) {
        std::string bad = good;
        bad[offset] = static_cast<char>(value);
        EXPECT_FALSE(CompoundFile::Open(bad.size(), Reader(bad)).has_value()) << offset;
    }
    std::string notRoot = good;
    notRoot[512 * 2 + 0x42] = 1;  // the first entry a storage, not the root
    EXPECT_FALSE(CompoundFile::Open(notRoot.size(), Reader(notRoot)).has_value());
}

}  // namespace
}  // namespace pendrel::office
