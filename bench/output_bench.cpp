// Speed of the picture's export: the main plot of ten dense curves written as an SVG file
// (painting through the generator, encoding and the staged write), against the 2 s a user
// waits at most for it; the same picture as a PNG at scale 2 beside it for comparison.

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/notifier.h"
#include "plot/image_file.h"
#include "plot/plot_session.h"
#include "plot/session_observer.h"

namespace {

// Ten items SIN(X)*X+K, K = 1..10, at `points` points each, sampled and drawn once in the
// new drawing on a main plot laid out for 1200 x 800.
struct TenCurves {
    explicit TenCurves(int points)
        : catalogue(notifier), manager(catalogue), session(catalogue, notifier), observer(session) {
        catalogue.SetObserver(&observer);
        for (int k = 1; k <= 10; ++k) {
            std::string line = "F";
            line += std::to_string(k);
            line += "(X)=SIN(X)*X+";
            line += std::to_string(k);
            manager.SetInputLine(line);
            manager.Enter();
            manager.SelectDefinition(k - 1);
            manager.Drop(k - 1, 5);
        }
        for (const auto& item : catalogue.Items()) item->SetStuetzstellen(points);
        catalogue.SetCurrentItem(catalogue.Items().front().get());
        session.SetClassicDrawing(false);
        session.main.view.phimin = -10;
        session.main.view.phimax = 10;
        session.main.view.ready = true;
        session.Layout(session.main, pc::PanelGeometry{1200, 800, 0, 0});
        session.RedrawSurface(session.main);
    }

    pc::SilentNotifier notifier;
    pc::Catalogue catalogue;
    pc::FunctionManager manager;
    pc::PlotSession session;
    pc::SessionObserver observer;
};

void Export(benchmark::State& state, const char* name, double scale) {
    TenCurves picture(100000);
    QTemporaryDir folder;
    const std::string path = folder.filePath(QString::fromLatin1(name)).toStdString();
    pc::PlotSurface& surface = picture.session.main;
    const pc::PixelSize size{surface.controlWidth, surface.controlHeight};
    for (auto _ : state) {
        std::string error;
        if (!pc::SavePicture(picture.session, surface, size, scale, path, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * 10 * 100000);
    state.counters["bytes"] = static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
}

}  // namespace

BENCHMARK_CAPTURE(Export, svg, "plot.svg", 1.0)
    ->Name("Export/svg/10x100000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Export, png2, "plot.png", 2.0)
    ->Name("Export/png-scale2/10x100000")
    ->Unit(benchmark::kMillisecond);
