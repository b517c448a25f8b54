// Parse-and-index throughput of XmlDocument against pugixml on the same
// generated catalogue-like documents: a UTF-16 text handed over in memory
// (AssignText / load_buffer) and a UTF-8 file read from disk (LoadFile /
// load_file). Rates are per megabyte of the UTF-8 document, so every row of a
// document compares the same content.
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/sim/SimFiles.h"
#include "xml/XmlDocument.h"

namespace {

struct Corpus {
    std::string utf8;
    std::u16string utf16;
    std::u16string simPath;
    std::filesystem::path hostPath;
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u16string Utf16Of(const std::string& utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t c;
        int n;
        if (b < 0x80) {
            c = b, n = 1;
        } else if (b < 0xE0) {
            c = b & 0x1F, n = 2;
        } else {
            c = b & 0x0F, n = 3;
        }
        for (int k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(static_cast<char16_t>(c));
        i += n;
    }
    return out;
}

// Words for descriptions: in the mixed corpus one character in five is
// non-ASCII (kana, CJK, Latin with diacritics).
std::string Words(std::mt19937& rng, int count, bool mixed) {
    static const char32_t kWide[] = {0x30D7, 0x30EA, 0x30F3, 0x30BF, 0x5370, 0x5237,
                                     0x673A, 0x00E9, 0x00FC, 0x00E7, 0x4E2D, 0x6587};
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        int length = 3 + static_cast<int>(rng() % 7);
        for (int k = 0; k < length; ++k) {
            if (mixed && rng() % 5 == 0)
                AppendUtf8(out, kWide[rng() % std::size(kWide)]);
            else
                out += static_cast<char>('a' + rng() % 26);
        }
    }
    return out;
}

std::string MakeCatalogue(std::size_t targetBytes, bool mixed) {
    std::mt19937 rng(42);
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PrinterCatalogue>\n";
    static const char* kArchitectures[] = {"i386", "amd64", "ia64"};
    for (int model = 0; xml.size() < targetBytes; ++model) {
        xml += "  <Printer name=\"Varnoquill-" + std::to_string(model) + "\" id=\"" +
               std::to_string(1000 + model) + "\">\n";
        xml += "    <Description>" + Words(rng, 12, mixed) + " &amp; " + Words(rng, 4, mixed) +
               "</Description>\n";
        for (const char* arch : kArchitectures) {
            xml += std::string("    <Files arch=\"") + arch + "\">\n";
            xml += "      <Driver>vq" + std::to_string(model) + "drv.dll</Driver>\n";
            xml += "      <Data>vq" + std::to_string(model) + ".gpd</Data>\n";
            xml += "      <Config>vq" + std::to_string(model) + "ui.dll</Config>\n";
            xml += "      <Help>vq.hlp</Help>\n";
            xml += "      <DependsFile>vqres.dll</DependsFile>\n";
            xml += "      <!-- " + Words(rng, 3, false) + " -->\n";
            xml += "      <Paper>A4</Paper>\n";
            xml += "    </Files>\n";
        }
        xml += "  </Printer>\n";
    }
    xml += "</PrinterCatalogue>\n";
    return xml;
}

Corpus& CorpusFor(std::size_t megabytes, bool mixed) {
    static std::map<std::pair<std::size_t, bool>, Corpus> cache;
    auto key = std::make_pair(megabytes, mixed);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    Corpus corpus;
    corpus.utf8 = MakeCatalogue(megabytes << 20, mixed);
    corpus.utf16 = Utf16Of(corpus.utf8);
    corpus.simPath = u"C:\\bench\\catalogue-" + std::u16string(mixed ? u"mixed" : u"ascii") + u"-" +
                     std::u16string(1, static_cast<char16_t>(u'0' + megabytes % 10)) + u".xml";
    platform::sim::PutFile(corpus.simPath, corpus.utf8);
    corpus.hostPath = platform::sim::HostPath(corpus.simPath);
    return cache.emplace(key, std::move(corpus)).first->second;
}

void SetRate(benchmark::State& state, const Corpus& corpus) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(corpus.utf8.size()));
}

void BM_AssignText(benchmark::State& state, std::size_t mb, bool mixed) {
    Corpus& corpus = CorpusFor(mb, mixed);
    for (auto _ : state) {
        xml::XmlDocument document;
        bool ok = document.AssignText(corpus.utf16);
        benchmark::DoNotOptimize(ok);
    }
    SetRate(state, corpus);
}

