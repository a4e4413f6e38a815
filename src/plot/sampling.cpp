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
#include "engine/function_parser.h"

namespace pc {

namespace {

// One evaluation; a failure, reported or thrown, is a gap.
Extended Evaluate(TFunctionParser& parser, bool& ok) noexcept {
    try {
        const Extended value = parser.Value();
        ok = parser.EvaluationStatus() == 0;
        return value;
    } catch (...) {
        ok = false;
        return 0;
    }
}

void SetVariable(TFunctionParser& parser, const std::string& name, Extended value) noexcept {
    try {
        parser.SetVariable(name, value);
    } catch (...) {
        // A name the term does not use: nothing depends on it.
    }
}

// The evaluators of one item, found once per point array.
struct Evaluators {
    TFunctionParser* first = nullptr;
    TFunctionParser* second = nullptr;  // ftxtyt only
    const std::string* firstVariable = nullptr;
    const std::string* secondVariable = nullptr;
};

// Fills the records with the variable values `value(k)`.
template <class ValueAt>
void Fill(std::vector<TFeldfty>& points, const Evaluators& e, ValueAt valueAt) {
    TFunctionParser& parser = *e.first;
    const std::string& name = *e.firstVariable;
    const std::size_t n = points.size();
    for (std::size_t k = 0; k < n; ++k) {
        TFeldfty& p = points[k];
        const Extended v = valueAt(k);
        p.x = v;
        SetVariable(parser, name, v);
        p.y = Evaluate(parser, p.valid);
    }
}

template <class ValueAt>
void Fill(std::vector<TFeldftxtyt>& points, const Evaluators& e, ValueAt valueAt) {
    const std::size_t n = points.size();
    for (std::size_t k = 0; k < n; ++k) {
        TFeldftxtyt& p = points[k];
        const Extended v = valueAt(k);
        p.t = v;
        SetVariable(*e.first, *e.firstVariable, v);
        SetVariable(*e.second, *e.secondVariable, v);
        bool xOk = false;
        bool yOk = false;
        p.x = Evaluate(*e.first, xOk);
        p.y = Evaluate(*e.second, yOk);
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

// The names and value counts of the parameters a function depends on.
struct ParameterAxes {
    std::vector<std::string> names;
    std::vector<std::int32_t> counts;
    std::int64_t combinations = 1;
};

ParameterAxes AxesOf(Catalogue& catalogue, const TFunktion* function, Notifier& notifier) {
    ParameterAxes axes;
    if (!function)
        return axes;
    for (const std::string& name : function->DependenceParams) {
        const TParameterItem* item = catalogue.parameterList.Find(name);
        // A parameter without an entry yet has the five default values.
        const std::int32_t count = item ? TParameter::ValueCount(*item, &notifier) : 5;
        axes.names.push_back(name);
        axes.counts.push_back(std::max(count, 0));
        axes.combinations *= std::max(count, 0);
    }
    return axes;
}

// Sets the parameters of `parser` to combination `index` (the last parameter fastest).
void SetCombination(Catalogue& catalogue, TFunctionParser& parser, const ParameterAxes& axes,
                    std::int64_t index) {
    for (std::size_t a = axes.names.size(); a-- > 0;) {
        const std::int32_t count = axes.counts[a];
        const auto value = static_cast<std::int32_t>(index % count);
        index /= count;
        SetVariable(parser, axes.names[a], catalogue.parameterList.Value(axes.names[a], value));
    }
}

bool Usable(const TFunktion* function) {
    return function && function->valid;
}

}  // namespace

void SamplePointList(Catalogue& catalogue, PlotView& view, std::uint8_t gridType, TFktItem& item,
                     TPointArray& points, Notifier& notifier) {
    FixLogMinima(view, gridType);
    const bool logarithmic = HorizontalLogarithmic(gridType);
    if (std::holds_alternative<std::monostate>(points)) {
        // Implicit curves have no points yet.
        if (logarithmic && item.FktTyp() == ftfxy)
            notifier.plainMessage("todo");
        return;
    }
    Evaluators e;
    if (item.Funktion1) {
        e.first = catalogue.ParserOf(*item.Funktion1);
        e.firstVariable = &item.Funktion1->Variable;
    }
    if (item.Funktion2) {
        e.second = catalogue.ParserOf(*item.Funktion2);
        e.secondVariable = &item.Funktion2->Variable;
    }
    if (!e.first || (std::holds_alternative<std::vector<TFeldftxtyt>>(points) && !e.second))
        return;

    const auto fill = [&](auto valueAt) {
        std::visit(
            [&](auto& records) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                    Fill(records, e, valueAt);
            },
            points);
    };
    if (logarithmic) {
        const Extended start = view.phimin <= 1e-18L ? 1e-20L : view.phimin;
        const Extended stop = view.phimax <= 0 ? 10 : view.phimax;
        item.LogarithmicStep(stop, start);
        const Extended step = item.Schrittweite;
        const Extended logStart = std::log10(start);
        fill([step, logStart](std::size_t k) {
            return std::exp((static_cast<Extended>(k) * step + logStart) *
                            std::numbers::ln10_v<Extended>);
        });
    } else {
        item.LinearStep(view.phimax, view.phimin);
        const Extended step = item.Schrittweite;
        const Extended start = view.phimin;
        fill([step, start](std::size_t k) { return static_cast<Extended>(k) * step + start; });
        if (gridType == gtPolar) {
            std::visit(
                [](auto& records) {
                    if constexpr (!std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                        ToCartesian(records);
                },
                points);
        }
    }
}

void SampleItem(Catalogue& catalogue, PlotView& view, std::uint8_t gridType, SurfaceKind kind,
                TFktItem& item, Notifier& notifier) {
    if (!Usable(item.Funktion1) || (item.Funktion2 && !Usable(item.Funktion2)))
        return;
    if (catalogue.parserList.empty())
        return;
    const ParameterAxes first = AxesOf(catalogue, item.Funktion1, notifier);
    const ParameterAxes second = AxesOf(catalogue, item.Funktion2, notifier);
    const std::int64_t n = first.combinations;
    const std::int64_t m = second.combinations;
    TPointArrayList& lists = PointArraysOf(item, kind);
    if (n == 0 || m == 0)
        return;
    TFunctionParser* firstParser = catalogue.ParserOf(*item.Funktion1);
    TFunctionParser* secondParser = item.Funktion2 ? catalogue.ParserOf(*item.Funktion2) : nullptr;
    if (!firstParser)
        return;
    // The arrays were fitted to the family when it last changed; a family cut down to the
    // memory budget keeps its first members.
    const auto available = static_cast<std::int64_t>(lists.size());
    for (std::int64_t i = 0; i < n && i * m < available; ++i) {
        SetCombination(catalogue, *firstParser, first, i);
        for (std::int64_t j = 0; j < m && i * m + j < available; ++j) {
            if (secondParser)
                SetCombination(catalogue, *secondParser, second, j);
            SamplePointList(catalogue, view, gridType, item,
                            lists[static_cast<std::size_t>(i * m + j)], notifier);
        }
    }
}

void SampleAllItems(Catalogue& catalogue, PlotView& view, std::uint8_t gridType, SurfaceKind kind,
                    Notifier& notifier) {
    for (const auto& item : catalogue.displayList) {
        if (item->Darstellung && item->valid)
            SampleItem(catalogue, view, gridType, kind, *item, notifier);
    }
}

}  // namespace pc
