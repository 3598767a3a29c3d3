// What the real engine prints: every script of the document in a font that has it (no
// character drawn as a box), an embedded document as the picture stored of it, and the
// headings, link, title and author of the document carried into the PDF.
#include <gtest/gtest.h>

#include "tests/platform/office/OfficeTestSupport.h"
#include "tests/support/TestDocuments.h"

namespace pendrel::office::testing {
namespace {

class PrintedPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        BatchRig rig(RealHelper(), 1);
        for (const char* name : {"scripts", "embedded", "outlined"})
            rig.Queue({CopyTo(pendrel::testing::DocumentPath(name), *folder_ / name + ".doc")});
        rig.Convert();
        ASSERT_EQ(rig.Statuses(), std::vector<Text>(3, "Done"));
    }
    static void TearDownTestSuite() { delete folder_; }
    static std::string Pdf(const std::string& name) { return *folder_ / name + ".pdf"; }

    static TempFolder* folder_;
};

TempFolder* PrintedPage::folder_ = nullptr;

TEST_F(PrintedPage, EveryScriptPrintsInAFontThatHasIt) {
    std::string report;
    EXPECT_EQ(PdfBoxes({Pdf("scripts")}, &report), std::vector<int>{0}) << report;
    const std::string text = PdfText(Pdf("scripts"));
    for (const char* word : {"中文", "日本語", "한국어", "ภาษาไทย", "हिन्दी", "বাংলা", "தமிழ்",
                             "עברית", "Ελληνικά", "Русский", "ქართული", "Հայերեն", "Tiếng Việt"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST_F(PrintedPage, AnEmbeddedDocumentPrintsAsItsStoredPicture) {
    // The picture and its mask; the embedded document's own text is not set as text.
    EXPECT_EQ(PdfImages(Pdf("embedded")), 2);
    const std::string text = PdfText(Pdf("embedded"));
    EXPECT_NE(text.find("An embedded document follows."), std::string::npos);
    EXPECT_EQ(text.find("Inside the embedded document"), std::string::npos);
}

TEST_F(PrintedPage, HeadingsLinkTitleAndAuthorReachThePdf) {
    const std::string pdf = Pdf("outlined");
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_EQ(PdfInfo(pdf, "Title"), "Quarterly Findings");
    EXPECT_EQ(PdfInfo(pdf, "Author"), "Ada Lovelace");
    EXPECT_EQ(PdfOutline(pdf),
              (std::vector<std::string>{"Introduction", "Method of work", "Findings"}));
    EXPECT_EQ(PdfLinks(pdf), std::vector<std::string>{"https://example.org/pendrel/results"});
}

}  // namespace
}  // namespace pendrel::office::testing
