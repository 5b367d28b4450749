// The import of the generated 10,000-file tree as the Import command runs it (the questions
// through the dialogs, which the fake runner accepts with their defaults, and the progress
// window shown, offscreen) against the same import without a window, in one run.

#include <benchmark/benchmark.h>

#include <QDialog>
#include <QWidget>

#include <filesystem>

#include "benchfolder.h"
#include "benchtree.h"
#include "db/dbquery.h"
#include "db/librarydb.h"
#include "import/importdlgs.h"
#include "import/tagworkers.h"
#include "qtbench.h"

namespace {

template <typename MakeQuestions>
void ImportTree(benchmark::State& state, MakeQuestions makeQuestions) {
    const SongTree& tree = GeneratedTree();
    CBenchFolder folder("window-import");
    CTagWorkers workers;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove("Cadenzo.mdb");
        CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
        state.ResumeTiming();
        {
            auto questions = makeQuestions();
            PathStack paths{tree.root};
            db.ImportFolder(paths, *questions, workers);
        }
        state.PauseTiming();
        if (CDbQuery(db, "SELECT * FROM Songs").GetCount() != static_cast<long>(tree.files.size())) {
            state.SkipWithError("not every song was imported");
        }
        state.ResumeTiming();
    }
}

void BM_ImportHeadless(benchmark::State& state) {
    ImportTree(state, [] { return std::make_unique<CDefaultAnswers>(); });
}
BENCHMARK(BM_ImportHeadless)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportThroughTheWindow(benchmark::State& state) {
    QWidget window;
    window.show();
    ImportTree(state, [&window] {
        return std::make_unique<CImportDialogs>([](QDialog&) { return QDialog::Accepted; }, &window);
    });
}
BENCHMARK(BM_ImportThroughTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}
