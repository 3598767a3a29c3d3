// Documents and calls that must fail: each fails alone, says why, and leaves no PDF.
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

#include "convert/Word1.h"
#include "platform/office/OfficeErrors.h"
#include "tests/office/OfficeTestSupport.h"

namespace pendrel::office::testing {
namespace {

using namespace std::chrono_literals;

AutomationError FailureOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const AutomationError& error) {
        return error;
    }
    ADD_FAILURE() << "no AutomationError";
    return {0, ""};
}

std::vector<Variant> PrintOutArguments() {
    auto m = Variant::Missing();
    return {Variant::Bool(true),   m, Variant::Int32(0),  m, m, m, Variant::Int32(0),
            Variant::Int16(1),     Variant::String(""),   Variant::Int32(0),
            Variant::Bool(false),  Variant::Bool(true),   Variant::String(""), m,
            Variant::Bool(false),  Variant::Int16(0),     Variant::Int16(0),
            Variant::Int16(0),     Variant::Int16(0)};
}

// Reads BackgroundPrintingStatus until the job ends; its failure, if any.
std::optional<AutomationError> JobOutcome(Dispatch& app) {
    for (auto deadline = std::chrono::steady_clock::now() + 30s;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
        try {
            if (app.Get("BackgroundPrintingStatus").AsInt32() == 0) return std::nullopt;
        } catch (const AutomationError& error) {
            return error;
        }
    }
    ADD_FAILURE() << "the print job did not end";
    return std::nullopt;
}

TEST(OfficeFailures, BadDocumentsFailCleanlyAndTheNextOneConverts) {
    TempFolder temp;
    WriteFile(temp / "x.doc", "");
    WriteFile(temp / "notes.doc", "Just some plain text that someone renamed.\n");
    struct Case {
        std::string document;
        std::int32_t number;
        std::string words;
    };
    std::vector<Case> cases{
        {Corpus("apache-poi/PasswordProtected.doc"), ErrorNumber::PasswordProtected, "password"},
        {Corpus("apache-poi/password_password_cryptoapi.doc"), ErrorNumber::PasswordProtected, "password"},
        {CopyCorpus("apache-poi/PasswordProtected.doc", temp / "geheim & #1 100% wörd.doc"),
         ErrorNumber::PasswordProtected, "password"},
        {Corpus("apache-poi/clusterfuzz-testcase-POIHWPFFuzzer-5696094627495936.doc"), ErrorNumber::Damaged, "damaged"},
        {Corpus("node-word-extractor/badfile-01-bad-header.doc"), ErrorNumber::Damaged, "damaged"},
        {temp / "x.doc", ErrorNumber::NotWordDocument, "empty"},
        {temp / "notes.doc", ErrorNumber::NotWordDocument, "not a Word document"},
        {temp / "missing.doc", ErrorNumber::NotFound, "could not be found"},
    };
    EngineRig rig;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        std::string output = temp / "out.pdf";
        AutomationError error = FailureOf([&] { rig.Convert(c.document, output); });
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_NE(error.Description().find(c.words), std::string::npos) << error.Description();
        EXPECT_FALSE(Exists(output));
    }
    rig.Convert(Corpus("apache-poi/quick.doc"), temp / "quick.pdf");
    EXPECT_EQ(PdfPages(temp / "quick.pdf"), 1);
}

TEST(OfficeFailures, AHelperKilledMidRenderFailsOnlyThatDocument) {
    TempFolder temp;
    EngineRig rig;
    DispatchPtr app = Word1::OpenInWord(rig.engine, Corpus("apache-poi/Bug50955.doc"));
    auto helpers = HelperPids();
    ASSERT_EQ(helpers.size(), 1u);
    // The 92 pages take over a second to render; the kill lands in the middle.
    Word1::PrintToPdfWriter(*app, temp / "long.pdf", rig.desk, rig.pump, 60s);
    ::kill(helpers[0], SIGKILL);
    auto failure = JobOutcome(*app);
    ASSERT_TRUE(failure.has_value());
    Word1::QuitQuietly(*app);
    EXPECT_FALSE(Exists(temp / "long.pdf"));

    rig.Convert(Corpus("apache-poi/quick.doc"), temp / "quick.pdf");
    EXPECT_EQ(PdfPages(temp / "quick.pdf"), 1);
    EXPECT_EQ(rig.engine.HelpersStarted(), 2);
}

