// mediacheck must find no error exactly when Setup accepts the medium. Both
// run here over a few thousand generated media, many of them mutated into
// ill-formed XML, from a fixed seed so that every run checks the same media.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimSystem.h"
#include "tools/mediacheck/MediumCheck.h"
#include "tools/mediacheck/ReportOutput.h"
#include "wizard/CatalogueLoader.h"

namespace {

// The generated names and paths are ASCII.
std::u16string Wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

constexpr std::uint32_t Seed = 20261210;
constexpr int Media = 3000;

// Files a catalogue may name; each medium holds a random few of them.
const std::array<std::string, 8> FilePool = {
    "drv.dll", "sub\\data.gpd", "ui.dll", "help.hlp", "sub\\dep.dll", "dep.dll", "sub", " drv.dll",
};

class CMediumGenerator {
  public:
    explicit CMediumGenerator(std::uint32_t seed) : m_random(seed) {}

    // The files of the medium (relative) and its config.xml.
    std::vector<std::string> files;
    std::string xml;

    void Next() {
        files.clear();
        for (const std::string& file : FilePool)
            if (Chance(70))
                files.push_back(file);
        xml = Chance(10) ? "\xEF\xBB\xBF" : "";
        if (Chance(30))
            xml += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
        std::string root = Pick<std::string>({"Printers", "Printers", "Printers", "printers"});
        xml += "<" + root + ">\n";
        for (int model = Below(4); model > 0; --model)
            Model();
        if (Chance(10))
            xml += "  <printer name=\"x\"/>\n";
        xml += "</" + root + ">\n";
        if (Chance(40))
            Mutate();
    }

  private:
    bool Chance(int percent) { return Below(100) < percent; }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    template <class T> T Pick(std::initializer_list<T> values) {
        return *(values.begin() + Below(static_cast<int>(values.size())));
    }

    void Model() {
        xml += "  <Printer";
        if (!Chance(10)) {
            std::string name = Pick<std::string>({"A", "B", "Varnoquill", "a,b", ""});
            if (Chance(5))
                name = std::string(500, 'n');
            xml += " name=\"" + name + "\"";
        }
        xml += ">\n";
        for (int set = Below(4); set > 0; --set) {
            std::string arch = Pick<std::string>({"amd64", "i386", "ia64", "Amd64", "Other"});
            xml += "    <" + arch + ">";
            for (int element = Below(6); element > 0; --element) {
                std::string name = Pick<std::string>(
                    {"Driver", "Data", "Config", "Help", "DependsFile", "Paper", "driver", "Note"});
                std::string text = FilePool[static_cast<std::size_t>(Below(FilePool.size()))];
                if (Chance(5))
                    text = std::string(260, 'p');
                else if (Chance(5))
                    text.clear();
                xml += "<" + name + ">" + text + "</" + name + ">";
            }
            xml += "</" + arch + ">\n";
        }
        xml += "  </Printer>\n";
    }

    void Mutate() {
        static const std::string Pieces[] = {"<", ">",          "/",        "&",   "'", "\"",
                                             "!", "?",          "-",        "[",   "]", " ",
                                             "x", "</Printer>", "<Driver>", "\r\n"};
        for (int edits = 1 + Below(3); edits > 0 && !xml.empty(); --edits) {
            std::size_t at = static_cast<std::size_t>(Below(static_cast<int>(xml.size())));
            switch (Below(4)) {
            case 0:
                xml.erase(at, static_cast<std::size_t>(1 + Below(8)));
                break;
            case 1:
                xml.insert(at, Pieces[static_cast<std::size_t>(Below(std::size(Pieces)))]);
                break;
            case 2:
                xml.insert(at, xml.substr(at / 2, static_cast<std::size_t>(Below(20))));
                break;
            default:
                xml.resize(at);
                break;
            }
        }
    }

    std::mt19937 m_random;
};

TEST(Agreement, MediacheckFindsNoErrorExactlyWhenSetupAcceptsTheMedium) {
    platform::sim::ResetMachine();
    CMediumGenerator generator(Seed);
    int accepted = 0;
    for (int medium = 0; medium < Media; ++medium) {
        generator.Next();
        const std::u16string folder = u"C:\\media\\" + Wide(std::to_string(medium));
        auto put = [&](const std::string& relative, const std::string& bytes) {
            platform::sim::PutFile(folder + u"\\" + Wide(relative), bytes);
        };
        for (const std::string& file : generator.files)
            put(file == "sub" ? "sub\\keep" : file, "file");
        if (medium % 50 == 7)
            put("config.xml\\inside", ""); // config.xml is a folder
        else if (medium % 50 != 13)        // none at all
            put("config.xml", generator.xml);

        platform::sim::SetModuleFileName(folder + u"\\Setup.exe");
        PrinterCatalogue catalogue;
        const bool setupAccepts = LoadCatalogue(catalogue);
        const MediumReport report = CheckMedium(folder);

        ASSERT_EQ(report.Count(Severity::Error) == 0, setupAccepts) << "medium " << medium << ":\n"
                                                                    << generator.xml << "\n"
                                                                    << ReportText(report);
        ASSERT_EQ(report.setupAccepts, setupAccepts) << "medium " << medium;
        ASSERT_EQ(ExitCodeOf(report) != ExitRefused, setupAccepts) << "medium " << medium;
        accepted += setupAccepts ? 1 : 0;
    }
    // Both answers must be common, or the media prove little.
    std::printf("agreement: %d media, %d accepted by Setup, %d refused\n", Media, accepted,
                Media - accepted);
    EXPECT_GT(accepted, Media / 10);
    EXPECT_GT(Media - accepted, Media / 10);
}

} // namespace
