#include "catalogue/fkt_item.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_types.h"
#include "catalogue/funktion.h"
#include "catalogue/text_conversions.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

using Names = std::vector<std::string>;

// Every array of both lists holds `records` records of class `Record`.
template <typename Record>
void ExpectArrays(const TFktItem& item, std::size_t arrays, std::size_t records) {
    for (const TPointArrayList* list : {&item.FeldListenListeM, &item.FeldListenListeP}) {
        ASSERT_EQ(list->size(), arrays);
        for (const TPointArray& array : *list) {
            ASSERT_TRUE(std::holds_alternative<std::vector<Record>>(array));
            EXPECT_EQ(RecordCount(array), records);
        }
    }
}

void ExpectRecordlessArrays(const TFktItem& item, std::size_t arrays) {
    for (const TPointArrayList* list : {&item.FeldListenListeM, &item.FeldListenListeP}) {
        ASSERT_EQ(list->size(), arrays);
        for (const TPointArray& array : *list)
            EXPECT_TRUE(std::holds_alternative<std::monostate>(array));
    }
}

// --- Point arrays -----------------------------------------------------------------------

TEST(TFktItemArrays, FirstArraysTakeTheDefaultPointCount) {
    TFktItem item;
    ASSERT_EQ(item.Stuetzstellen(), 0);

    item.SetArrayCount(3);

    EXPECT_EQ(item.Stuetzstellen(), 200);
    ExpectArrays<TFeldfty>(item, 3, 200);
}

TEST(TFktItemArrays, ArrayCountShrinksKeepingTheFirstAndGrowsWithFreshArrays) {
    TFktItem item;
    item.SetStuetzstellen(10);
    item.SetArrayCount(3);
    std::get<std::vector<TFeldfty>>(item.FeldListenListeM[0])[0].valid = true;

    item.SetArrayCount(1);
    ExpectArrays<TFeldfty>(item, 1, 10);
    EXPECT_TRUE(std::get<std::vector<TFeldfty>>(item.FeldListenListeM[0])[0].valid);

    item.SetArrayCount(4);
    ExpectArrays<TFeldfty>(item, 4, 10);
    EXPECT_TRUE(std::get<std::vector<TFeldfty>>(item.FeldListenListeM[0])[0].valid);
    EXPECT_FALSE(std::get<std::vector<TFeldfty>>(item.FeldListenListeM[3])[0].valid);

    item.SetArrayCount(-2);
    ExpectArrays<TFeldfty>(item, 0, 0);
}

TEST(TFktItemArrays, ArraysFollowTheItemType) {
    TFktItem parametric;
    parametric.SetFktTyp(ftxtyt);
    parametric.SetArrayCount(2);
    ExpectArrays<TFeldftxtyt>(parametric, 2, 200);

    TFktItem implicit;
    implicit.SetFktTyp(ftfxy);
    implicit.SetArrayCount(2);
    ExpectRecordlessArrays(implicit, 2);
}

TEST(TFktItemArrays, ChangingThePointCountCutsOrExtendsEveryArray) {
    TFktItem item;
    item.SetArrayCount(3);

    item.SetStuetzstellen(50);
    EXPECT_EQ(item.Stuetzstellen(), 50);
    ExpectArrays<TFeldfty>(item, 3, 50);

    item.SetStuetzstellen(300);
    ExpectArrays<TFeldfty>(item, 3, 300);

    // 0 is kept as "the default", and the arrays get the default's 200 records.
    item.SetStuetzstellen(0);
    EXPECT_EQ(item.Stuetzstellen(), 0);
    ExpectArrays<TFeldfty>(item, 3, 200);
}

TEST(TFktItemArrays, PointCountIsClamped) {
    const struct {
        std::int32_t requested;
        std::int32_t stored;
    } cases[] = {{1, 2}, {-5, 2}, {2, 2}, {100000, 100000}, {100001, 100000}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        TFktItem item;
        item.SetFktTyp(ftfxy);  // no records: the clamp is all this looks at
        item.SetStuetzstellen(7);
        item.SetStuetzstellen(c.requested);
        EXPECT_EQ(item.Stuetzstellen(), c.stored);
    }
}

