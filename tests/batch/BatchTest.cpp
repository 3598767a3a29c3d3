// The batch without a window on in-memory fakes: which documents it plans and where their PDFs
// go, the shard each falls in, the report's lines, and the run: old PDFs kept or replaced,
// failures said and the batch going on, --update, the engine that cannot start, a stop.
#include <gtest/gtest.h>

#include "batch/BatchPlan.h"
#include "batch/HeadlessBatch.h"
#include "common/LeftBehind.h"
#include "convert/OldPdf.h"
#include "tests/fakes/FakeDesktop.h"

namespace pendrel::batch {
namespace {

using Texts = std::vector<Text>;

TEST(Shard, HashesTheBytesWithFnv1a64AndSplitsEveryPathExactlyOnce) {
    EXPECT_EQ(Fnv1a64(""), 0xcbf29ce484222325ull);
    EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(Fnv1a64("foobar"), 0x85944171f73967e8ull);
    for (std::uint64_t n : {1, 2, 3, 7}) {
        for (int i = 0; i < 200; ++i) {
            const Text path = "folder " + std::to_string(i % 7) + "/doc " + std::to_string(i);
            int takers = 0;
            for (std::uint64_t k = 0; k < n; ++k) takers += Shard{k, n}.Takes(path) ? 1 : 0;
            EXPECT_EQ(takers, 1) << path << " in " << n << " shards";
        }
    }
}

TEST(Shard, ReadsOnlyKOfNWithKBelowN) {
    EXPECT_EQ(ParseShard("0/1")->count, 1u);
    EXPECT_EQ(ParseShard("3/4")->index, 3u);
    for (const char* refused :
         {"", "1", "4/4", "0/0", "-1/2", "+1/2", "1/ 2", "1/2/3", "a/b", "1/99999999999999999999"})
        EXPECT_FALSE(ParseShard(refused).has_value()) << refused;
}

TEST(ReportLine, IsOneJsonObjectWithEverythingEscaped) {
    EXPECT_EQ(ReportLine({"/d/a.doc", "/d/a.pdf", DocumentStatus::Converted, {}, 3, 1.25}),
              "{\"path\":\"/d/a.doc\",\"pdf\":\"/d/a.pdf\",\"status\":\"converted\","
              "\"reason\":null,\"pages\":3,\"seconds\":1.250}\n");
    EXPECT_EQ(ReportLine({"/d/\"q\\\"\t\x01.doc", {}, DocumentStatus::Failed, "Error 1: x.", 0, 0}),
              "{\"path\":\"/d/\\\"q\\\\\\\"\\u0009\\u0001.doc\",\"pdf\":null,\"status\":\"failed\","
              "\"reason\":\"Error 1: x.\",\"pages\":0,\"seconds\":0.000}\n");
    // A name that is not UTF-8: shown as the window shows it, and its exact bytes beside.
    EXPECT_EQ(
        ReportLine({"/d/caf\xE9.doc", "/d/caf\xE9.pdf", DocumentStatus::Skipped, "r", 0, 0}),
        "{\"path\":\"/d/caf\\\\xE9.doc\",\"pdf\":\"/d/caf\\\\xE9.pdf\",\"status\":"
        "\"skipped\",\"reason\":\"r\",\"pages\":0,\"seconds\":0.000,"
        "\"path_bytes\":\"2f642f636166e92e646f63\",\"pdf_bytes\":\"2f642f636166e92e706466\"}\n");
    EXPECT_EQ(JsonString("\xC3\xA9\xE2\x80\xA8"), "\"\xC3\xA9\xE2\x80\xA8\"");
}

TEST(Progress, SaysDoneFailedRateAndTimeLeft) {
    EXPECT_EQ(StatusLine({0, 40, 0, 0, std::chrono::seconds(3)}), "0/40 done, 0 failed");
    EXPECT_EQ(StatusLine({12, 40, 2, 10, std::chrono::seconds(4)}),
              "12/40 done, 2 failed, 2.5 documents/s, 0:11 left");
    EXPECT_EQ(StatusLine({0, 100000, 0, 500, std::chrono::seconds(20)}),
              "0/100000 done, 0 failed, 25 documents/s, 1:06:40 left");
    EXPECT_EQ(DocumentLine({"/a.doc", "/a.pdf", DocumentStatus::Converted, {}, 1, 0.25},
                           {1, 2, 0, 1, {}}),
              "[1/2] converted /a.doc -> /a.pdf (1 page, 0.2 s)");
}

struct FakeFolders : OutputFolders {
    std::map<Text, std::int64_t> modified;
    std::set<Text> made, refused;
    bool Make(const Text& folder, Text& error) override {
        if (refused.count(folder)) {
            error = folder + ": Permission denied";
            return false;
        }
        made.insert(folder);
        return true;
    }
    std::optional<std::int64_t> ModifiedNanoseconds(const Text& path) const noexcept override {
        const auto at = modified.find(path);
        return at == modified.end() ? std::nullopt : std::optional(at->second);
    }
};

TEST(Plan, FindsDocumentsAsAddFolderDoesAndPlacesTheirPdfs) {
    fakes::FakeFiles files;
    for (const char* path : {"/in/b.doc", "/in/a.DOC", "/in/~lock.doc", "/in/sub/c.doc",
                             "/in/.hidden/d.doc", "/in/notes.txt", "/one/e.doc", "/in/a.doc"})
        files.Add(path);
    files.Add("/in/bad\xE9.doc", NameIsNotText);
    const BatchOptions beside{{"/in/", "/one/e.doc", "/gone", "/in/b.doc"}, {}, false, {}};
    const auto plan = Plan(beside, "/", files, files);
    Texts seen;
    for (const auto& document : plan)
        seen.push_back(document.path + " > " +
                       (document.refused ? document.refused->Said() : document.pdf));
    EXPECT_EQ(seen,
              (Texts{"/in/a.DOC > /in/a.pdf",
                     "/in/a.doc > Error 183: This document's PDF would be /in/a.pdf, which is "
                     "the PDF of /in/a.DOC in this run, so this document is not converted. "
                     "Rename one of the two to convert both.",
                     "/in/b.doc > /in/b.pdf", "/in/sub/c.doc > /in/sub/c.pdf",
                     "/in/bad\xE9.doc > Error 75: It cannot be added: " + Text(NameIsNotText) + ".",
                     "/one/e.doc > /one/e.pdf", "/gone > Error 53: It was not found."}));

    // Under an output folder, at the path relative to the path given; a file given by its name.
    const auto under = Plan({{"in", "/one/e.doc"}, "/out", false, {}}, "/", files, files);
    ASSERT_EQ(under.size(), 6u);
    EXPECT_EQ(under[3].pdf, "/out/sub/c.pdf");
    EXPECT_EQ(under[5].pdf, "/out/e.pdf");

    // Two shards share every document and refusal between them.
    const auto first = Plan({{"/in", "/gone"}, {}, false, {0, 2}}, "/", files, files);
    const auto second = Plan({{"/in", "/gone"}, {}, false, {1, 2}}, "/", files, files);
    EXPECT_EQ(first.size() + second.size(), 6u);
    EXPECT_EQ(first.empty() || second.empty(), false);

    // Stopped while the folders are read: nothing is planned.
    std::stop_source stop;
    stop.request_stop();
    EXPECT_TRUE(Plan(beside, "/", files, files, stop.get_token()).empty());
}

// Renders by script: a document's entry says what Render does with it.
struct ScriptedRenderer : PdfRenderer {
    fakes::FakeFiles& files;
    std::map<Text, std::function<std::optional<std::uint32_t>(std::stop_source&)>> script;
    std::stop_source& stop;
    Texts rendered;
    std::vector<Texts> expected;

