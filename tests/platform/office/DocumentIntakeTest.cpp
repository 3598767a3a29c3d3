// How a document enters the pool: its kind and size are read from the user's file before a
// byte is copied; the copy runs beside the pool's other work, within the load limit; and the
// render is tied to the file's version, change time included.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/office/pool/DocumentCopy.h"
#include "tests/platform/office/PoolRig.h"

namespace pendrel::office::testing {
namespace {

// A rich-text file that says it holds `bytes`, nearly all of them a hole: no disk is used.
std::string SparseDocument(const std::string& path, std::uint64_t bytes,
                           const std::string& firstLine = "plain") {
    WriteFile(path, "{\\rtf1 " + firstLine + "\n");
    EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(bytes)), 0);
    return path;
}

const auto NoDeadline = std::chrono::steady_clock::time_point::max();

TEST(DocumentIntake, WhatIsNoWordDocumentIsRefusedBeforeAByteIsCopied) {
    TempFolder folder;
    WriteFile(folder / "text.doc", "just some text\n");
    WriteFile(folder / "empty.doc", "");
    std::filesystem::create_directory(folder / "folder.doc");
    SparseDocument(folder / "huge.doc", 8ull << 30);
    SparseDocument(folder / "largest.doc", 512ull << 20);
    const std::pair<std::string, DocumentCopy::Status> cases[]{
        {"text.doc", DocumentCopy::Status::NotWord},
        {"empty.doc", DocumentCopy::Status::NotWord},
        {"folder.doc", DocumentCopy::Status::NotAFile},
        {"huge.doc", DocumentCopy::Status::TooLarge},
        {"missing.doc", DocumentCopy::Status::Missing},
    };
    for (const auto& [name, status] : cases) {
        const auto soon = std::chrono::steady_clock::now() + 2s;
        EXPECT_EQ(CopyDocument(folder / name, folder / "copy", soon).status, status) << name;
        EXPECT_FALSE(std::filesystem::exists(folder / "copy")) << name;
    }
    EXPECT_EQ(CopyDocument(folder / "empty.doc", folder / "copy", NoDeadline).kind,
              FileKind::Empty);
    // The largest a Word document can be is let through.
    const DocumentCopy largest = CopyDocument(folder / "largest.doc", folder / "copy", NoDeadline);
    EXPECT_EQ(largest.status, DocumentCopy::Status::Copied);
    EXPECT_EQ(largest.identity.size, 512ull << 20);
    EXPECT_EQ(std::filesystem::file_size(folder / "copy"), 512ull << 20);
}

TEST(DocumentIntake, ACopyPastItsDeadlineOrToldToStopLeavesNothing) {
    TempFolder folder;
    const std::string big = SparseDocument(folder / "big.doc", 256ull << 20);
    const auto past = std::chrono::steady_clock::now() - 1ms;
    EXPECT_EQ(CopyDocument(big, folder / "copy", past).status, DocumentCopy::Status::TimedOut);
    EXPECT_FALSE(std::filesystem::exists(folder / "copy"));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(CopyDocument(big, folder / "copy", NoDeadline, stop.get_token()).status,
              DocumentCopy::Status::Stopped);
    EXPECT_FALSE(std::filesystem::exists(folder / "copy"));
}

TEST(DocumentIntake, AnEditOfTheSameSizeWithItsModificationTimeSetBackIsAnotherVersion) {
    TempFolder folder;
    const std::string path = folder / "a.doc";
    WriteFile(path, "{\\rtf1 first}");
    const auto before = IdentityOf(path);
    ASSERT_TRUE(before);
    std::this_thread::sleep_for(20ms);
    WriteFile(path, "{\\rtf1 other}");
    const timespec times[2]{{before->modifiedSeconds, before->modifiedNanoseconds},
                            {before->modifiedSeconds, before->modifiedNanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const auto after = IdentityOf(path);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->size, before->size);
    EXPECT_EQ(after->modifiedSeconds, before->modifiedSeconds);
    EXPECT_EQ(after->modifiedNanoseconds, before->modifiedNanoseconds);
    EXPECT_NE(*after, *before);
}

// An 8 GB document beside a document that swells its helper, and a large one that takes a
// while to copy: the first is refused at once with the bound in its message, the swelling
// helper is stopped at the ceiling while the copy runs, and the rest convert.
TEST(DocumentIntake, AHugeFileAndAMemoryHogSideBySideHoldTheirLimits) {
    PoolRig rig;
    HelperLimits limits;
    limits.memory = 256ull << 20;
    BatchRig batch(FakeHelper(), 2, limits);
    const std::string huge = SparseDocument(rig.temp / "huge.doc", 8ull << 30, "huge");
    const std::string large = SparseDocument(rig.temp / "large.doc", 400ull << 20, "large");
    batch.Queue(
        {huge, rig.Document("hog.doc", "swell 400"), large, rig.Document("plain.doc", "plain")});
    const auto started = std::chrono::steady_clock::now();
    batch.Convert();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Queued", "Queued", "Done", "Done"}));
    ASSERT_EQ(batch.Messages().size(), 2u);
    EXPECT_NE(batch.Messages()[0].find("larger than 512 MB"), Text::npos) << batch.Messages()[0];
    EXPECT_NE(batch.Messages()[1].find("more than 256 MB of memory"), Text::npos)
        << batch.Messages()[1];
    for (const auto& [pid, line] : rig.Loads()) EXPECT_NE(line, "huge");
    EXPECT_EQ(ReadFile(rig.temp / "large.pdf"), "%PDF-1.4 large\n");
}

}  // namespace
}  // namespace pendrel::office::testing