// Records of fty items take 48 bytes each; ftfxy items are held to the same budget, which
// lets the budget be tested without allocating it.
TEST(TFktItemArrays, OneListKeepsWithinItsRecordBudget) {
    constexpr auto kFitAtMostPoints =
        static_cast<std::size_t>(kMaxRecordsPerList / kMaxCalculationPoints);
    constexpr auto kFitAtHalfPoints =
        static_cast<std::size_t>(kMaxRecordsPerList / (kMaxCalculationPoints / 2));
    const auto many = static_cast<std::int32_t>(2 * kFitAtHalfPoints);
    TFktItem item;
    item.SetFktTyp(ftfxy);
    item.SetArrayCount(many);
    ExpectRecordlessArrays(item, 2 * kFitAtHalfPoints);

    // More points per array: the family loses its last arrays.
    item.SetStuetzstellen(kMaxCalculationPoints);
    ExpectRecordlessArrays(item, kFitAtMostPoints);

    item.SetArrayCount(many);
    ExpectRecordlessArrays(item, kFitAtMostPoints);

    item.SetStuetzstellen(kMaxCalculationPoints / 2);
    item.SetArrayCount(many);
    ExpectRecordlessArrays(item, kFitAtHalfPoints);
}

TEST(TFktItemArrays, NewTypeReplacesEveryRecord) {
    TFktItem item;
    item.SetStuetzstellen(50);
    item.SetArrayCount(2);
    auto& first = std::get<std::vector<TFeldfty>>(item.FeldListenListeM[0])[0];
    first = {1, 2, true};

    item.SetFktTyp(ftxtyt);
    EXPECT_EQ(item.FktTyp(), ftxtyt);
    ExpectArrays<TFeldftxtyt>(item, 2, 50);
    const TFeldftxtyt& fresh = std::get<std::vector<TFeldftxtyt>>(item.FeldListenListeM[0])[0];
    EXPECT_FALSE(fresh.valid);
    EXPECT_EQ(fresh.x, 0);

    item.SetFktTyp(ftfxy);
    ExpectRecordlessArrays(item, 2);

    // Leaving ftfxy gives the arrays their records back.
    item.SetFktTyp(fty);
    ExpectArrays<TFeldfty>(item, 2, 50);
}

TEST(TFktItemArrays, SameTypeKeepsTheRecords) {
    TFktItem item;
    item.SetArrayCount(1);
    std::get<std::vector<TFeldfty>>(item.FeldListenListeP[0])[5].valid = true;

    item.SetFktTyp(fty);

    EXPECT_TRUE(std::get<std::vector<TFeldfty>>(item.FeldListenListeP[0])[5].valid);
}

// --- Steps ------------------------------------------------------------------------------

TEST(TFktItemSteps, LinearStep) {
    TFktItem item;
    item.SetStuetzstellen(201);
    item.LinearStep(10, 0);
    EXPECT_EQ(item.Schrittweite, 0.05L);

    item.LinearStep(-1, 1);
    EXPECT_EQ(item.Schrittweite, -0.01L);

    // No points yet: counted as the default 200.
    TFktItem fresh;
    fresh.LinearStep(199, 0);
    EXPECT_EQ(fresh.Schrittweite, 1);
}

TEST(TFktItemSteps, LogarithmicStepReplacesUnusableBounds) {
    const struct {
        Extended upper;
        Extended lower;
        Extended decades;  // log10(upper / lower) after replacement
    } cases[] = {
        {1000, 1, 3},     {0, 0, 21},  // 10 / 1e-20
        {-5, 1, 1},                    // upper 10
        {10, 1e-18L, 21},              // exactly 1e-18 is still too small
        {1, 1e-17L, 17},  {10, -3, 21},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.upper));
        SCOPED_TRACE(static_cast<double>(c.lower));
        TFktItem item;
        item.SetStuetzstellen(101);
        item.LogarithmicStep(c.upper, c.lower);
        EXPECT_NEAR(static_cast<double>(item.Schrittweite), static_cast<double>(c.decades / 100),
                    1e-15);
    }

    TFktItem fresh;
    fresh.LogarithmicStep(0, 0);
    EXPECT_NEAR(static_cast<double>(fresh.Schrittweite), 21.0 / 199, 1e-15);
}

// --- Diagnostics ------------------------------------------------------------------------

TEST(TFktItemDump, WritesEveryFieldInOrder) {
    TFunktion x;
    x.Funktionsname = "FX";
    TFktItem item;
    item.SetFktTyp(ftxtyt);
    item.SetStuetzstellen(201);
    item.SetArrayCount(2);
    item.LinearStep(10, 0);
    item.Funktion1 = &x;
    item.Farbe = 0x00FF00;
    item.Pentyp = psDot;
    item.LinienBreite = 2;
    item.PunkteMarkierung = 3;
    item.Darstellung = true;
    item.valid = true;
    std::vector<std::string> trace;

    item.Dump(trace);

    const Names expected = {"-----------------------------------",
                            "Item valid: True",
                            "Item active: False",
                            "Funktion1.Name: FX",
                            "Funktion2.Name: nil",
                            "Stützstellen: 201",
                            "Schrittweite: 0.05",
                            "FktTyp: ftxtyt",
                            "Farbe: 0000FF00",
                            "Pentyp: psDot",
                            "LinienBreite: 2",
                            "PunkteMarkierung: bmKreise",
                            "Darstellung: True",
                            "Referenz: False",
                            "FeldListenListeM.count: 2",
                            "FeldListenListeP.count: 2"};
    EXPECT_EQ(trace, expected);
}

