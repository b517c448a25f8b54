#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimUnicode.h"
#include "wizard/CatalogueLoader.h"
#include "xml/XmlDocument.h"

namespace {

using platform::sim::PutFile;
using platform::sim::ToUtf8;

const char* RoleName(CatalogueRole role) {
    switch (role) {
    case CatalogueRole::Document:
        return "Document";
    case CatalogueRole::Printers:
        return "Printers";
    case CatalogueRole::Printer:
        return "Printer";
    case CatalogueRole::FileSet:
        return "FileSet";
    case CatalogueRole::Driver:
        return "Driver";
    case CatalogueRole::Data:
        return "Data";
    case CatalogueRole::Config:
        return "Config";
    case CatalogueRole::Help:
        return "Help";
    case CatalogueRole::DependsFile:
        return "DependsFile";
    case CatalogueRole::Paper:
        return "Paper";
    case CatalogueRole::Skipped:
        return "Skipped";
    }
    return "?";
}

const char* FaultName(CatalogueFault fault) {
    switch (fault) {
    case CatalogueFault::ModulePathUnknown:
        return "ModulePathUnknown";
    case CatalogueFault::NoSetupFolder:
        return "NoSetupFolder";
    case CatalogueFault::CataloguePathTooLong:
        return "CataloguePathTooLong";
    case CatalogueFault::CatalogueMissing:
        return "CatalogueMissing";
    case CatalogueFault::DocumentNotLoaded:
        return "DocumentNotLoaded";
    case CatalogueFault::NoPrintersElement:
        return "NoPrintersElement";
    case CatalogueFault::ModelNameTooLong:
        return "ModelNameTooLong";
    case CatalogueFault::FilePathTooLong:
        return "FilePathTooLong";
    case CatalogueFault::FileMissing:
        return "FileMissing";
    }
    return "?";
}

// Writes down what it hears, one line per report, so that a test compares
// the whole walk and a failure shows it.
class CRecordingObserver : public ICatalogueObserver {
  public:
    explicit CRecordingObserver(CatalogueWalk answer) : m_answer(answer) {}

    void OnDocument(const xml::XmlDocument& document, bool loaded) override {
        m_text = document.Text();
        lines.push_back(std::string("document ") + (loaded ? "loaded" : "not loaded"));
    }
    void OnElement(const CatalogueElement& element) override {
        // The offset is checked here, not written down: it must be the "<".
        EXPECT_EQ(m_text.substr(static_cast<std::size_t>(element.offset), 1), u"<");
        std::string line = std::string(RoleName(element.role)) + " " + ToUtf8(element.tagName) +
                           " in " + RoleName(element.within);
        if (element.within != CatalogueRole::Document && element.within != CatalogueRole::Printers)
            line +=
                " model " + std::to_string(element.model) + " '" + ToUtf8(element.modelName) + "'";
        if (!element.architecture.empty())
            line += " " + ToUtf8(element.architecture);
        if (!element.text.empty())
            line += " text '" + ToUtf8(element.text) + "'";
        lines.push_back(line);
    }
    void OnPathTested(const CataloguePathTest& test) override {
        lines.push_back("path " + ToUtf8(test.path) + (test.exists ? " exists" : " missing"));
    }
    void OnModel(const PrinterModel& model, const CatalogueElement& printer) override {
        EXPECT_EQ(model.name, printer.modelName);
        lines.push_back("model " + ToUtf8(model.name));
    }
    CatalogueWalk OnFailure(const CatalogueFailure& failure) override {
        std::string line = std::string("failure ") + FaultName(failure.fault);
        if (!failure.path.empty())
            line += " " + ToUtf8(failure.path);
        if (failure.element)
            line += " at " + std::string(RoleName(failure.element->role));
        lines.push_back(line);
        return m_answer;
    }

    std::vector<std::string> lines;

  private:
    CatalogueWalk m_answer;
    std::u16string m_text;
};

class CatalogueObserver : public ::testing::Test {
  protected:
    void SetUp() override { platform::sim::ResetMachine(); }
    static void Config(std::string_view xml) { PutFile(u"C:\\Setup\\config.xml", xml); }

    // Loads with and without an observer: the result and the catalogue must
    // not depend on whether anyone listens.
    std::vector<std::string> Walk(CatalogueWalk answer, bool expected) {
        PrinterCatalogue plain;
        EXPECT_EQ(LoadCatalogue(plain), expected);
        CRecordingObserver observer(answer);
        EXPECT_EQ(LoadCatalogue(catalogue, &observer), expected);
        if (answer == CatalogueWalk::Stop) {
            EXPECT_EQ(catalogue, plain);
        }
        return observer.lines;
    }

