// What the sniffer calls a file, from its bytes alone.
#include <gtest/gtest.h>

#include "platform/office/formats/DocumentSniffer.h"
#include "tests/platform/office/formats/CraftedFiles.h"

namespace pendrel::office {
namespace {

using crafted::CompoundFileBuilder;
using crafted::Reader;
using crafted::WordFile;
using crafted::Zip;

FileKind Sniff(const std::string& bytes) {
    return SniffBytes(bytes.size(), Reader(bytes));
}

// The Word document with its WordDocument stream renamed, or its header changed.
std::string Renamed(const std::u16string& name) {
    CompoundFileBuilder file = WordFile();
    file.AddEntry(name, 2, 0, 8);
    std::string bytes = file.Bytes();
    bytes[512 * 2 + 128 + 0x42] = 1;  // WordDocument a storage: no longer the stream
    return bytes;
}

TEST(SniffBytes, WordsOwnFormatsAndTheTextFormatsWordOpensAreWord) {
    EXPECT_EQ(Sniff(WordFile().Bytes()), FileKind::Word);
    EXPECT_EQ(Sniff(Zip({{"[Content_Types].xml", ""}, {"word/document.xml", ""}})), FileKind::Word);
    EXPECT_EQ(Sniff(Zip({{"mimetype", "application/vnd.oasis.opendocument.text"}})),
              FileKind::Word);
    EXPECT_EQ(Sniff("{\\rtf1\\ansi Hello}"), FileKind::Word);
    EXPECT_EQ(Sniff(std::string("\xA5\xDB\x2D\x00", 4) + std::string(300, '\0')), FileKind::Word);
    EXPECT_EQ(Sniff(std::string("\x31\xBE\x00\x00", 4) + std::string(300, '\0')), FileKind::Word);
}

TEST(SniffBytes, OtherOfficeFilesAndAnythingElseAreNot) {
    EXPECT_EQ(Sniff(""), FileKind::Empty);
    EXPECT_EQ(Sniff(Renamed(u"Workbook")), FileKind::Spreadsheet);
    EXPECT_EQ(Sniff(Renamed(u"POWERPOINT DOCUMENT")), FileKind::Presentation);
    EXPECT_EQ(Sniff(Zip({{"xl/workbook.xml", ""}})), FileKind::Spreadsheet);
    EXPECT_EQ(Sniff(Zip({{"ppt/presentation.xml", ""}})), FileKind::Presentation);
    EXPECT_EQ(Sniff(Zip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}})),
              FileKind::Spreadsheet);
    EXPECT_EQ(Sniff(Zip({{"readme.txt", "hello"}})), FileKind::NotWord);
    EXPECT_EQ(Sniff("{"), FileKind::NotWord);
    EXPECT_EQ(Sniff("PK\x03\x04"), FileKind::NotWord);
    EXPECT_EQ(Sniff(WordFile().Bytes().substr(0, 1024)), FileKind::NotWord);  // cut short

    // Word's header in WordDocument: its magic number, and a version Word wrote.
    for (const auto& [header, kind] :
         {std::pair{std::string("\xEC\xA5\x65\x00", 4), FileKind::Word},
          {std::string("\xEC\xA5\x64\x00", 4), FileKind::NotWord},
          {std::string("\xEC\xA5\xFF\x01", 4), FileKind::Word},
          {std::string("\xEC\xA5\x00\x02", 4), FileKind::NotWord},
          {std::string("\xEC\xA4\xC1\x00", 4), FileKind::NotWord}}) {
        CompoundFileBuilder file = WordFile();
        file.Put(3, 0, header);
        EXPECT_EQ(Sniff(file.Bytes()), kind) << header;
    }
}

}  // namespace
}  // namespace pendrel::office