// --- Revalidation -----------------------------------------------------------------------

class RevalidationTest : public ::testing::Test, public CatalogueFixture {
  protected:
    TFunktion* Define(const std::string& line) {
        catalogue.EnterDefinition(line);
        return catalogue.functionList.back().get();
    }

    void Destroy(TFunktion* function) {
        function->Status = TStatus::sdestroy;
        function->valid = false;
    }
};

TEST_F(RevalidationTest, ItemGetsOneArrayPerParameterCombination) {
    TFunktion* f1 = Define("F1(X)=A*X");
    TFunktion* plain = Define("P(X)=X");
    catalogue.parameterList.SetListValues("A", {"1", "2", "3"});
    catalogue.parameterList.SetValueSource("A", vsList);
    TFktItem& family = AddItem(f1);
    TFktItem& single = AddItem(plain);
    single.Animated = true;
    observer.clear();

    catalogue.RevalidateItems();

    ExpectArrays<TFeldfty>(family, 3, 200);
    EXPECT_TRUE(family.Animated);
    EXPECT_TRUE(family.valid);
    ExpectArrays<TFeldfty>(single, 1, 200);
    EXPECT_FALSE(single.Animated);
    EXPECT_EQ(observer.plotsReady, (std::vector<bool>{false, true}));
}

TEST_F(RevalidationTest, ParameterWithoutValuesStillGetsOneArray) {
    TFunktion* f1 = Define("F1(X)=A*X");
    catalogue.parameterList.SetListValues("A", {});
    catalogue.parameterList.SetValueSource("A", vsList);
    TFktItem& item = AddItem(f1);

    catalogue.RevalidateItems();

    ExpectArrays<TFeldfty>(item, 1, 200);
    EXPECT_FALSE(item.Animated);
}

TEST_F(RevalidationTest, ItemsWhoseFunctionIsGoneAreRemoved) {
    TFunktion* kept = Define("F1(X)=SIN(X)");
    TFunktion* destroyed = Define("F2(X)=COS(X)");
    TFunktion* y = Define("Y(T)=T");
    TFktItem& survivor = AddItem(kept);
    TFktItem& destroyedFty = AddItem(destroyed);
    AddItem(nullptr);
    AddItem(kept, nullptr, ftxtyt);
    AddItem(destroyed, y, ftxtyt);
    catalogue.currentItem = &destroyedFty;
    Destroy(destroyed);

    catalogue.RevalidateItems();

    ASSERT_EQ(catalogue.displayList.size(), 1u);
    EXPECT_EQ(catalogue.displayList[0].get(), &survivor);
    EXPECT_TRUE(survivor.valid);
    EXPECT_EQ(catalogue.currentItem, nullptr);
}

TEST_F(RevalidationTest, ParametricItemLosingItsYFunctionBecomesExplicit) {
    TFunktion* x = Define("XT(T)=COS(T)");
    TFunktion* y = Define("YT(T)=SIN(T)");
    TFktItem& item = AddItem(x, y, ftxtyt);
    item.SetArrayCount(1);
    Destroy(y);

    catalogue.RevalidateItems();

    ASSERT_EQ(catalogue.displayList.size(), 1u);
    EXPECT_EQ(item.FktTyp(), fty);
    EXPECT_EQ(item.Funktion2, nullptr);
    EXPECT_EQ(item.Funktion1, x);
    // Judged as the fty item it now is: its one function is valid.
    EXPECT_TRUE(item.valid);
    EXPECT_TRUE(item.Darstellung);
    ExpectArrays<TFeldfty>(item, 1, 200);
}

TEST_F(RevalidationTest, ReferenceIsClearedOnEveryCurveItem) {
    TFunktion* f1 = Define("F1(X)=SIN(X)");
    TFunktion* y = Define("Y(T)=T");
    TFktItem& explicitItem = AddItem(f1);
    TFktItem& parametric = AddItem(f1, y, ftxtyt);
    TFktItem& plain = AddItem(f1);
    TFktItem& implicit = AddItem(f1, nullptr, ftfxy);
    for (TFktItem* item : {&explicitItem, &parametric, &implicit}) item->Referenz = true;

    catalogue.RevalidateItems();

    EXPECT_FALSE(explicitItem.Referenz);
    EXPECT_FALSE(parametric.Referenz);
    EXPECT_FALSE(plain.Referenz);
    // ftfxy items are left as they are.
    EXPECT_TRUE(implicit.Referenz);
    EXPECT_EQ(observer.scaleModes, (std::vector<std::uint8_t>{kScaleModeGlobal, kScaleModeGlobal}));
}

