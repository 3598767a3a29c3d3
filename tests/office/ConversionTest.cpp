// Real documents through the real engine, desk and Word1, checked with poppler's tools.
#include <gtest/gtest.h>

#include "tests/office/OfficeTestSupport.h"

namespace pendrel::office::testing {
namespace {

struct Sample {
    std::string document;  // relative to the corpus, or an absolute path
    int pages;             // as the corpus manifest gives them
    std::string text;      // found in the PDF's text
};

TEST(OfficeConversion, CorpusDocumentsBecomePdfsWithTheirPagesAndText) {
    TempFolder temp;
    std::vector<Sample> samples{
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
        {CopyCorpus("apache-poi/SampleDoc.doc", temp / "report #2 at 100% für Ωmega.doc"), 2, ""},
    };
    EngineRig rig;
    rig.engine.WarmUp();
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.document);
        std::string document =
            sample.document.front() == '/' ? sample.document : Corpus(sample.document);
        std::string name = document.substr(document.rfind('/') + 1);
        std::string output = temp / (name.substr(0, name.size() - 3) + "pdf");

        ASSERT_NO_THROW(rig.Convert(document, output));
        EXPECT_EQ(PdfPages(output), sample.pages);
        if (!sample.text.empty()) {
            EXPECT_NE(PdfText(output).find(sample.text), std::string::npos);
        }
    }
    // One application object per document, all on one warm helper.
    EXPECT_EQ(rig.engine.HelpersStarted(), 1);
}

TEST(OfficeConversion, AnExistingPdfIsReplacedWhole) {
    TempFolder temp;
    std::string output = temp / "quick.pdf";
    WriteFile(output, "an older file that is not a PDF at all");
    EngineRig rig;
    rig.Convert(Corpus("apache-poi/page-break.doc"), output);
    EXPECT_EQ(PdfPages(output), 2);
    // Nothing of the printer's own is left beside it.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

// The name goes to the helper in a frame of its own: a newline, quotes or "%20" in it are
// just bytes of the name.
TEST(OfficeConversion, DocumentNamesReachTheRendererUnchanged) {
    TempFolder temp;
    std::string document =
        CopyCorpus("apache-poi/quick.doc", temp / "line\nbreak \"quoted\" %20 'and' ?.doc");
    EngineRig rig;
    rig.Convert(document, temp / "out.pdf");
    EXPECT_NE(PdfText(temp / "out.pdf").find("lazy dog"), std::string::npos);
}

}  // namespace
}  // namespace pendrel::office::testing