void BM_PugiLoadBufferUtf16(benchmark::State& state, std::size_t mb, bool mixed) {
    Corpus& corpus = CorpusFor(mb, mixed);
    for (auto _ : state) {
        pugi::xml_document document;
        auto result = document.load_buffer(corpus.utf16.data(), corpus.utf16.size() * 2,
                                           pugi::parse_default, pugi::encoding_utf16_le);
        benchmark::DoNotOptimize(result);
    }
    SetRate(state, corpus);
}

void BM_PugiLoadBufferUtf8(benchmark::State& state, std::size_t mb, bool mixed) {
    Corpus& corpus = CorpusFor(mb, mixed);
    for (auto _ : state) {
        pugi::xml_document document;
        auto result = document.load_buffer(corpus.utf8.data(), corpus.utf8.size(),
                                           pugi::parse_default, pugi::encoding_utf8);
        benchmark::DoNotOptimize(result);
    }
    SetRate(state, corpus);
}

void BM_LoadFile(benchmark::State& state, std::size_t mb, bool mixed) {
    Corpus& corpus = CorpusFor(mb, mixed);
    for (auto _ : state) {
        xml::XmlDocument document;
        bool ok = document.LoadFile(corpus.simPath);
        benchmark::DoNotOptimize(ok);
    }
    SetRate(state, corpus);
}

void BM_PugiLoadFile(benchmark::State& state, std::size_t mb, bool mixed) {
    Corpus& corpus = CorpusFor(mb, mixed);
    for (auto _ : state) {
        pugi::xml_document document;
        auto result = document.load_file(corpus.hostPath.c_str());
        benchmark::DoNotOptimize(result);
    }
    SetRate(state, corpus);
}

// Keeps each run's rate so that the ratios can be printed after the table.
class CRatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto it = run.counters.find("bytes_per_second");
            if (it == run.counters.end())
                continue;
            std::string name = run.benchmark_name();
            name = name.substr(0, name.find("/min_time"));
            m_rates[name] = it->second.value / (1 << 20);
        }
    }

    void PrintRatios() const {
        std::printf("\n%-28s %10s %12s %10s %12s %12s %8s %8s\n", "document", "AssignText",
                    "pugi buf16", "ratio", "pugi buf8", "LoadFile", "pugi file", "ratio");
        for (const char* doc : {"1MB/ascii", "1MB/mixed", "64MB/ascii", "64MB/mixed"}) {
            double assign = Rate("AssignText", doc), buf16 = Rate("PugiLoadBufferUtf16", doc);
            double buf8 = Rate("PugiLoadBufferUtf8", doc), load = Rate("LoadFile", doc);
            double file = Rate("PugiLoadFile", doc);
            std::printf("%-28s %10.1f %12.1f %10.2f %12.1f %12.1f %8.1f %8.2f\n", doc, assign,
                        buf16, buf16 > 0 ? assign / buf16 : 0, buf8, load, file,
                        file > 0 ? load / file : 0);
        }
        std::printf("(MB/s of the UTF-8 document; ratio = ours / pugixml, above 1 is faster)\n");
    }

  private:
    double Rate(const std::string& bench, const std::string& doc) const {
        auto it = m_rates.find(bench + "/" + doc);
        return it == m_rates.end() ? 0 : it->second;
    }

    std::map<std::string, double> m_rates;
};

void RegisterAll() {
    struct Entry {
        const char* name;
        void (*fn)(benchmark::State&, std::size_t, bool);
    };
    const Entry entries[] = {{"AssignText", BM_AssignText},
                             {"PugiLoadBufferUtf16", BM_PugiLoadBufferUtf16},
                             {"PugiLoadBufferUtf8", BM_PugiLoadBufferUtf8},
                             {"LoadFile", BM_LoadFile},
                             {"PugiLoadFile", BM_PugiLoadFile}};
    for (std::size_t mb : {std::size_t{1}, std::size_t{64}})
        for (bool mixed : {false, true})
            for (const Entry& e : entries) {
                std::string name = std::string(e.name) + "/" + std::to_string(mb) + "MB/" +
                                   (mixed ? "mixed" : "ascii");
                auto* b = benchmark::RegisterBenchmark(name.c_str(), e.fn, mb, mixed);
                b->Unit(benchmark::kMillisecond);
                if (mb > 1)
                    b->MinTime(2.0);
            }
}

} // namespace

int main(int argc, char** argv) {
    platform::sim::ResetFiles();
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
