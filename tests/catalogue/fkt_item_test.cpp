#include "catalogue/fkt_item.h"

#include <gtest/gtest.h>

#include <variant>

#include "catalogue_test_support.h"

namespace pc::test {
namespace {

// Both lists hold `arrays` arrays of class `Record`; the main list's hold `records`
// records each (none for ftfxy), the preview's none until the preview samples them.
template <typename Record>
void ExpectArrays(const TFktItem& item, std::size_t arrays, std::size_t records) {
    for (const TPointArrayList* list : {&item.FeldListenListeM, &item.FeldListenListeP}) {
        ASSERT_EQ(list->size(), arrays);
        for (const TPointArray& array : *list) {
            ASSERT_TRUE(std::holds_alternative<Record>(array));
            EXPECT_EQ(RecordCount(array), list == &item.FeldListenListeM ? records : 0);
        }
    }
}

TFeldfty& Point(TFktItem& item, std::size_t array, std::size_t record) {
    return std::get<std::vector<TFeldfty>>(item.FeldListenListeM[array])[record];
}

TEST(TFktItemArrays, ArrayAndPointCountsReshapeBothListsKeepingTheFirstRecords) {
    TFktItem item;
    item.SetArrayCount(3);  // the first arrays take the default point count
    ExpectArrays<std::vector<TFeldfty>>(item, 3, 200);
    Point(item, 0, 0).valid = true;
    item.SetStuetzstellen(10);
    item.SetArrayCount(1);
    ExpectArrays<std::vector<TFeldfty>>(item, 1, 10);
    item.SetArrayCount(4);
    ExpectArrays<std::vector<TFeldfty>>(item, 4, 10);
    EXPECT_TRUE(Point(item, 0, 0).valid);
    EXPECT_FALSE(Point(item, 3, 0).valid);

    // 0 is kept as "the default", and the arrays get the default's 200 records.
    item.SetStuetzstellen(0);
    EXPECT_EQ(item.Stuetzstellen(), 0);
    ExpectArrays<std::vector<TFeldfty>>(item, 4, 200);
    item.GivePreviewRecords();  // once sampled, the preview's follow every later change
    item.SetStuetzstellen(12);
    EXPECT_EQ(RecordCount(item.FeldListenListeP), 4 * 12);
    item.SetStuetzstellen(-5);  // too few points: the fewest allowed
    EXPECT_EQ(item.Stuetzstellen(), 2);
    item.SetArrayCount(-2);
    ExpectArrays<std::vector<TFeldfty>>(item, 0, 0);
}

TEST(TFktItemArrays, NewTypeReplacesEveryRecordAndTheSameTypeKeepsThem) {
    TFktItem item;
    item.SetStuetzstellen(50);
    item.SetArrayCount(2);
    Point(item, 0, 5).valid = true;
    item.SetFktTyp(TFktTyp::fty);
    EXPECT_TRUE(Point(item, 0, 5).valid);
    item.SetFktTyp(TFktTyp::ftxtyt);
    ExpectArrays<std::vector<TFeldftxtyt>>(item, 2, 50);
    EXPECT_FALSE(std::get<std::vector<TFeldftxtyt>>(item.FeldListenListeM[0])[5].valid);
    item.SetFktTyp(TFktTyp::ftfxy);
    ExpectArrays<std::monostate>(item, 2, 0);
    item.SetFktTyp(TFktTyp::fty);  // leaving ftfxy gives the arrays their records back
    ExpectArrays<std::vector<TFeldfty>>(item, 2, 50);
}

// ftfxy items are held to the same budget as the others, which lets the budget be tested
// without allocating it.
TEST(TFktItemArrays, OneListKeepsWithinItsRecordBudget) {
    constexpr auto kFitAtMost =
        static_cast<std::size_t>(kMaxRecordsPerList / kMaxCalculationPoints);
    constexpr auto kFitAtHalf =
        static_cast<std::size_t>(kMaxRecordsPerList / (kMaxCalculationPoints / 2));
    const auto many = static_cast<std::int32_t>(2 * kFitAtHalf);
    TFktItem item;
    item.SetFktTyp(TFktTyp::ftfxy);
    item.SetArrayCount(many);
    ExpectArrays<std::monostate>(item, 2 * kFitAtHalf, 0);
    item.SetStuetzstellen(kMaxCalculationPoints + 1);  // clamped; the family loses arrays
    EXPECT_EQ(item.Stuetzstellen(), kMaxCalculationPoints);
    ExpectArrays<std::monostate>(item, kFitAtMost, 0);
    item.SetArrayCount(many);
    ExpectArrays<std::monostate>(item, kFitAtMost, 0);
    item.SetStuetzstellen(kMaxCalculationPoints / 2);
    item.SetArrayCount(many);
    ExpectArrays<std::monostate>(item, kFitAtHalf, 0);
}

// How sampling replaces unusable bounds of a logarithmic axis is the plot's sampling test's;
// these are the bound itself and an item without points, which counts as 200.
TEST(TFktItemSteps, LinearAndLogarithmicSteps) {
    const TFktItem fresh;
    EXPECT_EQ(fresh.LinearStep(199, 0), 1);
    EXPECT_NEAR(static_cast<double>(fresh.LogarithmicStep(0, 0)), 21.0 / 199, 1e-15);
    TFktItem item;
    item.SetStuetzstellen(101);
    // Exactly 1e-18 is still too small and becomes 1e-20; 1e-17 is taken.
    EXPECT_NEAR(static_cast<double>(item.LogarithmicStep(10, 1e-18L)), 0.21, 1e-15);
    EXPECT_NEAR(static_cast<double>(item.LogarithmicStep(1, 1e-17L)), 0.17, 1e-15);
}

class RevalidationTest : public ::testing::Test, public CatalogueFixture {};

// Also: the reference is cleared on every curve item, each asking for the global scale.
TEST_F(RevalidationTest, ItemsWhoseFunctionIsGoneAreRemovedOrReducedOthersJudgedAgain) {
    TFunktion* kept = Define("F1(X)=SIN(X)");
    TFunktion* destroyed = Define("F2(X)=COS(X)");
    TFunktion* y = Define("Y(T)=T");
    TFunktion* invalid = Define("G(X)=Q(X)+1");  // Q is an invalid placeholder
    AddItem(kept).Referenz = true;
    catalogue.SetCurrentItem(&AddItem(destroyed));
    AddItem(nullptr);
    AddItem(kept, nullptr, TFktTyp::ftxtyt);
    AddItem(destroyed, y, TFktTyp::ftxtyt);
    TFktItem& losesY = AddItem(kept, destroyed, TFktTyp::ftxtyt);
    losesY.Referenz = true;
    AddItem(invalid).valid = true;
    AddItem(nullptr, y, TFktTyp::ftxtyt).valid = true;
    AddItem(kept, nullptr, TFktTyp::ftfxy).Referenz = true;  // left as it is
    destroyed->Status = TStatus::sdestroy;
    destroyed->valid = false;

    catalogue.RevalidateItems();

    // The reduced pair is judged as the fty item it now is: its one function is valid.
    EXPECT_EQ(Items(), (Names{"fty F1 - valid shown", "fty F1 - valid shown", "fty G - shown",
                              "ftxtyt - Y", "ftfxy F1 - shown reference"}));
    ExpectArrays<std::vector<TFeldfty>>(losesY, 1, 200);
    EXPECT_EQ(catalogue.CurrentItem(), nullptr);
    EXPECT_EQ(observer.scaleModes, (std::vector{ScaleMode::smGlobal, ScaleMode::smGlobal}));
}

}  // namespace
}  // namespace pc::test
