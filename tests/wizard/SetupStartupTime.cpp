// How long Setup takes on the simulated desktop from its start to the first
// page: the operation page on show with its title, button captions and radio
// buttons' texts. Real (host) time of the program's own work, with the real
// engine and the sample catalogue's shape; prints each run and the minimum,
// median and maximum. A figure to read, not a test with a time limit: it
// fails only when the first page is not what it should be.
//
//   setup_startup_time [RUNS]     (default 25)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimThreads.h"
#include "resources/ResourceIds.h"
#include "wizard/CSetupApp.h"
#include "wizard/EngineAdapter.h"

namespace sim = platform::sim;

namespace {

// The sample medium's shape: two models with their driver files for three
// architectures.
void PutMedium() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Printers>\n";
    for (const char* model : {"Varnoquill", "Varnoquill Mini"}) {
        xml += std::string("  <Printer name=\"") + model + "\">\n";
        for (const char* architecture : {"i386", "amd64", "ia64"}) {
            std::string folder = std::string("drivers\\") + architecture + "\\";
            xml += std::string("    <") + architecture + ">";
            for (const char* tag : {"Driver", "Data", "Config", "Help", "DependsFile"}) {
                std::string file = folder + tag + ".dat";
                xml += std::string("<") + tag + ">" + file + "</" + tag + ">";
                std::u16string path = u"C:\\Setup\\";
                for (char c : file)
                    path += static_cast<char16_t>(c);
                sim::PutFile(path, "file");
            }
            xml += std::string("<Paper>A4</Paper></") + architecture + ">\n";
        }
        xml += "  </Printer>\n";
    }
    xml += "</Printers>\n";
    sim::PutFile(u"C:\\Setup\\config.xml", xml);
}

std::u16string Text(std::int32_t id) {
    auto control = sim::FindControl(id);
    return control ? control->text : u"";
}

// The operation page is on show with every text a person reads there.
bool FirstPageShown() {
    auto frame = sim::ActiveDialog();
    auto page = sim::ShownChildDialog();
    return frame && sim::Snapshot(*frame).text == u"Select Operation" && page &&
           page->templateId == IddOperationPage && Text(IdcNext) == u"Next Step >" &&
           Text(IdcBack) == u"< Prev Step" && Text(IdcCancel) == u"Cancel" &&
           Text(IdcInstall) == u"Install" && Text(IdcUninstall) == u"Uninstall";
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 25;
    if (runs < 1) {
        std::fprintf(stderr, "usage: setup_startup_time [RUNS]\n");
        return 2;
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        sim::ResetMachine();
        PutMedium();
        sim::SetUserDefaultLcid(0x0409);
        bool ended = false;
        auto started = std::chrono::steady_clock::now();
        sim::SpawnThread([&ended] {
            CSetupApp app(MakeInstallEngine);
            // The exit code is of no interest here: the run is cancelled.
            app.Run();
            ended = true;
        });
        sim::Settle();
        bool shown = FirstPageShown();
        auto took = std::chrono::steady_clock::now() - started;
        if (!shown) {
            std::printf("setup_startup_time: run %d: the operation page is not on show\n", run + 1);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::micro>(took).count());
        std::printf("setup_startup_time: run %d: %.0f us\n", run + 1, times.back());
        sim::Click(IdcCancel);
        if (!ended) {
            std::printf("setup_startup_time: Setup did not end on Cancel\n");
            return 1;
        }
    }
    sim::ResetMachine();
    std::sort(times.begin(), times.end());
    std::size_t n = times.size();
    double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("setup_startup_time: start to first page on the simulated desktop, %zu runs: "
                "min %.0f us, median %.0f us, max %.0f us\n",
                n, times.front(), median, times.back());
    return 0;
}
