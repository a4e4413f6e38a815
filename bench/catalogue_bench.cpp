// Catalogue work as a large catalogue makes it: entering functions one by one through
// the function manager (with its re-entry of the whole list), loading a large function
// file, deleting in the middle of a call chain, changing a function many others call,
// the catalogue's part of a redraw of many items, and the value table of a large family.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_file.h"
#include "catalogue/function_manager.h"
#include "catalogue/funktion.h"
#include "catalogue/notifier.h"
#include "catalogue/value_export.h"

namespace {

std::string Name(int k) {
    return "F" + std::to_string(k);
}

// Each function on its own, or each calling the one before.
std::string Line(int k, bool chain) {
    std::string line = Name(k);
    line += "(X)=";
    if (chain && k > 0) {
        line += Name(k - 1);
        line += "(X)+1";
    } else {
        line += "SIN(X)+";
        line += std::to_string(k);
    }
    return line;
}

struct Desk {
    Desk() : catalogue(notifier), manager(catalogue) {}

    void Enter(const std::string& line) {
        manager.SetInputLine(line);
        manager.Enter();
    }
    // An item showing `function`, with `points` calculation points.
    void AddItem(pc::TFunktion& function, int points) {
        auto item = std::make_unique<pc::TFktItem>();
        item->Funktion1 = &function;
        item->SetStuetzstellen(points);
        item->valid = item->Darstellung = function.valid;
        catalogue.AddItem(std::move(item));
    }

    pc::SilentNotifier notifier;
    pc::Catalogue catalogue;
    pc::FunctionManager manager;
};

void EnterOneByOne(benchmark::State& state, bool chain) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Desk desk;
        for (int k = 0; k < count; ++k) desk.Enter(Line(k, chain));
        benchmark::DoNotOptimize(desk.catalogue.Functions().size());
    }
}

void BM_EnterIndependent(benchmark::State& state) {
    EnterOneByOne(state, false);
}
BENCHMARK(BM_EnterIndependent)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_EnterChain(benchmark::State& state) {
    EnterOneByOne(state, true);
}
BENCHMARK(BM_EnterChain)->Arg(1000)->Unit(benchmark::kMillisecond);

// The lines of a function file with `functions` functions (every tenth calling the one
// before) and `items` items spread over them.
std::vector<std::string> FileLines(int functions, int items) {
    Desk desk;
    for (int k = 0; k < functions; ++k) desk.catalogue.EnterDefinition(Line(k, k % 10 != 0));
    for (int i = 0; i < items; ++i)
        desk.AddItem(*desk.catalogue.Functions()[static_cast<std::size_t>(i % functions)], 10);
    return pc::BuildFunctionFile(desk.catalogue, pc::FunctionFileView{});
}

void BM_LoadFunctionFile(benchmark::State& state) {
    const std::vector<std::string> lines =
        FileLines(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        Desk desk;
        const pc::FunctionFileResult result = pc::ParseFunctionFile(desk.catalogue, lines);
        benchmark::DoNotOptimize(result.outcome);
    }
}
BENCHMARK(BM_LoadFunctionFile)->Args({5000, 0})->Args({100, 20000})->Unit(benchmark::kMillisecond);

void BM_DeleteInTheMiddleOfAChain(benchmark::State& state) {
    const int length = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto desk = std::make_unique<Desk>();
        for (int k = 0; k < length; ++k) desk->catalogue.EnterDefinition(Line(k, true));
        pc::TFunktion* middle = desk->catalogue.FindFunctionByName(Name(length / 2));
        state.ResumeTiming();
        desk->catalogue.DeleteFunction(*middle);
        state.PauseTiming();
        desk.reset();
        state.ResumeTiming();
    }
}
// The set-up outweighs the measured part by far: a few runs tell enough.
BENCHMARK(BM_DeleteInTheMiddleOfAChain)->Arg(2000)->Iterations(5)->Unit(benchmark::kMillisecond);

// One function called by `count` others: redefined through the manager, then deleted.
void BM_FanOut(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto desk = std::make_unique<Desk>();
        desk->catalogue.EnterDefinition("G(X)=X*A");
        for (int k = 0; k < count; ++k)
            desk->catalogue.EnterDefinition(Name(k) + "(X)=G(X)+" + std::to_string(k));
        state.ResumeTiming();
        desk->Enter("G(X)=X*B");
        desk->catalogue.DeleteFunction(*desk->catalogue.FindFunctionByName("G"));
        state.PauseTiming();
        desk.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FanOut)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond);

// What the catalogue does for a redraw of `items` items over 100 functions: compile,
// recheck the items, and count each item's point arrays as the sampling does.
void BM_RedrawCatalogueWork(benchmark::State& state) {
    Desk desk;
    for (int k = 0; k < 100; ++k) desk.catalogue.EnterDefinition(Line(k, k % 10 != 0));
    for (int i = 0; i < state.range(0); ++i)
        desk.AddItem(*desk.catalogue.Functions()[static_cast<std::size_t>(i % 100)], 10);
    for (auto _ : state) {
        desk.catalogue.CompileAll();
        desk.catalogue.RevalidateItems();
        std::int64_t arrays = 0;
        for (const auto& item : desk.catalogue.Items()) arrays += desk.catalogue.ArrayCount(*item);
        benchmark::DoNotOptimize(arrays);
    }
}
BENCHMARK(BM_RedrawCatalogueWork)->Arg(10000)->Unit(benchmark::kMillisecond);

// The value table of a family of 20 curves of 100000 points each (2 million lines): what
// the writer thread does while its progress window shows.
void BM_WriteValueTable(benchmark::State& state) {
    pc::TPointArrayList arrays;
    for (int curve = 0; curve < 20; ++curve) {
        std::vector<pc::TFeldfty> records(static_cast<std::size_t>(state.range(0)));
        for (std::size_t i = 0; i < records.size(); ++i)
            records[i] = {.x = i * 1e-5L, .y = curve + 1.0L / (i + 1), .valid = true};
        arrays.emplace_back(std::move(records));
    }
    const std::string path =
        (std::filesystem::temp_directory_path() / "plotcraftsman-bench.tfx").string();
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(pc::WriteValueTable(arrays, path, {}, error));
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteValueTable)->Arg(100000)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
