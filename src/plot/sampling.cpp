#include "sampling.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/funktion.h"
#include "catalogue/notifier.h"
#include "catalogue/parameter.h"
#include "engine/decimal_log.h"
#include "engine/function_parser.h"

namespace pc {

namespace {

// An evaluator with its variable resolved to a position once, so that a point costs
// one store and one evaluation and looks nothing up by name.
struct BoundEvaluator {
    TFunctionParser* parser = nullptr;
    int variable = -1;  // -1: the term does not know its variable, which then stays 0

    void Set(Extended value) const {
        if (variable >= 0)
            parser->SetVariableAt(variable, value);
    }
    // The value, or a gap when the evaluation fails.
    Extended Value(bool& ok) const {
        const Extended value = parser->Value();
        ok = parser->EvaluationStatus() == ParserStatus::Ok;
        return value;
    }
};

BoundEvaluator Bind(Catalogue& catalogue, const TFunktion* function) {
    BoundEvaluator bound;
    if (!function)
        return bound;
    bound.parser = catalogue.ParserOf(*function);
    if (bound.parser)
        bound.variable = bound.parser->VariableIndex(function->Variable);
    return bound;
}

// Bisections of an interval suspected of a pole: 2^-40 of a sample step is finer than
// any window shows, and still coarser than the extended format resolves.
constexpr int kPoleBisections = 40;
// A jump that falls below this share of the one before is a continuous curve resolving.
constexpr Extended kShrinking = 0.75L;
// A jump that grows beyond this factor is a pole's; one that neither shrinks nor grows
// so far is a step, which stays joined.
constexpr Extended kUnbounded = 1000;
// Neighbouring jumps that differ by rounding alone do not make one of them stand out.
constexpr Extended kStandsOut = 1 + 1e-9L;

// Whether f runs off to infinity between u and w (values fu, fw): the half of the
// interval with the larger jump is kept until the jump shrinks (a continuous curve,
// however steep), grows without bound (a pole) or the bisections end (a step). An
// evaluation that fails between is a break as well.
bool PoleBetween(const BoundEvaluator& f, Extended u, Extended fu, Extended w, Extended fw) {
    const Extended first = std::fabs(fw - fu);
    Extended jump = first;
    for (int i = 0; i < kPoleBisections; ++i) {
        const Extended m = u + (w - u) / 2;
        if (m == u || m == w)
            break;
        f.Set(m);
        bool ok = false;
        const Extended fm = f.Value(ok);
        if (!ok)
            return true;
        const Extended left = std::fabs(fm - fu);
        const Extended right = std::fabs(fw - fm);
        const Extended larger = std::max(left, right);
        if (larger < kShrinking * jump)
            return false;
        if (left >= right) {
            w = m;
            fw = fm;
        } else {
            u = m;
            fu = fm;
        }
        jump = larger;
        if (jump > kUnbounded * first)
            return true;
    }
    return false;
}

// Marks the poles of one coordinate of a filled array. Only the intervals that could
// hold one are bisected, those where the values change sign or whose jump stands out
// from both neighbouring ones, so a smooth curve costs a few evaluations per array.
template <class Record>
void MarkPoles(std::vector<Record>& points, const BoundEvaluator& f, Extended Record::*variable,
               Extended Record::*coordinate) {
    const std::size_t n = points.size();
    const auto jumpAt = [&](std::size_t k) -> Extended {  // into point k from k - 1
        if (k == 0 || k >= n || !points[k - 1].valid || !points[k].valid)
            return 0;
        return std::fabs(points[k].*coordinate - points[k - 1].*coordinate);
    };
    for (std::size_t k = 1; k < n; ++k) {
        const Record& a = points[k - 1];
        Record& b = points[k];
        const Extended jump = jumpAt(k);
        if (!(jump > 0))
            continue;
        const Extended ya = a.*coordinate;
        const Extended yb = b.*coordinate;
        const bool signChange = (ya < 0 && yb > 0) || (ya > 0 && yb < 0);
        const bool standsOut =
            jump > kStandsOut * jumpAt(k - 1) && jump > kStandsOut * jumpAt(k + 1);
        if ((signChange || standsOut) && PoleBetween(f, a.*variable, ya, b.*variable, yb))
            b.poleBefore = true;
    }
}

template <class ValueAt>
void Fill(std::vector<TFeldfty>& points, const BoundEvaluator& f, ValueAt valueAt) {
    for (std::size_t k = 0; k < points.size(); ++k) {
        TFeldfty& p = points[k];
        p.x = valueAt(k);
        f.Set(p.x);
        p.y = f.Value(p.valid);
        p.poleBefore = false;
    }
    MarkPoles(points, f, &TFeldfty::x, &TFeldfty::y);
}

template <class ValueAt>
void Fill(std::vector<TFeldftxtyt>& points, const BoundEvaluator& fx, const BoundEvaluator& fy,
          ValueAt valueAt) {
    for (std::size_t k = 0; k < points.size(); ++k) {
        TFeldftxtyt& p = points[k];
        p.t = valueAt(k);
        fx.Set(p.t);
        fy.Set(p.t);
        bool xOk = false;
        bool yOk = false;
        p.x = fx.Value(xOk);
        p.y = fy.Value(yOk);
        p.valid = xOk && yOk;
        p.poleBefore = false;
    }
    // A pole of either coordinate takes the curve off to infinity.
    MarkPoles<TFeldftxtyt>(points, fx, &TFeldftxtyt::t, &TFeldftxtyt::x);
    MarkPoles<TFeldftxtyt>(points, fy, &TFeldftxtyt::t, &TFeldftxtyt::y);
}

template <class Record>
void ToCartesian(std::vector<Record>& points) {
    for (Record& p : points) {
        const Extended angle = p.x;
        const Extended radius = p.y;
        p.x = std::cos(angle) * radius;
        p.y = std::sin(angle) * radius;
    }
}

// The parameters a function depends on, with their value counts and their positions in
// the function's evaluator.
struct ParameterAxes {
    std::vector<std::string> names;
    std::vector<std::int32_t> counts;
    std::vector<int> positions;
    std::int64_t combinations = 1;
};

ParameterAxes AxesOf(Catalogue& catalogue, const TFunktion* function, Notifier& notifier) {
    ParameterAxes axes;
    if (!function)
        return axes;
    const TFunctionParser* parser = catalogue.ParserOf(*function);
    for (const std::string& name : function->DependenceParams) {
        const TParameterItem* item = catalogue.Parameters().Find(name);
        // A parameter without an entry yet has the five default values.
        const std::int32_t count = item ? TParameter::ValueCount(*item, &notifier) : 5;
        axes.names.push_back(name);
        axes.counts.push_back(std::max(count, 0));
        axes.positions.push_back(parser ? parser->VariableIndex(name) : -1);
        axes.combinations *= std::max(count, 0);
    }
    return axes;
}

// Sets the parameters of `parser` to combination `index` (the last parameter fastest).
void SetCombination(const Catalogue& catalogue, TFunctionParser& parser, const ParameterAxes& axes,
                    std::int64_t index) {
    for (std::size_t a = axes.names.size(); a-- > 0;) {
        const std::int32_t count = axes.counts[a];
        const auto value = static_cast<std::int32_t>(index % count);
        index /= count;
        if (axes.positions[a] >= 0)
            parser.SetVariableAt(axes.positions[a],
                                 catalogue.Parameters().Value(axes.names[a], value));
    }
}

// Fills one array of the item whose evaluators are `first` and `second`.
void FillArray(const BoundEvaluator& first, const BoundEvaluator& second,
               const VariableSteps& steps, TPointArray& points) {
    if (!first.parser)
        return;
    const auto fill = [&](auto valueAt) {
        if (auto* records = std::get_if<std::vector<TFeldfty>>(&points)) {
            Fill(*records, first, valueAt);
            if (steps.polar)
                ToCartesian(*records);
        } else if (auto* pairs = std::get_if<std::vector<TFeldftxtyt>>(&points)) {
            if (!second.parser)
                return;
            Fill(*pairs, first, second, valueAt);
            if (steps.polar)
                ToCartesian(*pairs);
        }
    };
    const Extended start = steps.start;
    const Extended step = steps.step;
    if (steps.logarithmic) {
        fill([start, step](std::size_t k) {
            return std::exp((static_cast<Extended>(k) * step + start) *
                            std::numbers::ln10_v<Extended>);
        });
    } else {
        fill([start, step](std::size_t k) { return static_cast<Extended>(k) * step + start; });
    }
}

bool Usable(const TFunktion* function) {
    return function && function->valid;
}

}  // namespace

VariableSteps StepsOf(const PlotView& view, GridType gridType, const TFktItem& item) {
    VariableSteps steps;
    steps.logarithmic = HorizontalLogarithmic(gridType);
    steps.polar = gridType == GridType::gtPolar;
    if (steps.logarithmic) {
        const Extended start = view.phimin <= 1e-18L ? 1e-20L : view.phimin;
        const Extended stop = view.phimax <= 0 ? 10 : view.phimax;
        steps.step = item.LogarithmicStep(stop, start);
        steps.start = Log10(start);
    } else {
        steps.step = item.LinearStep(view.phimax, view.phimin);
        steps.start = view.phimin;
    }
    return steps;
}

void SamplePointList(Catalogue& catalogue, const TFktItem& item, const VariableSteps& steps,
                     TPointArray& points) {
    FillArray(Bind(catalogue, item.Funktion1), Bind(catalogue, item.Funktion2), steps, points);
}

namespace {

// One point array to fill: which item, which of its families' members.
struct SamplingJob {
    std::size_t item;  // into the plan's items
    TPointArray* points;
    std::int64_t first;   // combination of Funktion1's parameters
    std::int64_t second;  // combination of Funktion2's
};

struct PlannedItem {
    const TFktItem* item;
    TFunctionParser* firstParser;
    TFunctionParser* secondParser;  // null but for parametric curves
    ParameterAxes firstAxes;
    ParameterAxes secondAxes;
    VariableSteps steps;
};

struct SamplingPlan {
    std::vector<PlannedItem> items;
    std::vector<SamplingJob> jobs;
    std::int64_t records = 0;
};

// Below this many points a second thread costs more than it saves.
constexpr std::int64_t kRecordsPerThread = 50000;
constexpr unsigned kMaxSamplingThreads = 16;

// Plans the arrays of one item; what the user is told happens here, on the calling thread.
void PlanItem(Catalogue& catalogue, const PlotView& view, GridType gridType, SurfaceKind kind,
              TFktItem& item, Notifier& notifier, SamplingPlan& plan) {
    if (!Usable(item.Funktion1) || (item.Funktion2 && !Usable(item.Funktion2)))
        return;
    TFunctionParser* firstParser = catalogue.ParserOf(*item.Funktion1);
    TFunctionParser* secondParser = item.Funktion2 ? catalogue.ParserOf(*item.Funktion2) : nullptr;
    if (!firstParser)
        return;
    PlannedItem planned{&item,
                        firstParser,
                        secondParser,
                        AxesOf(catalogue, item.Funktion1, notifier),
                        AxesOf(catalogue, item.Funktion2, notifier),
                        StepsOf(view, gridType, item)};
    const std::int64_t n = planned.firstAxes.combinations;
    const std::int64_t m = planned.secondAxes.combinations;
    if (n == 0 || m == 0)
        return;
    if (kind == SurfaceKind::Main)
        catalogue.SetSchrittweite(item, planned.steps.step);
    else
        item.GivePreviewRecords();
    TPointArrayList& lists = PointArraysOf(item, kind);
    // The arrays were fitted to the family when it last changed; a family cut down to the
    // memory budget keeps its first members.
    const auto available = static_cast<std::int64_t>(lists.size());
    const std::size_t index = plan.items.size();
    for (std::int64_t i = 0; i < n && i * m < available; ++i) {
        for (std::int64_t j = 0; j < m && i * m + j < available; ++j) {
            TPointArray& points = lists[static_cast<std::size_t>(i * m + j)];
            // Implicit curves have no points yet.
            if (std::holds_alternative<std::monostate>(points)) {
                if (planned.steps.logarithmic && item.FktTyp() == TFktTyp::ftfxy)
                    notifier.PlainMessage("todo");
                continue;
            }
            plan.jobs.push_back({index, &points, i, j});
            plan.records += static_cast<std::int64_t>(RecordCount(points));
        }
    }
    plan.items.push_back(std::move(planned));
}

// The evaluators one thread works with: the catalogue's own on the calling thread,
// copies on the others. The copies are all made on the calling thread before any thread
// starts, since the originals change with every evaluation.
class ThreadEvaluators {
  public:
    ThreadEvaluators() = default;
    explicit ThreadEvaluators(const SamplingPlan& plan) {
        for (const PlannedItem& item : plan.items) {
            for (TFunctionParser* parser : {item.firstParser, item.secondParser}) {
                if (parser && !m_copies.count(parser))
                    m_copies.emplace(parser, parser->Clone());
            }
        }
    }

