// Real documents through the real engine, desk and Word1, checked with poppler's tools.
#include <gtest/gtest.h>

#include "convert/Word1.h"
#include "tests/office/OfficeTestSupport.h"

namespace pendrel::office::testing {
namespace {

struct Sample {
    std::string document;  // relative to the corpus, or an absolute path
    int pages;             // as the corpus manifest gives them
    std::string text;      // found in the PDF's text
    std::string pdf = "";  // the PDF's name when not the document's
};

// The names go to the helper in frames of their own: a newline, quotes or "%20" in one are
// just bytes of the name.
TEST(OfficeConversion, CorpusDocumentsBecomePdfsWithTheirPagesAndTextWhateverTheirNames) {
    TempFolder temp;
    const std::vector<Sample> samples{
        {"apache-poi/simple-table.doc", 1, "a table con"},
        {"apache-poi/testPictures.doc", 4, "Sunset"},
        {"apache-tika/testWORD_3imgs.doc", 1, "The Alfresco logo"},
        {"apache-poi/o_kurs.doc", 8, "МИНИСТЕРСТВО"},
        {"apache-poi/TestShiftJIS.doc", 11, "File Agent"},
        {"apache-poi/cn.orthodox.www_divenbog_APRIL_30-APRIL.DOC", 2, "Apostle James"},
        {"apache-poi/Word95.doc", 1, "quick brown fox"},
        {"apache-poi/HeaderFooterUnicode.doc", 2, "€ euro"},
        {"apache-poi/53379.doc", 29, "Clinical Trials"},
        {"apache-poi/equation.doc", 1, ""},

        {CopyCorpus("apache-poi/quick.doc", temp / "Fox & Hound.doc"), 1, "lazy dog"},
        {CopyCorpus("apache-poi/quick.doc", temp / "line\nbreak \"quoted\" %20 'and' ?.doc"), 1,
         "lazy dog", "out.pdf"},
        {CopyCorpus("apache-poi/page-break.doc", temp / "report #2 at 100% für Ωmega.doc"), 2, ""},
    };
    EngineRig rig;
    rig.engine.WarmUp();
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.document);
        const std::string document =
            sample.document.front() == '/' ? sample.document : Corpus(sample.document);
        const std::string name = document.substr(document.rfind('/') + 1);
        const std::string output =
            temp / (sample.pdf.empty() ? name.substr(0, name.size() - 3) + "pdf" : sample.pdf);
        ASSERT_NO_THROW(rig.Convert(document, output));
        EXPECT_EQ(PdfPages(output), sample.pages);
        EXPECT_NE(PdfText(output).find(sample.text), std::string::npos);
    }
    // One application object per document, all on one warm helper.
    EXPECT_EQ(rig.engine.HelpersStarted(), 1);

    // An older file where the PDF goes is replaced whole when the job ends. (Convert, like the
    // batch, would count the old file as the new one: the batch deletes it first.)
    WriteFile(temp / "old.pdf", "an older file that is not a PDF at all");
    DispatchPtr app = Word1::OpenInWord(rig.engine, Corpus("apache-poi/page-break.doc"));
    Word1::PrintToPdfWriter(*app, temp / "old.pdf", rig.desk, rig.pump, std::chrono::seconds(60));
    while (app->Get("BackgroundPrintingStatus").AsInt32() != 0)
        rig.pump.ProcessPendingMessages(std::chrono::milliseconds(20));
    Word1::Quit(*app);
    EXPECT_EQ(PdfPages(temp / "old.pdf"), 2);
    // Nothing of the printer's own is left beside the PDFs and the copied documents.
    using Entries = std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(Entries(temp.Path()), Entries()), std::ptrdiff_t(samples.size() + 4));
}

}  // namespace
}  // namespace pendrel::office::testing