TEST_F(RevalidationTest, ItemsWithAnInvalidFunctionAreKeptButInvalid) {
    TFunktion* g = Define("G(X)=Q(X)+1");  // Q is an invalid placeholder
    TFunktion* y = Define("Y(T)=T^2");
    TFktItem& invalidFunction = AddItem(g);
    TFktItem& withoutX = AddItem(nullptr, y, ftxtyt);
    for (TFktItem* item : {&invalidFunction, &withoutX}) item->valid = true;

    catalogue.RevalidateItems();

    ASSERT_EQ(catalogue.displayList.size(), 2u);
    EXPECT_FALSE(invalidFunction.valid);
    EXPECT_TRUE(invalidFunction.Darstellung);
    EXPECT_FALSE(withoutX.valid);
    EXPECT_FALSE(withoutX.Darstellung);
}

// --- Text conversions and enumeration texts ---------------------------------------------

TEST(TextConversions, BoolTexts) {
    EXPECT_STREQ(BoolToText(true), "1");
    EXPECT_STREQ(BoolToText(false), "0");
    EXPECT_TRUE(TextToBool("1"));
    EXPECT_FALSE(TextToBool("0"));
    for (const char* text : {"", "2", "true", " 1", "1 ", "01"}) {
        SCOPED_TRACE(text);
        try {
            TextToBool(text);
            ADD_FAILURE() << "no EConversionError";
        } catch (const EConversionError& error) {
            EXPECT_STREQ(error.what(), "Konvertierung strtobool war Mist");
        }
    }
}

TEST(TextConversions, TextToFloat) {
    const struct {
        const char* text;
        Extended value;
    } cases[] = {
        {"1,5", 1.5L},    {"-1,5", -1.5L}, {"2.25", 2.25L},
        {" 2.5\t", 2.5L}, {"1e3", 1000},   {".5", 0.5L},
    };
    for (const auto& c : cases) EXPECT_EQ(TextToFloat(c.text), c.value) << c.text;

    // Only the first comma turns into a point.
    for (const char* text : {"abc", "", "  ", "1,5,5", "1.5,5", "1,5.5"})
        EXPECT_TRUE(std::isnan(TextToFloat(text))) << text;
}

TEST(TextConversions, FieldToFloatAllowsBlanksButNoComma) {
    Extended value = 7;
    EXPECT_TRUE(FieldToFloat(" 2.5 ", value));
    EXPECT_EQ(value, 2.5L);
    value = 7;
    for (const char* text : {"1,5", "", " ", "abc", "2.5x"}) {
        EXPECT_FALSE(FieldToFloat(text, value)) << text;
        EXPECT_EQ(value, 7) << text;
    }
}

TEST(TextConversions, TextToInt) {
    const struct {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"42", true, 42},
        {" -7\t", true, -7},
        {"+5", true, 5},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"+-5", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"", false, 0},
        {"abc", false, 0},
        {"+", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t value = 99;
        EXPECT_EQ(TextToInt(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 99);
    }
}

TEST(TextConversions, ColorHexHasEightDigits) {
    EXPECT_EQ(ColorHex(0x8000FF), "008000FF");
    EXPECT_EQ(ColorHex(0), "00000000");
    EXPECT_EQ(ColorHex(0xFFFFFFFF), "FFFFFFFF");
}

// Bytes read from a file may hold any value; the last text of each row is for those.
TEST(EnumerationTexts, EveryOrdinalAndTheOthers) {
    const struct {
        const char* (*text)(std::uint8_t);
        std::vector<const char*> expected;
    } cases[] = {
        {FktTypText, {"fty", "ftxtyt", "ftfxy", "FktTyp unbekannt"}},
        {PenStyleText,
         {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame",
          "unbekannt"}},
        {DisplayModeText,
         {"bmverbunden", "bmallePunkte", "bmhisto", "bmKreise", "bmDreiecke", "bmQuadrate",
          "bmKreuz", "bmQuadratKreuz", "bm1", "bm2", "bm3", "bm4", "bm5", "bm6", "bm7", "bm8",
          "bm9", "Punktemarkierung unbekannt"}},
    };
    for (const auto& c : cases) {
        for (std::size_t ordinal = 0; ordinal < c.expected.size(); ++ordinal)
            EXPECT_STREQ(c.text(static_cast<std::uint8_t>(ordinal)), c.expected[ordinal]);
        EXPECT_STREQ(c.text(255), c.expected.back());
    }
}

}  // namespace
}  // namespace pc::test
