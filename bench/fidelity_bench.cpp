// How faithfully the engine prints the corpus (../shared/corpus/docs, copied to a folder of
// its own): each PDF's page count against the count Word recorded when it saved the document,
// the characters printed as boxes, and the engine's time on documents with embedded objects
// against those without. Every document is converted on its own by one warm helper, so each
// time is that document's alone.
//
//   fidelity_bench [-v]     (-v names every document that misses and every box)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numeric>
#include <sstream>

#include "bench/WordSummary.h"
#include "tests/platform/office/OfficeTestSupport.h"

namespace {

using namespace pendrel;
using office::testing::BatchRig;
using office::testing::TempFolder;
namespace fs = std::filesystem;

const fs::path Corpus = PENDREL_CORPUS_DOCS;

struct Document {
    std::string name, copy;
    bench::WordSummary word;
    bool converted = false;
    int pages = 0;
    double seconds = 0;  // the helper's work on it
};

std::vector<Document> CopyCorpus(const TempFolder& folder) {
    std::vector<Document> documents;
    std::ifstream manifest(Corpus / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);  // the header
    while (std::getline(manifest, line)) {
        Document d;
        d.name = line.substr(0, line.find('\t'));
        d.copy = office::testing::CopyTo(Corpus / d.name,
                                         folder / (std::to_string(documents.size()) + ".doc"));
        d.word = bench::ReadWordSummary(d.copy);
        documents.push_back(d);
    }
    return documents;
}

void Convert(std::vector<Document>& documents) {
    BatchRig rig(office::testing::RealHelper(), 1);
    rig.engine.WarmUp();
    for (Document& d : documents) {
        while (rig.list.ItemCount() > 0) rig.list.RemoveItem(1);
        rig.Queue({d.copy});
        const auto before = rig.engine.HelperWorkTime();
        rig.Convert();
        d.seconds = std::chrono::duration<double>(rig.engine.HelperWorkTime() - before).count();
        d.converted = rig.Statuses() == std::vector<Text>{"Done"};
        d.pages = d.converted ? office::testing::PdfPages(office::testing::PdfOf(d.copy)) : 0;
    }
}

bool ByWord(const Document& d) {
    return d.word.application.starts_with("Microsoft") &&
           d.word.application.find("Word") != std::string::npos && d.word.pages >= 2;
}

void ReportPages(const std::vector<Document>& documents, bool verbose) {
    int word = 0, wordAgree = 0, recorded = 0, agree = 0;
    for (const Document& d : documents) {
        if (!d.converted || d.word.pages <= 0) continue;
        const bool same = d.pages == d.word.pages;
        ++recorded;
        agree += same;
        if (ByWord(d)) {
            ++word;
            wordAgree += same;
        }
        if (verbose && !same)
            std::printf("  pages %d, Word recorded %d: %s (%s)\n", d.pages, d.word.pages,
                        d.name.c_str(), d.word.application.c_str());
    }
    std::printf(
        "page counts as Word recorded them, Word's documents of 2 pages or more: "
        "%d of %d (%.1f%%)\n",
        wordAgree, word, 100.0 * wordAgree / std::max(word, 1));
    std::printf("page counts as recorded, every document that records one: %d of %d (%.1f%%)\n",
                agree, recorded, 100.0 * agree / std::max(recorded, 1));
}

void ReportBoxes(const std::vector<Document>& documents, bool verbose) {
    std::vector<std::string> pdfs;
    for (const Document& d : documents)
        if (d.converted) pdfs.push_back(office::testing::PdfOf(d.copy));
    std::string report;
    const std::vector<int> boxes = office::testing::PdfBoxes(pdfs, &report);
    int total = 0, unread = 0, withBoxes = 0;
    for (const int b : boxes) {
        total += std::max(b, 0);
        unread += b < 0;
        withBoxes += b > 0;
    }
    std::printf("characters printed as boxes: %d, in %d of %zu PDFs (%d PDFs unreadable)\n", total,
                withBoxes, pdfs.size(), unread);
    if (!verbose) return;
    std::istringstream lines(report);
    for (std::string line, owner; std::getline(lines, line);) {
        if (line.starts_with("0 ")) continue;
        const bool detail = line.starts_with("  ");
        if (!detail) owner = line;
        if (detail || line.starts_with("?")) {
            for (const Document& d : documents)
                if (owner.find(office::testing::PdfOf(d.copy)) != std::string::npos)
                    std::printf("  %s:", d.name.c_str());
            std::printf("%s\n", detail ? line.c_str() : "");
        }
    }
}

void ReportTimes(const std::vector<Document>& documents) {
    std::vector<double> with, without;
    for (const Document& d : documents)
        if (d.converted) (d.word.embeddedObjects > 0 ? with : without).push_back(d.seconds);
    const auto describe = [](const char* what, std::vector<double> times) {
        std::sort(times.begin(), times.end());
        const double total = std::accumulate(times.begin(), times.end(), 0.0);
        std::printf(
            "%s: %zu documents, %.2f s in all, mean %.3f s, median %.3f s, slowest %.2f s\n", what,
            times.size(), total, total / std::max<std::size_t>(times.size(), 1),
            times.empty() ? 0.0 : times[times.size() / 2], times.empty() ? 0.0 : times.back());
    };
    describe("with embedded objects", with);
    describe("without", without);
}

}  // namespace

int main(int argc, char** argv) {
    const bool verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
    if (!fs::exists(Corpus / "MANIFEST.tsv")) {
        std::printf("the corpus is not there (%s)\n", PENDREL_CORPUS_DOCS);
        return 1;
    }
    TempFolder folder;
    std::vector<Document> documents = CopyCorpus(folder);
    Convert(documents);
    const auto converted = std::count_if(documents.begin(), documents.end(),
                                         [](const Document& d) { return d.converted; });
    std::printf("%zu documents, %td converted\n", documents.size(), converted);
    ReportPages(documents, verbose);
    ReportBoxes(documents, verbose);
    ReportTimes(documents);
    if (verbose)
        for (const Document& d : documents)
            if (d.seconds > 2.0) std::printf("  slow: %.2f s %s\n", d.seconds, d.name.c_str());
    return 0;
}
