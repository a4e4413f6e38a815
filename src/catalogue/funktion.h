#pragma once
// TFunktion: one named user function, e.g. F1(X)=SIN(X)*X+1, with its style and the
// dependency lists the catalogue works out for it. A plain record; the algorithms that
// need the whole function list live in Catalogue.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue_types.h"

namespace pc {

class TFunktion {
  public:
    std::string Funktionsname;       // upper case, as the definition check returned it
    std::string Variable;            // the one variable of the definition
    std::string Term;                // the right-hand side as typed
    std::string Flatterm = "dummy";  // the compiled term with user calls expanded
    TColor Farbe = 0;
    TPenStyle Pentyp = TPenStyle::psSolid;  // `Linienart` of the function's own style
    std::uint8_t LinienBreite = 1;          // `Strichstärke`
    DisplayMode PunkteMarkierung = DisplayMode::bmverbunden;
    std::int32_t Parametercount = 0;
    std::vector<std::string> DependenceParams;  // parameters used directly or by callees
    std::vector<std::string> UserFunktionen;    // user functions the term calls directly
    std::vector<std::string> UserParameters;    // parameters the term uses directly
    bool valid = false;
    std::int32_t Stuetzstellenzahl = kDefaultCalculationPoints;
    TStatus Status = TStatus::sok;
    bool Recursive = false;
    std::vector<std::string> BenutzteFunktionen;      // all user functions used, at any depth
    std::vector<std::string> FunktionWirdGenutztVon;  // the other functions that use this one
    std::int32_t ParserIndex = -1;                    // into the parser list; -1 for none
    std::vector<TFunktion*> Subfunctions;             // the functions called directly (not owned)

    // "F1(X)".
    std::string LeftName() const;
    // "F1(X)=SIN(X)*X+1": the line the declarations and the selection list hold.
    std::string FullString() const;

    // Appends the diagnostics dump of every field to `trace`.
    void Dump(std::vector<std::string>& trace) const;
};

}  // namespace pc
