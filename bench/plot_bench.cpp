// Speed of the plot engine: sampling one curve against the engine's own evaluation of the
// same term, and a curve full of poles; the full redraw of the main plot (sampling, fit,
// mapping, drawing, grid) for the interactive case and for ten dense curves, and one
// animation step.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/notifier.h"
#include "engine/function_parser.h"
#include "engine/parser_declarations.h"
#include "plot/animation.h"
#include "plot/plot_session.h"
#include "plot/sampling.h"
#include "plot/session_observer.h"

namespace {

using pc::Extended;

// A catalogue with `count` items SIN(X)*X+K, K = 1..count, at `points` points each, and
// the two plot surfaces around it, the main one laid out for `width` x `height`. With
// `members` > 1 every item is the family SIN(X)*X+A instead, A taking `members` values.
struct Picture {
    Picture(int count, int points, int width, int height, int members = 1)
        : catalogue(notifier), manager(catalogue), session(catalogue, notifier), observer(session) {
        catalogue.SetObserver(&observer);
        for (int k = 1; k <= count; ++k) {
            // Appended piece by piece: GCC 12 warns wrongly about a chain of + here.
            std::string line = "F";
            line += std::to_string(k);
            line += "(X)=SIN(X)*X+";
            line += members > 1 ? std::string("A") : std::to_string(k);
            manager.SetInputLine(line);
            manager.Enter();
            if (members > 1)
                catalogue.Parameters().SetAutomaticCount("A", members);
            manager.SelectDefinition(k - 1);
            manager.Drop(k - 1, 5);
        }
        for (const auto& item : catalogue.Items()) item->SetStuetzstellen(points);
        catalogue.SetCurrentItem(catalogue.Items().front().get());
        session.main.view.phimin = -10;
        session.main.view.phimax = 10;
        session.main.view.ready = true;
        session.Layout(session.main, pc::PanelGeometry{width, height, 0, 0});
    }

    pc::SilentNotifier notifier;
    pc::Catalogue catalogue;
    pc::FunctionManager manager;
    pc::PlotSession session;
    pc::SessionObserver observer;
};

constexpr int kSamplePoints = 100000;

// The term alone: set X, evaluate, as many times as the sampling below.
void EngineSinx(benchmark::State& state) {
    pc::TParserDeclarations declarations;
    pc::TFunctionParser parser;
    parser.SetDeclarations(&declarations);
    parser.SetTerm("F1(X)=SIN(X)*X+1");
    const Extended step = 20.0L / (kSamplePoints - 1);
    for (auto _ : state) {
        Extended sum = 0;
        for (int k = 0; k < kSamplePoints; ++k) {
            parser.SetVariable("X", k * step - 10);
            sum += parser.Value();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kSamplePoints);
}

// Sampling one item of `definition`: SIN(X)*X+1 costs the pole check a few evaluations,
// TAN(3000*X) passes a pole every five samples or so, its worst case.
void SampleTerm(benchmark::State& state, const char* definition) {
    Picture picture(1, kSamplePoints, 1200, 800);
    picture.manager.SetInputLine(definition);
    picture.manager.Enter();
    pc::TFktItem& item = *picture.catalogue.Items().front();
    pc::TPointArray& points = item.FeldListenListeM.front();
    const pc::VariableSteps steps =
        pc::StepsOf(picture.session.main.view, pc::GridType::gtLinLin, item);
    for (auto _ : state) {
        pc::SamplePointList(picture.catalogue, item, steps, points);
        benchmark::DoNotOptimize(points);
    }
    state.SetItemsProcessed(state.iterations() * kSamplePoints);
}

// The new drawing unless `classic`; 10 x 10000 must stay under 33 ms, one frame of 30 a
// second while the preview's rectangle is dragged.
void Redraw(benchmark::State& state, int count, int points, bool classic) {
    Picture picture(count, points, 1200, 800);
    picture.session.SetClassicDrawing(classic);
    for (auto _ : state) {
        picture.session.RedrawSurface(picture.session.main);
        benchmark::DoNotOptimize(picture.session.main.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * count * points);
}

// One tick of the animation: the shown member of a family of 20 curves of 2000 points
// erased and the next drawn. At the fastest speed the timer asks for one every 1 ms.
void AnimateFamily(benchmark::State& state) {
    constexpr int kMembers = 20;
    constexpr int kPoints = 2000;
    Picture picture(1, kPoints, 1200, 800, kMembers);
    const pc::TFktItem& family = *picture.catalogue.Items().front();
    if (!family.Animated || family.FeldListenListeM.size() != kMembers) {
        state.SkipWithError("the item is not a family of 20 members");
        return;
    }
    picture.session.RedrawSurface(picture.session.main);
    pc::StartAnimation(picture.session, true);
    for (auto _ : state) {
        pc::AnimationStep(picture.session, pc::AnimationSender::Timer, true);
        benchmark::DoNotOptimize(picture.session.main.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 2 * kPoints);  // erased and drawn
}

}  // namespace

BENCHMARK(EngineSinx)->Name("Engine/sinx/100000")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SampleTerm, sinx, "F1(X)=SIN(X)*X+1")
    ->Name("Sample/sinx/100000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SampleTerm, tan3000x, "F1(X)=TAN(3000*X)")
    ->Name("Sample/tan3000x/100000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, 1x2000, 1, 2000, false)
    ->Name("Redraw/1x2000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, 10x10000, 10, 10000, false)
    ->Name("Redraw/10x10000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, 10x10000 classic, 10, 10000, true)
    ->Name("Redraw/10x10000/classic")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Redraw, 10x100000, 10, 100000, false)
    ->Name("Redraw/10x100000")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(AnimateFamily)->Name("Animation/step/20x2000")->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
