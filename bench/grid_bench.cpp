// The grid list of one redraw of a 1200 x 800 main plot, built as the classic drawing
// builds it and for the new drawing, whose labels are written in one form per axis and
// placed inside the picture: what the new labels add to every redraw.

#include <benchmark/benchmark.h>

#include <vector>

#include "catalogue/notifier.h"
#include "plot/grid.h"
#include "plot/plot_surface.h"

namespace {

using pc::Extended;
using pc::GridType;

void BuildSurfaceGridList(benchmark::State& state, GridType type, Extended lo, Extended hi,
                          bool classic) {
    pc::PlotSurface surface(pc::SurfaceKind::Main);
    surface.LayoutPlotArea(pc::PanelGeometry{1200, 800, 0, 0}, type);
    pc::SilentNotifier silent;
    std::vector<pc::TLineitem> grid;
    for (auto _ : state) {
        pc::PlotView view = surface.view;
        view.SetRange({lo, hi, lo, hi, lo, hi});
        pc::GridContext context{view, type, surface.look, surface.Measure(), silent, classic};
        pc::BuildGrid(context, grid);
        benchmark::DoNotOptimize(grid.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(grid.size()));
}

}  // namespace

BENCHMARK_CAPTURE(BuildSurfaceGridList, LinClassic, GridType::gtLinLin, -10, 10, true)
    ->Name("Grid/lin/classic")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildSurfaceGridList, LinNew, GridType::gtLinLin, -10, 10, false)
    ->Name("Grid/lin/new")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildSurfaceGridList, LogClassic, GridType::gtLogLog, 1e-3L, 1e3L, true)
    ->Name("Grid/loglog/classic")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildSurfaceGridList, LogNew, GridType::gtLogLog, 1e-3L, 1e3L, false)
    ->Name("Grid/loglog/new")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildSurfaceGridList, PolarClassic, GridType::gtPolar, -1, 1, true)
    ->Name("Grid/polar/classic")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildSurfaceGridList, PolarNew, GridType::gtPolar, -1, 1, false)
    ->Name("Grid/polar/new")
    ->Unit(benchmark::kMicrosecond);
