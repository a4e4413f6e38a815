#pragma once
// The line style window's decisions: what it shows for the current item and what its
// OK and Change Parameter buttons do. The window fills LineStyleFields from its
// controls and shows the fields these functions hand back.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue_types.h"

namespace pc {

class Catalogue;
class FunctionManager;
class TFktItem;

// The controls of the line style window.
struct LineStyleFields {
    TColor colour = 0;
    int penStyle = 0;     // list position = pen style 0..5
    int widthIndex = 0;   // list position = width - 1
    int displayMode = 0;  // list position = display mode 0..16
    std::string pointsText = "200";
    int firstFunction = -1;  // positions in the visible items list
    int secondFunction = -1;
    std::string firstDefinition;
    std::string secondDefinition;
    bool firstEdited = false;
    bool secondEdited = false;
};

// What the window shows when it opens for `item`.
struct LineStyleView {
    LineStyleFields fields;
    std::vector<std::string> functionNames;  // both drop-downs: LeftName of every visible item
    bool firstGroupVisible = false;
    bool secondGroupVisible = false;
    std::string firstFlat;  // LeftName + "=" + Flatterm
    std::string secondFlat;
    bool firstHasParameters = false;  // the Change Parameter buttons
    bool secondHasParameters = false;
    std::string picture;        // "Y", "XTYT", "FXY", "R_PHI", "RTPHIT", "FPHIR"
    std::string firstCaption;   // "y(x)", "x(t)", "r(phi)", "r(t)"
    std::string secondCaption;  // "y(t)", "phi(t)"
    int height = 307;           // 463 with both functions
};

LineStyleView OpenLineStyle(Catalogue& catalogue, TFktItem& item, GridType gridType);

// OK for the current item. Clamps the calculation points to 2..100000 (messages 25 and
// 24) and writes the text it settled on back into `fields.pointsText`. A points text
// that is no integer ends OK after the style fields with a plain message, returning
// false. An fty item's style also becomes its function's, for the next drop.
bool LineStyleOk(FunctionManager& manager, LineStyleFields& fields);

// The parameter window's fields as the Change Parameter button checks them on OK.
enum class ParameterCheck {
    Accept,
    EmptyList,        // "Bitte in Liste Wert eintragen!" was shown; the window opens again
    CountBelowOne,    // "Anzahl muß größer Null sein !" was shown
    ConversionError,  // a value is not a number; a plain message says which
};

struct ParameterFields;
ParameterCheck CheckChangedParameter(Catalogue& catalogue, const ParameterFields& fields);

}  // namespace pc
