// Start-up on the 100,000-song synthetic library, with "Ignore Splash" set: the run-time check,
// the library open and the main window up to its first painted view, each timed on its own.
// The library is built once and kept in the temporary folder between runs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "app/maindlg.h"
#include "app/settings.h"
#include "app/startup.h"
#include "benchfolder.h"
#include "import/tagworkers.h"
#include "librarygen.h"
#include "platform/launcher.h"
#include "qtbench.h"

namespace {

const std::filesystem::path kFolder = std::filesystem::temp_directory_path() / "cadenzo-bench-startup";

void BuildOnce() {
    if (std::filesystem::exists(kFolder / "Cadenzo.mdb")) {
        return;
    }
    std::filesystem::create_directories(kFolder);
    std::filesystem::current_path(kFolder);
    InitProgramDirectory();
    CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
    BuildSyntheticLibrary(db, LibraryShape());
    db.RecalcRatings();
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_StartUp(benchmark::State& state) {
    BuildOnce();
    std::filesystem::current_path(kFolder);
    InitProgramDirectory();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(MissingRuntimePart(kTagLibrarySoname, CTagWorkers::DefaultTagWorkerCommand().front()));
        state.counters["check_s"] = Seconds(start);
        const auto opening = std::chrono::steady_clock::now();
        CSettings settings;
        settings.WriteString("Ignore Splash", "Settings", "1");
        COpenedLibrary library = OpenLibrary(settings, BenchMessages());
        state.counters["open_s"] = Seconds(opening);
        const auto filling = std::chrono::steady_clock::now();
        CSpawnLauncher launcher;
        CMainDlg window(settings, std::move(library), BenchMessages(), launcher);
        window.Initialise();
        window.grab();  // the first paint
        state.counters["window_s"] = Seconds(filling);
        state.counters["total_s"] = Seconds(start);
        state.counters["resident_MB"] = ResidentMegabytes();
    }
}
BENCHMARK(BM_StartUp)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}
