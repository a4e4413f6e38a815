// Sampling: step rules, gaps where evaluation fails, curve families and the polar and
// logarithmic variable.

#include "plot/sampling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "catalogue/parameter.h"
#include "plot_test_support.h"

namespace pc::test {
namespace {

const std::vector<TFeldfty>& Fty(const TPointArray& array) {
    return std::get<std::vector<TFeldfty>>(array);
}

const std::vector<TFeldftxtyt>& Txy(const TPointArray& array) {
    return std::get<std::vector<TFeldftxtyt>>(array);
}

void Automatic(Catalogue& catalogue, const std::string& name, Extended start, Extended stop,
               std::int32_t count) {
    TParameter& parameters = catalogue.Parameters();
    parameters.EnsureItems({name});
    parameters.SetValueSource(name, TValueSource::vsAutomatic);
    parameters.SetStartValue(name, start);
    parameters.SetStopValue(name, stop);
    parameters.SetAutomaticCount(name, count);
}

// Samples the item on the main surface over phimin..phimax.
void Sample(PlotFixture& f, TFktItem& item, std::int32_t points, Extended phimin, Extended phimax,
            GridType gridType = GridType::gtLinLin) {
    item.SetStuetzstellen(points);
    f.session.main.view.phimin = phimin;
    f.session.main.view.phimax = phimax;
    SampleItem(f.catalogue, f.session.main.view, gridType, SurfaceKind::Main, item, f.notifier);
}

// Relative to the expected value, or absolute at zero.
void ExpectClose(Extended actual, Extended expected, const char* what) {
    EXPECT_LE(std::fabs(actual - expected), expected == 0 ? 1e-18L : 1e-15L * std::fabs(expected))
        << what << ": " << D(actual) << " for " << D(expected);
}

TEST(Sampling, StepsGapsAnEmptyRangeAndTheLogarithmicAndPolarVariable) {
    const Extended r = std::sqrt(2.0L), halfPi = std::numbers::pi_v<Extended> / 2;
    struct Case {
        const char* definition;
        std::int32_t points;
        Extended phimin, phimax;
        GridType gridType;
        std::vector<TFeldfty> expected;
        Extended step;  // Schrittweite, in decades on a logarithmic axis
    };
    const Case cases[] = {
        // clang-format off
        // failing evaluations become gaps and the rest of the curve stays
        {"F(X)=SQRT(X)", 5, -1, 1, GridType::gtLinLin,
         {{-1, 0, false}, {-0.5L, 0, false}, {0, 0, true}, {0.5L, std::sqrt(0.5L), true}, {1, 1, true}}, 0.5L},
        {"F(X)=X*X", 4, 3, 3, GridType::gtLinLin, {{3, 9, true}, {3, 9, true}, {3, 9, true}, {3, 9, true}}, 0},
        // a start at or below 1e-18 is taken as 1e-20
        {"F(X)=X", 3, 0, 1, GridType::gtLogLin, {{1e-20L, 1e-20L, true}, {1e-10L, 1e-10L, true}, {1, 1, true}}, 10},
        // a non-positive stop is taken as 10
        {"F(X)=X", 2, 1, -5, GridType::gtDbDb, {{1, 1, true}, {10, 10, true}}, 1},
        // the variable is the angle and the value the radius
        {"R(X)=2", 3, 0, halfPi, GridType::gtPolar, {{2, 0, true}, {r, r, true}, {0, 2, true}}, halfPi / 2},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition + std::string(" ") + std::to_string(Ordinal(c.gridType)));
        PlotFixture f;
        TFktItem& item = f.Show(c.definition);
        Sample(f, item, c.points, c.phimin, c.phimax, c.gridType);
        const auto& points = Fty(item.FeldListenListeM.at(0));
        ASSERT_EQ(points.size(), c.expected.size());
        for (std::size_t k = 0; k < points.size(); ++k) {
            ExpectClose(points[k].x, c.expected[k].x, "x");
            EXPECT_EQ(points[k].valid, c.expected[k].valid) << k;
            if (c.expected[k].valid)
                ExpectClose(points[k].y, c.expected[k].y, "y");
        }
        ExpectClose(item.Schrittweite, c.step, "step");
    }
}

// A curve family has one array per combination, the last parameter counting fastest, and a
// parametric curve one per pair of its functions' members, whose point is a gap where
// either fails. Spread over all cores, every point is the one its own member gives: with
// A = 1..5 and B = 10, 20, 30, F(X) = A*X+B, X(T) = A*T and Y(T) = B/T, failing at t = 0.
TEST(Sampling, FamiliesOnAllCoresCountTheLastParameterFastest) {
    PlotFixture f;
    Automatic(f.catalogue, "A", 1, 5, 5);
    Automatic(f.catalogue, "B", 10, 30, 3);
    TFktItem& sum = f.Show("F(X)=A*X+B");
    f.Show("X(T)=A*T");
    TFktItem& pair = f.Show("Y(T)=B/T", 6, 1);
    sum.SetStuetzstellen(5001);  // 30 arrays of 5001 points: work for several threads
    pair.SetStuetzstellen(5001);
    f.session.main.view.phimin = 0;
    f.session.main.view.phimax = 5;
    SampleAllItems(f.catalogue, f.session.main.view, GridType::gtLinLin, SurfaceKind::Main,
                   f.notifier);
    ASSERT_TRUE(sum.FeldListenListeM.size() == 15u && pair.FeldListenListeM.size() == 15u);
    const auto near = [](Extended a, Extended b) { return std::fabs(a - b) <= 1e-15L * b; };
    for (std::size_t m = 0; m < 15; ++m) {
        const Extended a = 1.0L + m / 3, b = 10.0L + 10 * (m % 3);
        const auto& line = Fty(sum.FeldListenListeM[m]);
        const auto& curve = Txy(pair.FeldListenListeM[m]);
        ASSERT_TRUE(line.size() == 5001u && curve.size() == 5001u && !curve[0].valid);
        int wrong = 0;
        for (std::size_t k = 1; k < 5001; ++k) {
            const TFeldftxtyt& p = curve[k];
            wrong += !p.valid || !near(p.x, a * p.t) || !near(p.y, b / p.t) ||
                     !near(line[k].y, a * line[k].x + b) || !near(p.t, line[k].x);
        }
        EXPECT_EQ(wrong, 0) << "member " << m;
    }
}

// A pole marks the one record after it, wherever the curve runs off to infinity between
// two samples, in either coordinate of a parametric curve and in the radius of a polar
// one; a continuous curve however steep, and a step, stay joined.
TEST(Sampling, PolesAreMarkedAndNothingElse) {
    const Extended pi = std::numbers::pi_v<Extended>;
    struct Case {
        const char* definition;
        const char* second;  // the y(t) of a parametric curve, or null
        Extended phimin, phimax;
        std::int32_t points;
        GridType gridType;
        std::vector<Extended> poles;
    };
    const Case cases[] = {
        // clang-format off
        {"F(X)=TAN(X)", nullptr, -5, 5, 1000, GridType::gtLinLin, {-3 * pi / 2, -pi / 2, pi / 2, 3 * pi / 2}},
        {"F(X)=1/X", nullptr, -1, 1.3L, 400, GridType::gtLinLin, {0}},
        {"F(X)=1/(X^2-1)", nullptr, -3, 3.1L, 500, GridType::gtLinLin, {-1, 1}},
        {"F(X)=GAMMA(X)", nullptr, -3.5L, 4, 600, GridType::gtLinLin, {-3, -2, -1, 0}},
        {"F(X)=ARCTAN(1000*X)", nullptr, -1, 1.1L, 300, GridType::gtLinLin, {}},
        {"F(X)=EXP(X)", nullptr, -5, 50, 200, GridType::gtLinLin, {}},
        {"F(X)=SIN(X)", nullptr, -10, 10, 10000, GridType::gtLinLin, {}},
        {"F(X)=SGN(X)", nullptr, -1, 1.1L, 100, GridType::gtLinLin, {}},
        {"F(X)=1/(X-2)", nullptr, 0.5L, 5, 300, GridType::gtLogLin, {2}},
        {"R(X)=1/(X-1)", nullptr, 0, 3, 300, GridType::gtPolar, {1}},
        {"X(T)=1/(T-1)", "Y(T)=TAN(T)", -1, 3, 300, GridType::gtLinLin, {1, pi / 2}},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.definition);
        PlotFixture f;
        TFktItem* item = &f.Show(c.definition);
        if (c.second)
            item = &f.Show(c.second, 6, 0);
        Sample(f, *item, c.points, c.phimin, c.phimax, c.gridType);
        std::vector<bool> marked;
        const auto marks = [&](const auto& records) {
            for (const auto& p : records) marked.push_back(p.poleBefore);
        };
        c.second ? marks(Txy(item->FeldListenListeM.at(0)))
                 : marks(Fty(item->FeldListenListeM.at(0)));
        ASSERT_EQ(marked.size(), std::size_t(c.points));
        // The variable of sample k, as the polar conversion leaves no trace of it.
        const VariableSteps steps = StepsOf(f.session.main.view, c.gridType, *item);
        const auto variable = [&](std::size_t k) {
            const Extended v = steps.start + k * steps.step;
            return steps.logarithmic ? std::pow(10.0L, v) : v;
        };
        // The pole each mark follows; NaN for a mark with none.
        std::vector<Extended> found;
        for (std::size_t k = 1; k < marked.size(); ++k) {
            if (!marked[k])
                continue;
            const auto pole = std::find_if(c.poles.begin(), c.poles.end(), [&](Extended p) {
                return variable(k - 1) < p && p < variable(k);
            });
            found.push_back(pole == c.poles.end() ? std::nanl("") : *pole);
        }
        EXPECT_FALSE(marked[0]);
        EXPECT_EQ(found, c.poles) << "each pole once, in order";
    }
}

// The preview samples into its own arrays and leaves the main ones alone.
TEST(Sampling, ThePreviewSamplesIntoItsOwnArrays) {
    PlotFixture f;
    TFktItem& item = f.Show("F(X)=X+1");
    const Extended mainEnd = Fty(item.FeldListenListeM.at(0)).back().x;
    f.session.main.view.phimin = 0;
    f.session.main.view.phimax = 0.5L;  // a range no redraw has sampled
    SampleAllItems(f.catalogue, f.session.main.view, GridType::gtLinLin, SurfaceKind::Preview,
                   f.notifier);
    EXPECT_EQ(Fty(item.FeldListenListeP.at(0)).back().y, 1.5L);
    EXPECT_EQ(Fty(item.FeldListenListeM.at(0)).back().x, mainEnd);
}

}  // namespace
}  // namespace pc::test
