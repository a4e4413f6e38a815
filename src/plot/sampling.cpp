#include "sampling.h"

#include <cmath>
#include <numbers>
#include <string>
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
        ok = parser->EvaluationStatus() == StatusOk;
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

template <class ValueAt>
void Fill(std::vector<TFeldfty>& points, const BoundEvaluator& f, ValueAt valueAt) {
    for (std::size_t k = 0; k < points.size(); ++k) {
        TFeldfty& p = points[k];
        p.x = valueAt(k);
        f.Set(p.x);
        p.y = f.Value(p.valid);
    }
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
    }
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
    const BoundEvaluator first = Bind(catalogue, item.Funktion1);
    const BoundEvaluator second = Bind(catalogue, item.Funktion2);
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

void SampleItem(Catalogue& catalogue, PlotView& view, GridType gridType, SurfaceKind kind,
                TFktItem& item, Notifier& notifier) {
    FixLogMinima(view, gridType);
    if (!Usable(item.Funktion1) || (item.Funktion2 && !Usable(item.Funktion2)))
        return;
    TFunctionParser* firstParser = catalogue.ParserOf(*item.Funktion1);
    TFunctionParser* secondParser = item.Funktion2 ? catalogue.ParserOf(*item.Funktion2) : nullptr;
    if (!firstParser)
        return;
    const ParameterAxes first = AxesOf(catalogue, item.Funktion1, notifier);
    const ParameterAxes second = AxesOf(catalogue, item.Funktion2, notifier);
    const std::int64_t n = first.combinations;
    const std::int64_t m = second.combinations;
    if (n == 0 || m == 0)
        return;
    const VariableSteps steps = StepsOf(view, gridType, item);
    if (kind == SurfaceKind::Main)
        catalogue.SetSchrittweite(item, steps.step);
    else
        item.GivePreviewRecords();
    TPointArrayList& lists = PointArraysOf(item, kind);
    // The arrays were fitted to the family when it last changed; a family cut down to the
    // memory budget keeps its first members.
    const auto available = static_cast<std::int64_t>(lists.size());
    for (std::int64_t i = 0; i < n && i * m < available; ++i) {
        SetCombination(catalogue, *firstParser, first, i);
        for (std::int64_t j = 0; j < m && i * m + j < available; ++j) {
            if (secondParser)
                SetCombination(catalogue, *secondParser, second, j);
            TPointArray& points = lists[static_cast<std::size_t>(i * m + j)];
            // Implicit curves have no points yet.
            if (std::holds_alternative<std::monostate>(points)) {
                if (steps.logarithmic && item.FktTyp() == TFktTyp::ftfxy)
                    notifier.PlainMessage("todo");
                continue;
            }
            SamplePointList(catalogue, item, steps, points);
        }
    }
}

void SampleAllItems(Catalogue& catalogue, PlotView& view, GridType gridType, SurfaceKind kind,
                    Notifier& notifier) {
    for (const auto& item : catalogue.Items()) {
        if (item->Darstellung && item->valid)
            SampleItem(catalogue, view, gridType, kind, *item, notifier);
    }
}

}  // namespace pc