    TFunctionParser& Of(TFunctionParser& original) {
        const auto copy = m_copies.find(&original);
        return copy == m_copies.end() ? original : *copy->second;
    }

  private:
    std::unordered_map<const TFunctionParser*, std::unique_ptr<TFunctionParser>> m_copies;
};

void RunJob(const Catalogue& catalogue, const SamplingPlan& plan, const SamplingJob& job,
            ThreadEvaluators& evaluators) {
    const PlannedItem& planned = plan.items[job.item];
    const TFktItem& item = *planned.item;
    TFunctionParser& first = evaluators.Of(*planned.firstParser);
    SetCombination(catalogue, first, planned.firstAxes, job.first);
    BoundEvaluator fx{&first, first.VariableIndex(item.Funktion1->Variable)};
    BoundEvaluator fy;
    if (planned.secondParser) {
        TFunctionParser& second = evaluators.Of(*planned.secondParser);
        SetCombination(catalogue, second, planned.secondAxes, job.second);
        fy = {&second, second.VariableIndex(item.Funktion2->Variable)};
    }
    FillArray(fx, fy, planned.steps, *job.points);
}

}  // namespace

void SampleItem(Catalogue& catalogue, PlotView& view, GridType gridType, SurfaceKind kind,
                TFktItem& item, Notifier& notifier) {
    FixLogMinima(view, gridType);
    SamplingPlan plan;
    PlanItem(catalogue, view, gridType, kind, item, notifier, plan);
    ThreadEvaluators originals;
    for (const SamplingJob& job : plan.jobs) RunJob(catalogue, plan, job, originals);
}

void SampleAllItems(Catalogue& catalogue, PlotView& view, GridType gridType, SurfaceKind kind,
                    Notifier& notifier) {
    FixLogMinima(view, gridType);
    SamplingPlan plan;
    for (const auto& item : catalogue.Items()) {
        if (item->Darstellung && item->valid)
            PlanItem(catalogue, view, gridType, kind, *item, notifier, plan);
    }
    // Independent point arrays go to all cores: each thread evaluates with copies of the
    // evaluators and fills arrays no other thread touches, so the result is the one a
    // single thread gives.
    const auto cores = std::max(std::thread::hardware_concurrency(), 1u);
    const auto threads = static_cast<unsigned>(std::min<std::int64_t>(
        {cores, kMaxSamplingThreads, static_cast<std::int64_t>(plan.jobs.size()),
         plan.records / kRecordsPerThread + 1}));
    std::vector<ThreadEvaluators> evaluators(1);
    for (unsigned t = 1; t < threads; ++t) evaluators.emplace_back(plan);
    std::atomic<std::size_t> next{0};
    const auto work = [&](ThreadEvaluators& mine) {
        for (std::size_t k = next++; k < plan.jobs.size(); k = next++)
            RunJob(catalogue, plan, plan.jobs[k], mine);
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(work, std::ref(evaluators[t]));
    work(evaluators[0]);
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace pc
