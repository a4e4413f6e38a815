#pragma once
// TFktItem: one entry of the display list, a curve the plot engine draws, with the
// point arrays it owns: one array per combination of parameter values, for the main
// window (FeldListenListeM) and for every other plot surface (FeldListenListeP).

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "catalogue_types.h"
#include "engine/extended.h"

namespace pc {

class TFunktion;

// A point of an fty item.
struct TFeldfty {
    Extended x = 0;
    Extended y = 0;
    bool valid = false;  // the point is defined
    // The curve runs off to infinity between the point before and this one (a pole), so a
    // line joining the two would be no part of it. Set by the sampling.
    bool poleBefore = false;
};
// The mark lives in the padding after `valid`: a record of 100000-point arrays costs
// nothing more for it.
static_assert(sizeof(TFeldfty) == 3 * sizeof(Extended));

// A point of an ftxtyt item: also the parameter value t it was computed at.
struct TFeldftxtyt : TFeldfty {
    Extended t = 0;
};

// One point array. Its record class follows the item's FktTyp: TFeldfty for fty,
// TFeldftxtyt for ftxtyt, no records (monostate) for ftfxy.
using TPointArray = std::variant<std::monostate, std::vector<TFeldfty>, std::vector<TFeldftxtyt>>;
using TPointArrayList = std::vector<TPointArray>;

std::size_t RecordCount(const TPointArray& array);
std::int64_t RecordCount(const TPointArrayList& list);

// Upper bound of point records one list may hold (about 100 MB): 20 curves of 100000
// points or 200 of 10000. A family from a large parameter table at many calculation
// points would otherwise exhaust memory before anything is drawn.
inline constexpr std::int64_t kMaxRecordsPerList = 2'000'000;

class TFktItem {
  public:
    TFktItem() = default;
    TFktItem(const TFktItem&) = delete;
    TFktItem& operator=(const TFktItem&) = delete;

    // Calculation points per array; 0 stands for 200 once arrays are built.
    std::int32_t Stuetzstellen() const { return m_stuetzstellen; }
    // Cuts or extends every array of both lists to `count` records, then stores it.
    // 0 is kept as "the default"; anything else is clamped to 2..100000.
    void SetStuetzstellen(std::int32_t count);

    TFktTyp FktTyp() const { return m_fktTyp; }
    // Replaces every record of both lists by a fresh one of the new type's class.
    void SetFktTyp(TFktTyp type);

    // Makes both lists hold exactly `count` arrays (negative counts as 0), each new array
    // of the main list filled with fresh records. Fewer arrays are kept when `count`
    // arrays would exceed kMaxRecordsPerList records. The preview's arrays get their
    // records only from GivePreviewRecords, when a preview samples them: a program that
    // shows no preview never holds them.
    void SetArrayCount(std::int32_t count);
    void GivePreviewRecords();

    // The step between calculation points from lower to upper:
    // (upper - lower) / (Stuetzstellen - 1), a Stuetzstellen of 0 counting 200.
    Extended LinearStep(Extended upper, Extended lower) const;
    // log10(upper / lower) / (Stuetzstellen - 1), with a lower bound at or below 1e-18
    // taken as 1e-20 and a non-positive upper bound as 10.
    Extended LogarithmicStep(Extended upper, Extended lower) const;

    // Appends the item's diagnostics dump to `trace`.
    void Dump(std::vector<std::string>& trace) const;

    TColor Farbe = 0;
    TPenStyle Pentyp = TPenStyle::psSolid;
    std::uint8_t LinienBreite = 1;
    DisplayMode PunkteMarkierung = DisplayMode::bmverbunden;
    bool Darstellung = false;        // shown
    TFunktion* Funktion1 = nullptr;  // not owned
    TFunktion* Funktion2 = nullptr;  // not owned
    bool Referenz = false;
    bool referenceHighlight = false;  // the manager flashes the reference cell
    bool valid = false;
    bool active = false;
    bool statusHighlight = false;  // the manager flashes the selection cell
    Extended Schrittweite = 0;     // set through Catalogue::SetSchrittweite
    TPointArrayList FeldListenListeM;
    TPointArrayList FeldListenListeP;
    bool Animated = false;
    std::int32_t AnimFrame = 0;    // the member of the family drawn while animating
    std::int32_t AnimForward = 1;  // 1 forwards, 0 backwards

  private:
    std::int32_t RecordsPerArray() const;
    TPointArray NewArray(std::int32_t records) const;

    std::int32_t m_stuetzstellen = 0;
    TFktTyp m_fktTyp = TFktTyp::fty;
};

}  // namespace pc
