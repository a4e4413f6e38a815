// Sampling: step rules, gaps where evaluation fails, curve families and the polar and
// logarithmic variable.

#include "plot/sampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

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

// Samples the current item on the main surface over phimin..phimax.
void Sample(PlotFixture& f, TFktItem& item, std::int32_t points, Extended phimin, Extended phimax,
            GridType gridType = GridType::gtLinLin) {
    item.SetStuetzstellen(points);
    f.session.main.view.phimin = phimin;
    f.session.main.view.phimax = phimax;
    SampleItem(f.catalogue, f.session.main.view, gridType, SurfaceKind::Main, item, f.notifier);
}

TEST(Sampling, FailingEvaluationsBecomeGapsAndTheRestOfTheCurveStays) {
    PlotFixture f;
    TFktItem& item = f.Show("F(X)=SQRT(X)");
    Sample(f, item, 5, -1, 1);
    const auto& points = Fty(item.FeldListenListeM.at(0));
    ASSERT_EQ(points.size(), 5u);
    const Extended xs[] = {-1, -0.5L, 0, 0.5L, 1};
    const bool valid[] = {false, false, true, true, true};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(points[k].x, xs[k]) << k;
        EXPECT_EQ(points[k].valid, valid[k]) << k;
    }
    EXPECT_EQ(points[4].y, 1);
    EXPECT_EQ(item.Schrittweite, 0.5L);
}

TEST(Sampling, AnEmptyRangeSamplesOnePointEverywhere) {
    PlotFixture f;
    TFktItem& item = f.Show("F(X)=X*X");
    Sample(f, item, 4, 3, 3);
    for (const TFeldfty& p : Fty(item.FeldListenListeM.at(0))) {
        EXPECT_EQ(p.x, 3);
        EXPECT_EQ(p.y, 9);
        EXPECT_TRUE(p.valid);
    }
}

TEST(Sampling, AParametricPointIsInvalidWhenEitherFunctionFails) {
    PlotFixture f;
    f.Show("X(T)=SQRT(T+1)");
    TFktItem& item = f.Show("Y(T)=1/T", 6, 0);
    ASSERT_EQ(item.FktTyp(), TFktTyp::ftxtyt);
    Sample(f, item, 3, -1, 1);
    const auto& points = Txy(item.FeldListenListeM.at(0));
    // t = -1: x = 0, y = -1; t = 0: 1/T fails; t = 1: x = SQRT(2), y = 1.
    EXPECT_TRUE(points[0].valid);
    EXPECT_EQ(points[0].x, 0);
    EXPECT_EQ(points[0].y, -1);
    EXPECT_FALSE(points[1].valid);
    EXPECT_EQ(points[1].t, 0);
    EXPECT_TRUE(points[2].valid);
    EXPECT_EQ(points[2].x, std::sqrt(2.0L));
}

TEST(Sampling, FiveValuesTimesThreeValuesDrawFifteenCurvesInRowMajorOrder) {
    PlotFixture f;
    Automatic(f.catalogue, "A", 1, 5, 5);
    Automatic(f.catalogue, "B", 10, 30, 3);
    f.Show("X(T)=A*T");
    TFktItem& item = f.Show("Y(T)=B*T", 6, 0);
    Sample(f, item, 2, 0, 1);
    ASSERT_EQ(item.FeldListenListeM.size(), 15u);
    for (std::size_t i = 0; i < 5; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            const TFeldftxtyt& end = Txy(item.FeldListenListeM[i * 3 + j]).back();
            EXPECT_EQ(end.x, 1.0L + i) << i << ' ' << j;
            EXPECT_EQ(end.y, 10.0L + 10 * j) << i << ' ' << j;
        }
    }
}

TEST(Sampling, TwoParametersOfOneFunctionCountTheLastOneFastest) {
    PlotFixture f;
    Automatic(f.catalogue, "A", 1, 2, 2);
    Automatic(f.catalogue, "B", 0, 20, 3);
    TFktItem& item = f.Show("F(X)=A*X+B");
    Sample(f, item, 2, 0, 1);
    ASSERT_EQ(item.FeldListenListeM.size(), 6u);
    for (std::size_t a = 0; a < 2; ++a) {
        for (std::size_t b = 0; b < 3; ++b) {
            // At x = 1: A + B with A in {1, 2} and B in {0, 10, 20}.
            EXPECT_EQ(Fty(item.FeldListenListeM[a * 3 + b]).back().y, 1.0L + a + 10 * b);
        }
    }
}

