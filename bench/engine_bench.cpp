// Evaluation speed of the engine against the limit a compiler reaches (the same terms
// hand-written with long double and glibc's 80-bit functions) and against muparser
// (double precision). One iteration evaluates a term at 1,000,000 evenly spaced X in
// [-10, 10]; after the run the medians are printed side by side as ratios.

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/function_parser.h"
#include "engine/parser_declarations.h"

namespace {

using pc::Extended;

constexpr int kPoints = 1000000;

struct Term {
    const char* name;
    const char* definition;        // the engine's spelling
    const char* muparser;          // muparser's spelling of the same term
    Extended (*native)(Extended);  // the term written in C++
};

Extended NativeSinx(Extended x) {
    return sinl(x) * x + 1;
}
Extended NativePoly(Extended x) {
    return x * x + 3 * x - 5;
}
Extended NativeGauss(Extended x) {
    return expl(-x * x / 2) * cosl(3 * x);
}
Extended NativeIfsqrt(Extended x) {
    return x > 0 ? sqrtl(fabsl(x)) : x;
}

const Term kTerms[] = {
    {"sinx", "F(X)=SIN(X)*X+1", "sin(X)*X+1", NativeSinx},
    {"poly", "F(X)=X^2+3*X-5", "X^2+3*X-5", NativePoly},
    {"gauss", "F(X)=EXP(-X*X/2)*COS(3*X)", "exp(-X*X/2)*cos(3*X)", NativeGauss},
    {"ifsqrt", "F(X)=IF(X>0;SQRT(ABS(X));X)", "X>0 ? sqrt(abs(X)) : X", NativeIfsqrt},
};

const std::vector<Extended>& Points() {
    static const std::vector<Extended> points = [] {
        std::vector<Extended> p(kPoints);
        for (int i = 0; i < kPoints; ++i) {
            p[static_cast<std::size_t>(i)] = -10 + 20.0L * i / (kPoints - 1);
        }
        return p;
    }();
    return points;
}

void Engine(benchmark::State& state, const Term& term) {
    pc::TParserDeclarations declarations;
    pc::TFunctionParser parser;
    parser.SetDeclarations(&declarations);
    parser.SetTerm(term.definition);
    if (parser.AnalyseStatus() != pc::ParserStatus::Ok) {
        state.SkipWithError("the term does not compile");
        return;
    }
    const std::vector<Extended>& points = Points();
    for (auto _ : state) {
        Extended sum = 0;
        for (Extended x : points) {
            parser.SetVariable("X", x);
            sum += parser.Value();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void Native(benchmark::State& state, const Term& term) {
    const std::vector<Extended>& points = Points();
    Extended (*const volatile function)(Extended) = term.native;  // no inlining into the loop
    Extended (*const f)(Extended) = function;
    for (auto _ : state) {
        Extended sum = 0;
        for (Extended x : points) {
            sum += f(x);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void Muparser(benchmark::State& state, const Term& term) {
    std::vector<double> points(Points().begin(), Points().end());
    double x = 0;
    mu::Parser parser;
    parser.DefineVar("X", &x);
    parser.SetExpr(term.muparser);
    for (auto _ : state) {
        double sum = 0;
        for (double value : points) {
            x = value;
            sum += parser.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

// GAMMA per call, at points across (-4.5, 5.5) that avoid its poles.
void Gamma(benchmark::State& state) {
    pc::TParserDeclarations declarations;
    pc::TFunctionParser parser;
    parser.SetDeclarations(&declarations);
    parser.SetTerm("F(X)=GAMMA(X)");
    const int x = parser.VariableIndex("X");
    constexpr int kCalls = 1000;
    for (auto _ : state) {
        Extended sum = 0;
        for (int i = 0; i < kCalls; ++i) {
            parser.SetVariableAt(x, -4.5L + 10.0L * i / kCalls + 0.0005L);
            sum += parser.Value();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kCalls);
}
BENCHMARK(Gamma)->Unit(benchmark::kMicrosecond);

// Declaring functions one line at a time, as the function manager enters them: each new
// line and an update. Independent functions, and a chain in which each calls the one
// before. Reported per declaration.
void Declare(benchmark::State& state, bool chain) {
    constexpr int kFunctions = 1000;
    std::vector<std::string> lines;
    for (int k = 0; k < kFunctions; ++k) {
        const std::string name = "F" + std::to_string(k);
        lines.push_back(chain && k > 0 ? name + "(X)=F" + std::to_string(k - 1) + "(X)+1"
                                       : name + "(X)=SIN(X)+" + std::to_string(k));
    }
    for (auto _ : state) {
        pc::TParserDeclarations declarations;
        for (const std::string& line : lines) {
            declarations.InsertFunctionLine(declarations.Functions().size(), line);
            declarations.UpdateDeclarations();
        }
        benchmark::DoNotOptimize(declarations.Message());
    }
    state.SetItemsProcessed(state.iterations() * kFunctions);
}
BENCHMARK_CAPTURE(Declare, Independent, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Declare, Chain, true)->Unit(benchmark::kMillisecond);

// Keeps the console output and remembers each benchmark's median for the ratio table.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_medians[run.run_name.str()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\n%-8s %14s %14s %14s %12s %12s\n", "term", "Engine ns/pt", "Native ns/pt",
                    "Muparser ns/pt", "Eng/Native", "Eng/Muparser");
        for (const Term& term : kTerms) {
            const double engine = Median("Engine", term.name);
            const double native = Median("NativeLongDouble", term.name);
            const double muparser = Median("Muparser", term.name);
            if (engine <= 0 || native <= 0 || muparser <= 0) {
                continue;  // not run (filtered) or no repetitions
            }
            // Medians are per iteration in the reporter's unit (ms); an iteration is kPoints
            // points.
            const double perPoint = 1e6 / kPoints;
            std::printf("%-8s %14.2f %14.2f %14.2f %11.2fx %11.2fx\n", term.name, engine * perPoint,
                        native * perPoint, muparser * perPoint, engine / native, engine / muparser);
        }
        std::printf(
            "targets: Eng/Native <= 1.2 on sinx and gauss; Eng/Muparser <= 2.5 on poly and "
            "ifsqrt\n");
    }

  private:
    double Median(const std::string& family, const std::string& term) const {
        const auto found = m_medians.find(family + "/" + term);
        return found == m_medians.end() ? 0 : found->second;
    }

    std::map<std::string, double> m_medians;
};

}  // namespace

int main(int argc, char** argv) {
    for (const Term& term : kTerms) {
        benchmark::RegisterBenchmark((std::string("Engine/") + term.name).c_str(), Engine, term)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("NativeLongDouble/") + term.name).c_str(), Native,
                                     term)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("Muparser/") + term.name).c_str(), Muparser, term)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
