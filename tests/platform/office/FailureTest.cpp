// Documents and calls that must fail: each fails alone, says why, and leaves no PDF.
#include <gtest/gtest.h>
#include <signal.h>

#include <thread>

#include "convert/Word1.h"
#include "platform/office/OfficeErrors.h"
#include "tests/platform/office/OfficeTestSupport.h"

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

// PrintOut's arguments as the batch passes them.
std::vector<Variant> PrintOutArguments() {
    const Variant m = Variant::Missing(), no = Variant::Bool(false), yes = Variant::Bool(true),
                  none = Variant::String(""), zero = Variant::Int32(0), zero16 = Variant::Int16(0);
    return {yes,  m, zero, m,      m,      m,      zero,  Variant::Int16(1), none, zero, no, yes,
            none, m, no,   zero16, zero16, zero16, zero16};
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

void ExpectQuickConverts(EngineRig& rig, const std::string& output) {
    rig.Convert(Corpus("apache-poi/quick.doc"), output);
    EXPECT_EQ(PdfPages(output), 1);
}

TEST(OfficeFailures, BadDocumentsFailCleanlyAndTheNextOneConverts) {
    TempFolder temp;
    WriteFile(temp / "x.doc", "");
    WriteFile(temp / "notes.doc", "Just some plain text that someone renamed.\n");
    const std::string locked = "apache-poi/PasswordProtected.doc";
    const std::vector<std::tuple<std::string, std::int32_t, std::string>> cases{
        {Corpus(locked), ErrorNumber::PasswordProtected, "password"},
        {Corpus("apache-poi/password_password_cryptoapi.doc"), ErrorNumber::PasswordProtected,
         "password"},
        {CopyCorpus(locked, temp / "geheim & #1 100% wörd.doc"), ErrorNumber::PasswordProtected,
         "password"},
        {Corpus("apache-poi/clusterfuzz-testcase-POIHWPFFuzzer-5696094627495936.doc"),
         ErrorNumber::Damaged, "damaged"},
        {Corpus("node-word-extractor/badfile-01-bad-header.doc"), ErrorNumber::Damaged, "damaged"},
        {temp / "x.doc", ErrorNumber::NotWordDocument, "empty"},
        {temp / "notes.doc", ErrorNumber::NotWordDocument, "not a Word document"},
        {temp / "missing.doc", ErrorNumber::NotFound, "could not be found"},
    };
    EngineRig rig;
    for (const auto& [document, number, words] : cases) {
        SCOPED_TRACE(document);
        AutomationError error = FailureOf([&] { rig.Convert(document, temp / "out.pdf"); });
        EXPECT_EQ(error.Number(), number);
        EXPECT_NE(error.Description().find(words), std::string::npos) << error.Description();
        EXPECT_FALSE(Exists(temp / "out.pdf"));
    }
    ExpectQuickConverts(rig, temp / "quick.pdf");
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
    ASSERT_TRUE(JobOutcome(*app).has_value());
    Word1::QuitQuietly(*app);
    EXPECT_FALSE(Exists(temp / "long.pdf"));

    ExpectQuickConverts(rig, temp / "quick.pdf");
    EXPECT_EQ(rig.engine.HelpersStarted(), 2);
}

TEST(OfficeFailures, CancelOrAnUnwritableNameEndsTheJobWithoutAFile) {
    TempFolder temp;
    EngineRig rig;
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

    AutomationError error = FailureOf(
        [&] { rig.Convert(Corpus("apache-poi/quick.doc"), temp / "no such folder/quick.pdf"); });
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
    EXPECT_EQ(FailureOf([&] { documents->Call("Open", open); }).Number(),
              ErrorNumber::WrongArguments);
    open[0] = Variant::String(Corpus("apache-poi/quick.doc"));
    documents->Call("Open", open);

    EXPECT_EQ(app->Get("ActivePrinter").AsString(), "Default Printer");
    EXPECT_EQ(FailureOf([&] { app->Call("PrintOut", PrintOutArguments()); }).Number(),
              ErrorNumber::PrinterUnavailable);
    app->Put("ActivePrinter", Variant::String("Löwe & \"Söhne\" on Ne02:"));
    EXPECT_EQ(app->Get("ActivePrinter").AsString(), "Löwe & \"Söhne\" on Ne02:");
    app->Put("ActivePrinter", Variant::String("PDF Writer"));

    auto shortList = PrintOutArguments();
    shortList.pop_back();
    auto wrongType = PrintOutArguments();
    wrongType[7] = Variant::Int32(1);  // Copies is a 16-bit integer
    auto toFile = PrintOutArguments();
    toFile[10] = Variant::Bool(true);
    for (const auto& arguments : {shortList, wrongType, toFile})
        EXPECT_EQ(FailureOf([&] { app->Call("PrintOut", arguments); }).Number(),
                  ErrorNumber::WrongArguments);
    EXPECT_NE(FailureOf([&] { app->Call("PrintOut", wrongType); }).Description().find("Copies"),
              std::string::npos);

    EXPECT_EQ(rig.desk.FindWindow("#32770", "Save As"), 0u);
    EXPECT_EQ(app->Get("BackgroundPrintingStatus").AsInt32(), 0);
    Word1::Quit(*app);
    EXPECT_EQ(FailureOf([&] { app->Get("ActivePrinter"); }).Number(),
              ErrorNumber::ApplicationEnded);
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

// A missing helper is the engine's failure, not the document's: it must not be called damaged.
TEST(OfficeFailures, AHelperThatCannotStartIsNotBlamedOnTheDocument) {
    desk::Desk desk;
    SleepingPump pump;
    OfficeEngine engine{desk, pump, HelperCommand{"/nonexistent/pendrel-office", ""}};
    const AutomationError error =
        FailureOf([&] { Word1::OpenInWord(engine, Corpus("apache-poi/quick.doc")); });
    EXPECT_EQ(error.Number(), ErrorNumber::EngineFailed);
    EXPECT_NE(error.Description().find("could not be started"), std::string::npos);
    EXPECT_EQ(error.Description().find("damaged"), std::string::npos) << error.Description();
}

}  // namespace
}  // namespace pendrel::office::testing
