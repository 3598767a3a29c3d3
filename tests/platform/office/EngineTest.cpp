// The real helper on the documents the tests make: good ones become the right PDFs, bad ones
// fail with their reason, and the helper works in its sandbox and leaves nothing behind.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>

#include <fstream>
#include <random>

#include "platform/office/OfficeErrors.h"
#include "tests/platform/office/OfficeTestSupport.h"
#include "tests/support/TestDocuments.h"

namespace pendrel::office::testing {
namespace {

using pendrel::testing::DocumentPath;
using pendrel::testing::Standard;
using pendrel::testing::StandardDocuments;

std::string Copy(const std::string& from, const std::string& to) {
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return to;
}

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

// A Word document whose WordDocument stream is given another name, which makes it the
// compound file of another program.
std::string Renamed(const std::string& document, const std::u16string& streamName) {
    std::string bytes = ReadFile(document);
    std::u16string word = u"WordDocument";
    const std::string needle(reinterpret_cast<const char*>(word.data()), word.size() * 2);
    const auto at = bytes.find(needle);
    EXPECT_NE(at, std::string::npos);
    std::string name(64, '\0');
    std::copy_n(reinterpret_cast<const char*>(streamName.data()), streamName.size() * 2,
                name.data());
    bytes.replace(at, 64, name);
    const auto length = static_cast<std::uint16_t>((streamName.size() + 1) * 2);
    bytes[at + 64] = static_cast<char>(length & 0xFF);
    bytes[at + 65] = static_cast<char>(length >> 8);
    return bytes;
}

// A ZIP holding one empty entry under name: enough to look like an Office Open XML file.
std::string ZipWith(const std::string& name) {
    const auto u16 = [](std::size_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    const auto u32 = [&](std::size_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
    const std::string local = "PK\x03\x04" + u16(20) + u16(0) + u16(0) + u32(0) + u32(0) + u32(0) +
                              u32(0) + u16(name.size()) + u16(0) + name;
    const std::string central = "PK\x01\x02" + u16(20) + u16(20) + u16(0) + u16(0) + u32(0) +
                                u32(0) + u32(0) + u32(0) + u16(name.size()) + u16(0) + u16(0) +
                                u16(0) + u16(0) + u32(0) + u32(0) + name;
    return local + central + "PK\x05\x06" + u16(0) + u16(0) + u16(1) + u16(1) +
           u32(central.size()) + u32(local.size()) + u16(0);
}

TEST(Engine, TheTestDocumentsBecomeTheirPdfsAndNothingElseIsWrittenBesideThem) {
    TempFolder folder;
    BatchRig rig(RealHelper(), 2);
    std::vector<std::string> documents;
    for (const auto& d : StandardDocuments())
        documents.push_back(Copy(DocumentPath(d.name), folder / (d.name + " #1 ü.doc")));
    rig.Queue(documents);
    std::size_t lockFilesSeen = 0;
    rig.pump.onPump = [&] {
        for (const auto& file : FilesBelow(folder.Path()))
            lockFilesSeen += file.find(".~lock") == 0;
    };
    rig.Convert();
    EXPECT_EQ(rig.Statuses(), std::vector<Text>(documents.size(), "Done"));
    EXPECT_TRUE(rig.Messages().empty());
    for (const auto& d : StandardDocuments()) {
        const std::string pdf = folder / (d.name + " #1 ü.pdf");
        EXPECT_EQ(PdfPages(pdf), d.pages) << d.name;
        EXPECT_NE(PdfText(pdf).find(d.text), std::string::npos) << d.name;
    }
    EXPECT_EQ(PdfImages(folder / "image #1 ü.pdf"), 1);
    EXPECT_EQ(lockFilesSeen, 0u);
    EXPECT_EQ(FilesBelow(folder.Path()).size(), 2 * documents.size());
}

TEST(Engine, WhatIsNoWordDocumentFailsWithItsReasonAndTheRunGoesOn) {
    TempFolder folder;
    const std::string text = DocumentPath("text");
    const std::string good = ReadFile(text);
    const std::vector<std::pair<std::string, std::string>> made{
        {"empty.doc", ""},
        {"truncated.doc", good.substr(0, good.size() / 3)},
        {"random.doc", RandomBytes(20000, 7)},
        {"notes.doc", "Just some text, saved under a Word name.\n"},
        {"garbage.doc", good.substr(0, 512) + RandomBytes(8192, 9)},
        {"sheet.doc", Renamed(text, u"Workbook")},
        {"slides.doc", Renamed(text, u"PowerPoint Document")},
        {"sheet2.doc", ZipWith("xl/workbook.xml")},
    };
    for (const auto& [name, bytes] : made) WriteFile(folder / name, bytes);
    ASSERT_TRUE(pendrel::testing::MakeEncrypted(text, folder / "locked.doc"));
    const std::vector<std::pair<std::string, std::string>> expected{
        {"empty.doc", "The file is empty, not a Word document."},
        {"truncated.doc", "not a Word document"},
        {"random.doc", "The file is not a Word document."},
        {"notes.doc", "The file is not a Word document."},
        {"garbage.doc", "The file is not a Word document."},
        {"sheet.doc", "The file is a spreadsheet, not a Word document."},
        {"slides.doc", "The file is a presentation, not a Word document."},
        {"sheet2.doc", "The file is a spreadsheet, not a Word document."},
        {"locked.doc", "protected with a password"},
        {"gone.doc", "could not be found"},
    };
    BatchRig rig(RealHelper(), 2);
    for (const auto& [name, words] : expected) rig.Queue({folder / name});
    rig.Queue({Copy(text, folder / "good.doc")});
    rig.Convert();
    ASSERT_EQ(rig.Messages().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NE(rig.Messages()[i].find(expected[i].second), Text::npos) << rig.Messages()[i];
    EXPECT_EQ(rig.Statuses().back(), "Done");
    EXPECT_EQ(PdfPages(folder / "good.pdf"), 1);
    for (const auto& [name, words] : expected)
        EXPECT_FALSE(Exists(folder / (name.substr(0, name.size() - 3) + "pdf"))) << name;
}

// As root the test can read anything; without the right to override file permissions it reads
// like any user.
bool DropFileOverride() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        data[0].effective &= ~(1u << capability);
        data[0].permitted &= ~(1u << capability);
        data[0].inheritable &= ~(1u << capability);
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

TEST(Engine, AnUnreadableDocumentIsSaidToBeUnreadable) {
    ASSERT_TRUE(DropFileOverride());
    TempFolder folder;
    const std::string locked = Copy(DocumentPath("text"), folder / "private.doc");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    BatchRig rig(RealHelper(), 1);
    rig.Queue({locked});
    rig.Convert();
    ASSERT_EQ(rig.Messages().size(), 1u);
    EXPECT_NE(rig.Messages()[0].find("cannot be read (Permission denied)"), Text::npos)
        << rig.Messages()[0];
}

TEST(Engine, HelpersWorkInASandboxAndLeaveNoTemporaryFiles) {
    TempFolder temporary;
    ::setenv("TMPDIR", temporary.Path().c_str(), 1);
    {
        BatchRig rig(RealHelper(), 2);
        rig.engine.WarmUp();
        TempFolder folder;
        rig.Queue({Copy(DocumentPath("pages"), folder / "a.doc")});
        rig.Convert();
        ASSERT_EQ(rig.Statuses(), std::vector<Text>{"Done"});
        const auto pids = rig.engine.HelperPids();
        ASSERT_EQ(pids.size(), 2u);
        for (const int pid : pids) {
            for (const char* ns : {"net", "mnt"})
                EXPECT_NE(
                    std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/ns/" + ns),
                    std::filesystem::read_symlink(std::string("/proc/self/ns/") + ns))
                    << ns;
            // The user's folders are not there for it.
            EXPECT_FALSE(
                std::filesystem::exists("/proc/" + std::to_string(pid) + "/root" + folder.Path()));
        }
        EXPECT_FALSE(FilesBelow(temporary.Path()).empty()) << "the spool lives in TMPDIR";
    }
    ::unsetenv("TMPDIR");
    EXPECT_TRUE(FilesBelow(temporary.Path()).empty()) << "no spool, no LibreOffice temp folder";
}

}  // namespace
}  // namespace pendrel::office::testing