TEST(Sampling, ALogarithmicAxisSamplesEvenlyInDecadesFromAPositiveStart) {
    PlotFixture f;
    TFktItem& item = f.Show("F(X)=X");
    // A start at or below 1e-18 is taken as 1e-20.
    Sample(f, item, 3, 0, 1, GridType::gtLogLin);
    const auto& points = Fty(item.FeldListenListeM.at(0));
    EXPECT_NEAR(points[0].x / 1e-20L, 1, 1e-15L);
    EXPECT_NEAR(points[1].x / 1e-10L, 1, 1e-15L);
    EXPECT_NEAR(points[2].x, 1, 1e-15L);
    EXPECT_NEAR(item.Schrittweite, 10, 1e-15L);  // decades per step
    // A non-positive stop is taken as 10.
    Sample(f, item, 2, 1, -5, GridType::gtDbDb);
    EXPECT_NEAR(Fty(item.FeldListenListeM.at(0))[1].x, 10, 1e-15L);
}

TEST(Sampling, PolarPointsAreConvertedFromAngleAndRadius) {
    PlotFixture f;
    TFktItem& item = f.Show("R(X)=2");
    Sample(f, item, 3, 0, std::numbers::pi_v<Extended> / 2, GridType::gtPolar);
    const auto& points = Fty(item.FeldListenListeM.at(0));
    EXPECT_NEAR(points[0].x, 2, 1e-18L);
    EXPECT_NEAR(points[0].y, 0, 1e-18L);
    EXPECT_NEAR(points[1].x, std::sqrt(2.0L), 1e-18L);
    EXPECT_NEAR(points[1].y, std::sqrt(2.0L), 1e-18L);
    EXPECT_NEAR(points[2].x, 0, 1e-18L);
    EXPECT_NEAR(points[2].y, 2, 1e-18L);
}

TEST(Sampling, OnlyShownValidItemsAreSampled) {
    PlotFixture f;
    TFktItem& shown = f.Show("F(X)=X+1");
    TFktItem& hidden = f.Show("G(X)=X+2");
    hidden.Darstellung = false;
    // Fresh records, whatever the drops drew.
    for (TFktItem* item : {&shown, &hidden}) {
        item->SetStuetzstellen(2);
        for (TPointArrayList* list : {&item->FeldListenListeM, &item->FeldListenListeP}) {
            for (TPointArray& array : *list) array = std::vector<TFeldfty>(2);
        }
    }
    f.session.main.view.phimin = 0;
    f.session.main.view.phimax = 1;
    SampleAllItems(f.catalogue, f.session.main.view, GridType::gtLinLin, SurfaceKind::Preview,
                   f.notifier);
    EXPECT_EQ(Fty(shown.FeldListenListeP.at(0)).back().y, 2);
    EXPECT_FALSE(Fty(hidden.FeldListenListeP.at(0)).back().valid);  // still the fresh record
    // The main surface's arrays were not touched by the preview's sampling.
    EXPECT_FALSE(Fty(shown.FeldListenListeM.at(0)).back().valid);
}

// Spread over all cores, a family and a parametric curve get exactly the arrays that one
// thread gives them, member by member, in family order.
TEST(Sampling, AllCoresFillTheArraysAsOneThreadDoes) {
    PlotFixture f;
    Automatic(f.catalogue, "A", 1, 20, 20);
    TFktItem& family = f.Show("F(X)=A*SIN(X)+X/A");
    f.Show("X1(T)=COS(T)*T");
    TFktItem& pair = f.Show("Y1(T)=SQRT(T)", 6, 1);  // undefined below 0: gaps
    family.SetStuetzstellen(5000);  // 20 members: enough points for several threads
    pair.SetStuetzstellen(50000);
    f.session.main.view.phimin = -5;
    f.session.main.view.phimax = 5;
    SampleAllItems(f.catalogue, f.session.main.view, GridType::gtLinLin, SurfaceKind::Main,
                   f.notifier);
    const TPointArrayList spread[] = {family.FeldListenListeM, pair.FeldListenListeM};
    for (TFktItem* item : {&family, &pair})
        SampleItem(f.catalogue, f.session.main.view, GridType::gtLinLin, SurfaceKind::Main, *item,
                   f.notifier);
    const auto same = [](const auto& a, const auto& b) {
        return a.valid == b.valid && (!a.valid || (a.x == b.x && a.y == b.y));
    };
    ASSERT_EQ(family.FeldListenListeM.size(), 20u);
    for (std::size_t m = 0; m < 20; ++m) {
        const auto& one = Fty(family.FeldListenListeM[m]);
        const auto& all = Fty(spread[0][m]);
        ASSERT_EQ(one.size(), all.size());
        EXPECT_TRUE(std::equal(one.begin(), one.end(), all.begin(), same)) << "member " << m;
    }
    const auto& one = Txy(pair.FeldListenListeM.at(0));
    const auto& all = Txy(spread[1].at(0));
    EXPECT_TRUE(std::equal(one.begin(), one.end(), all.begin(), all.end(), same));
    EXPECT_TRUE(one.front().valid == false && one.back().valid);
}

}  // namespace
}  // namespace pc::test