    PrinterCatalogue catalogue;
};

constexpr std::string_view ThreeFaults = R"(<Printers>
  <Printer name="A">
    <amd64><Driver>drv.dll</Driver><Data>absent.gpd</Data><driver>x</driver></amd64>
  </Printer>
  <printer name="lower"/>
  <Printer name="B"><i386><Paper></Paper><DependsFile>gone.dll</DependsFile></i386></Printer>
  <Printer name="C"><ia64><Help>gone.hlp</Help></ia64><Notes/></Printer>
</Printers>)";

TEST_F(CatalogueObserver, HearsTheWholeWalk) {
    Config(ThreeFaults);
    PutFile(u"C:\\Setup\\drv.dll", "file");
    EXPECT_EQ(Walk(CatalogueWalk::KeepWalking, false),
              (std::vector<std::string>{
                  "path C:\\Setup\\config.xml exists",
                  "document loaded",
                  "Printers Printers in Document",
                  "Printer Printer in Printers",
                  "FileSet amd64 in Printer model 0 'A' amd64",
                  "Driver Driver in FileSet model 0 'A' amd64 text 'drv.dll'",
                  "path C:\\Setup\\drv.dll exists",
                  "Data Data in FileSet model 0 'A' amd64 text 'absent.gpd'",
                  "path C:\\Setup\\absent.gpd missing",
                  "failure FileMissing C:\\Setup\\absent.gpd at Data",
                  "Skipped driver in FileSet model 0 'A' amd64",
                  "model A",
                  "Skipped printer in Printers",
                  "Printer Printer in Printers",
                  "FileSet i386 in Printer model 1 'B' i386",
                  "Paper Paper in FileSet model 1 'B' i386",
                  "DependsFile DependsFile in FileSet model 1 'B' i386 text 'gone.dll'",
                  "path C:\\Setup\\gone.dll missing",
                  "failure FileMissing C:\\Setup\\gone.dll at DependsFile",
                  "model B",
                  "Printer Printer in Printers",
                  "FileSet ia64 in Printer model 2 'C' ia64",
                  "Help Help in FileSet model 2 'C' ia64 text 'gone.hlp'",
                  "path C:\\Setup\\gone.hlp missing",
                  "failure FileMissing C:\\Setup\\gone.hlp at Help",
                  "Skipped Notes in Printer model 2 'C'",
                  "model C",
              }));
    EXPECT_EQ(catalogue.size(), 3u);
}

TEST_F(CatalogueObserver, StopEndsTheWalkWhereSetupStops) {
    Config(ThreeFaults);
    PutFile(u"C:\\Setup\\drv.dll", "file");
    std::vector<std::string> lines = Walk(CatalogueWalk::Stop, false);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "failure FileMissing C:\\Setup\\absent.gpd at Data");
    EXPECT_TRUE(catalogue.empty());
}

TEST_F(CatalogueObserver, LongModelNameIsWalkedPast) {
    std::string name(MaxModelNameLength + 1, 'n');
    Config("<Printers><Printer name='" + name +
           "'><i386><Driver>gone.dll</Driver></i386>"
           "</Printer></Printers>");
    std::vector<std::string> lines = Walk(CatalogueWalk::KeepWalking, false);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "failure ModelNameTooLong at Printer"), 1);
    EXPECT_EQ(lines.back(), "model " + name);
}

// Failures before the models: nothing to walk on to, whatever the answer.
struct EarlyFailure {
    const char* name;
    std::string_view xml; // empty: no config.xml at all
    std::vector<std::string> lines;
};

void PrintTo(const EarlyFailure& row, std::ostream* out) {
    *out << row.name;
}

const EarlyFailure EarlyFailures[] = {
    {"NoCatalogue",
     "",
     {"path C:\\Setup\\config.xml missing", "failure CatalogueMissing C:\\Setup\\config.xml"}},
    {"IllFormed",
     "<Printers><Printer></Printers>",
     {"path C:\\Setup\\config.xml exists", "document not loaded",
      "failure DocumentNotLoaded C:\\Setup\\config.xml"}},
    {"RootInAnotherCase",
     "<!-- x --><printers/>",
     {"path C:\\Setup\\config.xml exists", "document loaded", "Skipped printers in Document",
      "failure NoPrintersElement"}},
};

class EarlyFailureTest : public CatalogueObserver,
                         public ::testing::WithParamInterface<EarlyFailure> {};

TEST_P(EarlyFailureTest, EndsTheWalk) {
    if (!GetParam().xml.empty())
        Config(GetParam().xml);
    EXPECT_EQ(Walk(CatalogueWalk::KeepWalking, false), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Reasons, EarlyFailureTest, ::testing::ValuesIn(EarlyFailures),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