    ScriptedRenderer(fakes::FakeFiles& f, std::stop_source& s) : files(f), stop(s) {}
    std::size_t Depth() const override { return 3; }
    void Expect(const std::vector<Document>& next) override {
        Texts paths;
        for (const auto& document : next) paths.push_back(document.path);
        expected.push_back(paths);
    }
    void WarmUp() override {}
    std::optional<std::uint32_t> Render(const Text& document, const Text& pdf,
                                        std::stop_token) override {
        rendered.push_back(document);
        EXPECT_FALSE(files.FileSize(pdf).has_value()) << "the PDF's name is free";
        const auto pages = script.count(document) ? script[document](stop) : 1u;
        if (pages) files.files[pdf] = 100;
        return pages;
    }
};

struct RecordingListener : BatchListener {
    Texts lines;
    std::vector<Failure> unavailable;
    void Ended(const DocumentOutcome& outcome, const ProgressCounts& counts) override {
        lines.push_back(std::to_string(counts.done) + " " + Text(StatusWord(outcome.status)) + " " +
                        outcome.path + " " + std::to_string(outcome.pages) + " " + outcome.reason);
    }
    void EngineUnavailable(const Failure& why) override { unavailable.push_back(why); }
};

struct Run : ::testing::Test {
    fakes::FakeFiles files;
    FakeFolders folders;
    std::stop_source stop;
    ScriptedRenderer renderer{files, stop};
    RecordingListener listener;

