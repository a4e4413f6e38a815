#include "catalogue_types.h"

#include <array>

namespace pc {

const char* FktTypText(TFktTyp type) {
    const auto index = Ordinal(type);
    static constexpr std::array<const char*, 3> kTexts = {"fty", "ftxtyt", "ftfxy"};
    return index < kTexts.size() ? kTexts[index] : "FktTyp unbekannt";
}

const char* PenStyleText(TPenStyle style) {
    const auto index = Ordinal(style);
    static constexpr std::array<const char*, 7> kTexts = {
        "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
    return index < kTexts.size() ? kTexts[index] : "unbekannt";
}

const char* DisplayModeText(DisplayMode mode) {
    const auto index = Ordinal(mode);
    static constexpr std::array<const char*, kDisplayModeCount> kTexts = {
        "bmverbunden", "bmallePunkte", "bmhisto", "bmKreise",
        "bmDreiecke",  "bmQuadrate",   "bmKreuz", "bmQuadratKreuz",
        "bm1",         "bm2",          "bm3",     "bm4",
        "bm5",         "bm6",          "bm7",     "bm8",
        "bm9"};
    return index < kTexts.size() ? kTexts[index] : "Punktemarkierung unbekannt";
}

}  // namespace pc
