#include "fkt_item.h"

#include <algorithm>
#include <cmath>

#include "engine/decimal_log.h"
#include "engine/number_text.h"
#include "funktion.h"
#include "text_conversions.h"

namespace pc {

namespace {

const char* TrueFalse(bool value) {
    return value ? "True" : "False";
}

template <typename Record>
void Resize(std::vector<Record>& records, std::size_t count) {
    records.resize(count);
    records.shrink_to_fit();
}

}  // namespace

std::size_t RecordCount(const TPointArray& array) {
    return std::visit(
        [](const auto& records) -> std::size_t {
            if constexpr (std::is_same_v<std::decay_t<decltype(records)>, std::monostate>)
                return 0;
            else
                return records.size();
        },
        array);
}

std::int64_t RecordCount(const TPointArrayList& list) {
    std::int64_t count = 0;
    for (const TPointArray& array : list) count += static_cast<std::int64_t>(RecordCount(array));
    return count;
}

std::int32_t TFktItem::RecordsPerArray() const {
    return m_stuetzstellen == 0 ? kDefaultCalculationPoints : m_stuetzstellen;
}

TPointArray TFktItem::NewArray(std::int32_t records) const {
    const auto count = static_cast<std::size_t>(std::max(records, 0));
    switch (m_fktTyp) {
        case TFktTyp::fty:
            return std::vector<TFeldfty>(count);
        case TFktTyp::ftxtyt:
            return std::vector<TFeldftxtyt>(count);
        default:
            return std::monostate{};
    }
}

void TFktItem::SetStuetzstellen(std::int32_t count) {
    if (count != 0)
        count = std::clamp(count, kMinCalculationPoints, kMaxCalculationPoints);
    if (count == m_stuetzstellen)
        return;
    // Keep one list within its budget: a family that no longer fits loses its last arrays.
    const std::int64_t records = count == 0 ? kDefaultCalculationPoints : count;
    const auto arraysThatFit = static_cast<std::size_t>(kMaxRecordsPerList / records);
    for (TPointArrayList* list : {&FeldListenListeM, &FeldListenListeP}) {
        if (list->size() > arraysThatFit)
            list->resize(arraysThatFit);
        for (TPointArray& array : *list) {
            if (list == &FeldListenListeP && RecordCount(array) == 0)
                continue;  // the preview has not sampled it yet
            std::visit(
                [records](auto& points) {
                    if constexpr (!std::is_same_v<std::decay_t<decltype(points)>, std::monostate>)
                        Resize(points, static_cast<std::size_t>(records));
                },
                array);
        }
    }
    m_stuetzstellen = count;
}

void TFktItem::SetFktTyp(TFktTyp type) {
    if (type == m_fktTyp)
        return;
    m_fktTyp = type;
    for (TPointArray& array : FeldListenListeM)
        array = NewArray(static_cast<std::int32_t>(RecordCount(array)));
    for (TPointArray& array : FeldListenListeP) array = NewArray(0);
    // Records of an ftfxy item do not exist; leaving it for another type must give the
    // arrays their records back.
    if (type != TFktTyp::ftfxy) {
        for (TPointArray& array : FeldListenListeM) {
            if (RecordCount(array) == 0)
                array = NewArray(RecordsPerArray());
        }
    }
}

void TFktItem::SetArrayCount(std::int32_t count) {
    if (m_stuetzstellen == 0)
        m_stuetzstellen = kDefaultCalculationPoints;
    const std::int64_t limit = kMaxRecordsPerList / RecordsPerArray();
    const auto wanted = static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, limit));
    for (TPointArrayList* list : {&FeldListenListeM, &FeldListenListeP}) {
        if (list->size() > wanted)
            list->resize(wanted);
        const std::int32_t records = list == &FeldListenListeM ? RecordsPerArray() : 0;
        while (list->size() < wanted) list->push_back(NewArray(records));
    }
}

void TFktItem::GivePreviewRecords() {
    for (TPointArray& array : FeldListenListeP) {
        if (RecordCount(array) != static_cast<std::size_t>(RecordsPerArray()))
            array = NewArray(RecordsPerArray());
    }
}

Extended TFktItem::LinearStep(Extended upper, Extended lower) const {
    return (upper - lower) / static_cast<Extended>(RecordsPerArray() - 1);
}

Extended TFktItem::LogarithmicStep(Extended upper, Extended lower) const {
    if (lower <= 1e-18L)
        lower = 1e-20L;
    if (!(upper > 0))
        upper = 10;
    return Log10(upper / lower) / static_cast<Extended>(RecordsPerArray() - 1);
}

void TFktItem::Dump(std::vector<std::string>& trace) const {
    trace.push_back("-----------------------------------");
    trace.push_back(std::string("Item valid: ") + TrueFalse(valid));
    trace.push_back(std::string("Item active: ") + TrueFalse(active));
    trace.push_back(Funktion1 ? "Funktion1.Name: " + Funktion1->Funktionsname
                              : std::string("Funktion1.Name: nil"));
    trace.push_back(Funktion2 ? "Funktion2.Name: " + Funktion2->Funktionsname
                              : std::string("Funktion2.Name: nil"));
    trace.push_back("Stützstellen: " + std::to_string(m_stuetzstellen));
    trace.push_back("Schrittweite: " + FormatGeneral(Schrittweite));
    trace.push_back(std::string("FktTyp: ") + FktTypText(m_fktTyp));
    trace.push_back("Farbe: " + ColorHex(Farbe));
    trace.push_back(std::string("Pentyp: ") + PenStyleText(Pentyp));
    trace.push_back("LinienBreite: " + std::to_string(LinienBreite));
    trace.push_back(std::string("PunkteMarkierung: ") + DisplayModeText(PunkteMarkierung));
    trace.push_back(std::string("Darstellung: ") + TrueFalse(Darstellung));
    trace.push_back(std::string("Referenz: ") + TrueFalse(Referenz));
    trace.push_back("FeldListenListeM.count: " + std::to_string(FeldListenListeM.size()));
    trace.push_back("FeldListenListeP.count: " + std::to_string(FeldListenListeP.size()));
}

}  // namespace pc