    BatchEnd Convert(const BatchOptions& options) {
        const auto plan = Plan(options, "/", files, files);
        return RunBatch(plan, options.update, {files, folders, renderer, listener},
                        stop.get_token());
    }
};

TEST_F(Run, ReplacesOldPdfsSaysFailuresAndGoesOn) {
    for (const char* path : {"/d/a.doc", "/d/b.doc", "/d/c.doc", "/d/b.pdf"}) files.Add(path);
    renderer.script["/d/a.doc"] = [](auto&) { return 3u; };
    renderer.script["/d/b.doc"] = [](auto&) -> std::optional<std::uint32_t> {
        throw AutomationError(5408, "The document is protected with a password.");
    };
    EXPECT_EQ(Convert({{"/d"}, {}, false, {}}), BatchEnd::SomeFailed);
    EXPECT_EQ(listener.lines,
              (Texts{"1 converted /d/a.doc 3 ",
                     "2 failed /d/b.doc 0 Error 5408: The document is protected with a password.",
                     "3 converted /d/c.doc 1 "}));
    EXPECT_TRUE(files.FileSize("/d/b.pdf").has_value()) << "the old PDF is back";
    EXPECT_FALSE(files.FileSize(LeftBehind::AsideName("/d/b.pdf", '/')).has_value());
    EXPECT_EQ(renderer.expected.front(), (Texts{"/d/a.doc", "/d/b.doc", "/d/c.doc"}));
    EXPECT_EQ(ExitStatus(BatchEnd::SomeFailed), 1);
}

TEST_F(Run, UpdateSkipsOnlyPdfsNewerThanTheirDocument) {
    for (const char* path : {"/d/a.doc", "/d/b.doc", "/d/c.doc", "/d/a.pdf", "/d/b.pdf"})
        files.Add(path);
    folders.modified = {{"/d/a.doc", 100},
                        {"/d/a.pdf", 101},
                        {"/d/b.doc", 100},
                        {"/d/b.pdf", 100},
                        {"/d/c.doc", 5}};
    EXPECT_EQ(Convert({{"/d"}, {}, true, {}}), BatchEnd::AllConverted);
    EXPECT_EQ(renderer.rendered, (Texts{"/d/b.doc", "/d/c.doc"}));
    EXPECT_EQ(listener.lines.front(), "1 skipped /d/a.doc 0 " + Text(UpToDateReason));
    EXPECT_EQ(renderer.expected.front(), (Texts{"/d/b.doc", "/d/c.doc"}));
    EXPECT_EQ(ExitStatus(BatchEnd::AllConverted), 0);
}

TEST_F(Run, AnEngineThatCannotStartIsSaidOnceAndFailsEveryDocumentWithoutRetrying) {
    for (const char* path : {"/d/a.doc", "/d/b.doc", "/d/a.pdf"}) files.Add(path);
    renderer.script["/d/a.doc"] = [](auto&) -> std::optional<std::uint32_t> {
        throw AutomationServerUnavailable(5123, "The document engine could not be started: x.");
    };
    EXPECT_EQ(Convert({{"/d"}, {}, false, {}}), BatchEnd::SomeFailed);
    EXPECT_EQ(listener.unavailable.size(), 1u);
    EXPECT_EQ(renderer.rendered, Texts{"/d/a.doc"});
    EXPECT_EQ(listener.lines.back(),
              "2 failed /d/b.doc 0 Error 5123: The document engine could not be started: x.");
    EXPECT_TRUE(files.FileSize("/d/a.pdf").has_value());
}

TEST_F(Run, AStopAbandonsTheDocumentInHandKeepsItsOldPdfAndReportsNoMore) {
    for (const char* path : {"/d/a.doc", "/d/b.doc", "/d/c.doc", "/d/b.pdf"}) files.Add(path);
    renderer.script["/d/b.doc"] = [](std::stop_source& stop) -> std::optional<std::uint32_t> {
        stop.request_stop();
        return std::nullopt;
    };
    EXPECT_EQ(Convert({{"/d"}, {}, false, {}}), BatchEnd::Interrupted);
    EXPECT_EQ(listener.lines, Texts{"1 converted /d/a.doc 1 "});
    EXPECT_TRUE(files.FileSize("/d/b.pdf").has_value());
    EXPECT_FALSE(files.FileSize("/d/c.pdf").has_value());
    EXPECT_EQ(renderer.expected.back(), Texts{}) << "nothing more is rendered ahead";
    EXPECT_EQ(ExitStatus(BatchEnd::Interrupted), 130);
}

TEST_F(Run, PdfsUnderAnOutputFolderGetTheirFoldersMadeOrFailWithTheReason) {
    for (const char* path : {"/d/x/a.doc", "/d/y/b.doc"}) files.Add(path);
    folders.refused.insert("/out/y");
    EXPECT_EQ(Convert({{"/d"}, "/out", false, {}}), BatchEnd::SomeFailed);
    EXPECT_EQ(folders.made, std::set<Text>{"/out/x"});
    EXPECT_EQ(listener.lines.back(),
              "2 failed /d/y/b.doc 0 Error 76: The folder for the PDF could "
              "not be made: /out/y: Permission denied.");
}

}  // namespace
}  // namespace pendrel::batch
