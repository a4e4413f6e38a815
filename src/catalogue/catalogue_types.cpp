#include "catalogue_types.h"

#include <array>

namespace pc {

const char* FktTypText(std::uint8_t type) {
    static constexpr std::array<const char*, 3> kTexts = {"fty", "ftxtyt", "ftfxy"};
    return type < kTexts.size() ? kTexts[type] : "FktTyp unbekannt";
}

const char* PenStyleText(std::uint8_t style) {
    static constexpr std::array<const char*, 7> kTexts = {
        "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
    return style < kTexts.size() ? kTexts[style] : "unbekannt";
}

const char* DisplayModeText(std::uint8_t mode) {
    static constexpr std::array<const char*, kDisplayModeCount> kTexts = {
        "bmverbunden", "bmallePunkte", "bmhisto", "bmKreise",
        "bmDreiecke",  "bmQuadrate",   "bmKreuz", "bmQuadratKreuz",
        "bm1",         "bm2",          "bm3",     "bm4",
        "bm5",         "bm6",          "bm7",     "bm8",
        "bm9"};
    return mode < kTexts.size() ? kTexts[mode] : "Punktemarkierung unbekannt";
}

}  // namespace pc
