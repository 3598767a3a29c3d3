// The embedded engine answers the calls as the program makes them (written out in the tests'
// own words) and refuses any other, rather than printing something else.
#include "platform/office/word/ArgumentChecks.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/office/OfficeLimits.h"
#include "tests/fakes/WordCalls.h"

namespace pendrel::office {
namespace {

using namespace std::chrono_literals;

// The refusal's description, or "" when the arguments are taken.
Text Refusal(const std::function<void(const std::vector<Variant>&)>& check,
             const std::vector<Variant>& args) {
    try {
        check(args);
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.Number(), 450);
        return error.Description();
    }
    return "";
}

TEST(WordContract, DocumentsOpenTakesSixteenArgumentsAllButTheFileNameOmitted) {
    std::vector<Variant> args = fakes::OpenAsWordTakesIt("/d/a.doc");
    EXPECT_EQ(Refusal(CheckOpenArguments, args), "");
    args.pop_back();
    EXPECT_NE(Refusal(CheckOpenArguments, args).find("16 arguments expected, 15 given"),
              Text::npos);
    args = fakes::OpenAsWordTakesIt("/d/a.doc");
    args.push_back(Variant::Missing());
    EXPECT_NE(Refusal(CheckOpenArguments, args).find("16 arguments expected, 17 given"),
              Text::npos);
    args = fakes::OpenAsWordTakesIt("/d/a.doc");
    args[2] = Variant::Bool(true);  // ReadOnly
    EXPECT_NE(Refusal(CheckOpenArguments, args).find("argument 3"), Text::npos);
}

TEST(WordContract, PrintOutTakesOnlyOneCopyOfTheWholeDocumentInTheBackgroundToThePrinter) {
    EXPECT_EQ(Refusal(CheckPrintOutArguments, fakes::PrintOutAsWordTakesIt()), "");
    struct Change {
        std::size_t index;
        Variant value;
        const char* refusal;
    };
    const std::vector<Change> changes = {
        {0, Variant::Bool(false), "argument 1 (Background)"},
        {2, Variant::Int32(1), "argument 3 (Range)"},
        {3, Variant::String("/d/a.pdf"), "argument 4 (OutputFileName)"},
        {7, Variant::Int16(2), "argument 8 (Copies) has a value"},
        {7, Variant::Int32(1), "argument 8 (Copies) must be Integer, not Long"},
        {10, Variant::Bool(true), "argument 11 (PrintToFile)"},
        {12, Variant::String("/d/a.pdf"), "argument 13 (FileName)"},
    };
    for (const Change& change : changes) {
        std::vector<Variant> args = fakes::PrintOutAsWordTakesIt();
        args[change.index] = change.value;
        EXPECT_NE(Refusal(CheckPrintOutArguments, args).find(change.refusal), Text::npos)
            << change.refusal;
    }
    std::vector<Variant> args = fakes::PrintOutAsWordTakesIt();
    args.pop_back();
    EXPECT_NE(Refusal(CheckPrintOutArguments, args).find("19 arguments expected, 18 given"),
              Text::npos);
}

// A render may take 300 s: the printer's promise, which the batch waits for.
TEST(WordContract, TheEngineRendersWithinThePrintersLimit) {
    EXPECT_EQ(HelperLimits{}.render, 300s);
}

}  // namespace
}  // namespace pendrel::office
