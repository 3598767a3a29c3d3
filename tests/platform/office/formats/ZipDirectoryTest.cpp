// The ZIP directory reader on ZIPs whose records lie about where and how large things are.
#include <gtest/gtest.h>

#include "platform/office/formats/ZipDirectory.h"
#include "tests/platform/office/formats/CraftedFiles.h"

namespace pendrel::office {
namespace {

using crafted::Reader;
using crafted::Zip;
using crafted::ZipEntry;
using crafted::ZipLies;

const std::string OdtType = "application/vnd.oasis.opendocument.text";

std::optional<ZipDirectory> Read(const std::string& bytes) {
    return ZipDirectory::Read(bytes.size(), Reader(bytes));
}

std::vector<ZipEntry> Odt() {
    return {{"mimetype", OdtType}, {"content.xml", "<office:document/>", 8}};
}

TEST(ZipDirectory, ReadsTheNamesAndTheStoredEntries) {
    const auto zip = Read(Zip(Odt()));
    ASSERT_TRUE(zip.has_value());
    EXPECT_TRUE(zip->Has("content.xml"));
    EXPECT_FALSE(zip->Has("content"));
    EXPECT_TRUE(zip->HasUnder("content"));
    EXPECT_FALSE(zip->HasUnder("word/"));
    EXPECT_EQ(zip->Stored("mimetype", 128), OdtType);
    EXPECT_EQ(zip->Stored("mimetype", 11), "application");
    EXPECT_FALSE(zip->Stored("content.xml", 128).has_value());  // compressed
    EXPECT_FALSE(zip->Stored("styles.xml", 128).has_value());

    // After a comment of the most bytes a ZIP allows, the end record is still found.
    std::string commented = Zip(Odt());
    commented.replace(commented.size() - 2, 2, "\xFF\xFF");
    commented += std::string(0xFFFF, 'c');
    ASSERT_TRUE(Read(commented).has_value());
    EXPECT_EQ(Read(commented)->Stored("mimetype", 128), OdtType);
}

TEST(ZipDirectory, ADirectoryThatLiesAboutItsSizeOrPlaceIsNoZip) {
    const std::string good = Zip(Odt());
    EXPECT_FALSE(Read(Zip(Odt(), {.directorySize = 0x10000})).has_value());
    EXPECT_FALSE(Read(Zip(Odt(), {.directoryOffset = 0xFFFFFFF0})).has_value());
    EXPECT_FALSE(
        Read(Zip(Odt(), {.directoryOffset = static_cast<std::uint32_t>(good.size())})).has_value());
    // Off by some bytes: no entry where it says, so nothing is read.
    EXPECT_FALSE(Read(Zip(Odt(), {.directoryOffset = 3})).has_value());
    EXPECT_FALSE(Read(good.substr(0, good.size() - 1)).has_value());  // end record cut short
    EXPECT_FALSE(Read("PK\x05\x06").has_value());
}

TEST(ZipDirectory, EntriesThatLieAreLeftOutOrReadNothing) {
    // More entries claimed than there are: the ones there are read.
    const auto more = Read(Zip(Odt(), {.count = 0xFFFF}));
    ASSERT_TRUE(more.has_value());
    EXPECT_TRUE(more->Has("content.xml"));
    EXPECT_FALSE(Read(Zip(Odt(), {.count = 0})).has_value());
    // A name running past the end of the directory ends the reading there.
    EXPECT_FALSE(Read(Zip(Odt(), {.nameLength = 0xFFFF})).has_value());

    const std::string big = Zip(Odt(), {.entrySize = 0xFFFFFFFF});
    EXPECT_FALSE(Read(big)->Stored("mimetype", 0x10000).has_value());
    EXPECT_EQ(Read(big)->Stored("mimetype", 4), "appl");  // what there is, it reads
    EXPECT_FALSE(Read(Zip(Odt(), {.localHeader = 0xFFFFFF00}))->Stored("mimetype", 4).has_value());
    EXPECT_FALSE(Read(Zip(Odt(), {.localHeader = 2}))->Stored("mimetype", 4).has_value());
}

}  // namespace
}  // namespace pendrel::office