TEST(OfficeFailures, CancelOrAnUnwritableNameEndsTheJobWithoutAFile) {
    TempFolder temp;
    EngineRig rig;
    {
        DispatchPtr app = Word1::OpenInWord(rig.engine, Corpus("apache-poi/quick.doc"));
        app->Put("ActivePrinter", Variant::String("PDF Writer"));
        app->Call("PrintOut", PrintOutArguments());
        WindowHandle dialog = 0;
        for (int i = 0; i < 500 && dialog == 0; ++i, std::this_thread::sleep_for(10ms))
            dialog = rig.desk.FindWindow("#32770", "Save As");
        ASSERT_NE(dialog, 0u);
        WindowHandle cancel = rig.desk.FindWindowEx(dialog, 0, "Button", Text("Cancel"));
        rig.desk.PostMessage(cancel, WmLButtonDown, MkLButton, 0);
        rig.desk.PostMessage(cancel, WmLButtonUp, MkLButton, 0);
        auto failure = JobOutcome(*app);
        ASSERT_TRUE(failure.has_value());
        EXPECT_NE(failure->Description().find("cancelled"), std::string::npos);
        Word1::Quit(*app);
    }
    std::string unwritable = temp / "no such folder/quick.pdf";
    AutomationError error = FailureOf([&] { rig.Convert(Corpus("apache-poi/quick.doc"), unwritable); });
    EXPECT_NE(error.Description().find("could not be written"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));
}

TEST(OfficeFailures, WrongCallsAreRefusedWithoutPrinting) {
    EngineRig rig;
    EXPECT_EQ(FailureOf([&] { rig.engine.CreateObject("Excel.Application"); }).Number(),
              ErrorNumber::CannotCreateObject);
    DispatchPtr app = rig.engine.CreateObject("Word.Application");
    auto documents = app->Get("Documents").AsObject();
    std::vector<Variant> open(16, Variant::Missing());
    open[0] = Variant::Int32(7);
    EXPECT_EQ(FailureOf([&] { documents->Call("Open", open); }).Number(), ErrorNumber::WrongArguments);
    open[0] = Variant::String(Corpus("apache-poi/quick.doc"));
    EXPECT_EQ(FailureOf([&] { documents->Call("Open", {open.begin(), open.end() - 1}); }).Number(),
              ErrorNumber::WrongArguments);
    documents->Call("Open", open);

    // Whatever is written is read back exactly.
    EXPECT_EQ(app->Get("ActivePrinter").AsString(), "Default Printer");
    EXPECT_EQ(FailureOf([&] { app->Call("PrintOut", PrintOutArguments()); }).Number(),
              ErrorNumber::PrinterUnavailable);
    app->Put("ActivePrinter", Variant::String("Löwe & \"Söhne\" on Ne02:"));
    EXPECT_EQ(app->Get("ActivePrinter").AsString(), "Löwe & \"Söhne\" on Ne02:");
    app->Put("ActivePrinter", Variant::String("PDF Writer"));

    auto shortList = PrintOutArguments();
    shortList.pop_back();
    EXPECT_EQ(FailureOf([&] { app->Call("PrintOut", shortList); }).Number(), ErrorNumber::WrongArguments);
    auto wrongType = PrintOutArguments();
    wrongType[7] = Variant::Int32(1);  // Copies is a 16-bit integer
    AutomationError typeError = FailureOf([&] { app->Call("PrintOut", wrongType); });
    EXPECT_NE(typeError.Description().find("Copies"), std::string::npos);
    auto toFile = PrintOutArguments();
    toFile[10] = Variant::Bool(true);
    EXPECT_EQ(FailureOf([&] { app->Call("PrintOut", toFile); }).Number(), ErrorNumber::WrongArguments);

    EXPECT_EQ(rig.desk.FindWindow("#32770", "Save As"), 0u);
    EXPECT_EQ(app->Get("BackgroundPrintingStatus").AsInt32(), 0);
    Word1::Quit(*app);
    EXPECT_EQ(FailureOf([&] { app->Get("ActivePrinter"); }).Number(), ErrorNumber::ApplicationEnded);
}

TEST(OfficeFailures, NoHelperStartsForAnIdleEngineAndNoneOutlivesIt) {
    {
        EngineRig idle;
        std::this_thread::sleep_for(200ms);
        EXPECT_TRUE(HelperPids().empty());
    }
    {
        EngineRig rig;
        rig.engine.WarmUp();
        rig.engine.WarmUp();
        for (int i = 0; i < 200 && HelperPids().empty(); ++i) std::this_thread::sleep_for(10ms);
        EXPECT_EQ(HelperPids().size(), 1u);
    }
    EXPECT_TRUE(HelperPids().empty());
}

}  // namespace
}  // namespace pendrel::office::testing
