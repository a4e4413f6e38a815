#include "line_style.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "catalogue.h"
#include "catalogue_observer.h"
#include "fkt_item.h"
#include "function_manager.h"
#include "funktion.h"
#include "message_catalogue.h"
#include "message_numbers.h"
#include "parameter_window.h"
#include "text_conversions.h"

namespace pc {

namespace {

int PositionIn(const std::vector<TFunktion*>& list, const TFunktion* function) {
    const auto found = std::find(list.begin(), list.end(), function);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

TFunktion* FunctionAt(const std::vector<TFunktion*>& list, int position) {
    return position >= 0 && static_cast<std::size_t>(position) < list.size()
               ? list[static_cast<std::size_t>(position)]
               : nullptr;
}

// The calculation points typed: a whole number, where one too large for 32 bits is as
// much too many as 100001 and is clamped the same way.
bool ReadPoints(const std::string& text, std::int32_t& points) {
    if (TextToInt(text, points))
        return true;
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string::npos)
        return false;
    std::string_view digits = std::string_view(text).substr(first, last - first + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
        digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    points = negative ? std::numeric_limits<std::int32_t>::min()
                      : std::numeric_limits<std::int32_t>::max();
    return true;
}

}  // namespace

LineStyleView OpenLineStyle(Catalogue& catalogue, TFktItem& item, GridType gridType) {
    LineStyleView view;
    for (const TFunktion* function : catalogue.VisibleItems())
        view.functionNames.push_back(function->LeftName());
    if (TFunktion* first = item.Funktion1) {
        view.fields.firstDefinition = first->FullString();
        view.firstFlat = first->LeftName() + "=" + first->Flatterm;
        view.fields.firstFunction = PositionIn(catalogue.VisibleItems(), first);
        view.firstHasParameters = !catalogue.DependenceParamsOf(*first).empty();
        view.firstGroupVisible = true;
    }
    if (TFunktion* second = item.Funktion2) {
        view.fields.secondDefinition = second->FullString();
        view.secondFlat = second->LeftName() + "=" + second->Flatterm;
        view.fields.secondFunction = PositionIn(catalogue.VisibleItems(), second);
        view.secondHasParameters = !catalogue.DependenceParamsOf(*second).empty();
        view.secondGroupVisible = true;
    }
    view.fields.colour = item.Farbe;
    view.fields.penStyle = Ordinal(item.Pentyp);
    view.fields.widthIndex = item.LinienBreite - 1;
    view.fields.displayMode = Ordinal(item.PunkteMarkierung);
    // 0 stands for the default the arrays are built with.
    view.fields.pointsText = std::to_string(item.Stuetzstellen() == 0 ? kDefaultCalculationPoints
                                                                      : item.Stuetzstellen());

    const bool polar = gridType == GridType::gtPolar;
    switch (item.FktTyp()) {
        case TFktTyp::fty:
            view.picture = polar ? "R_PHI" : "Y";
            view.firstCaption = polar ? "r(phi)" : "y(x)";
            break;
        case TFktTyp::ftxtyt:
            view.picture = polar ? "RTPHIT" : "XTYT";
            view.firstCaption = polar ? "r(t)" : "x(t)";
            view.secondCaption = polar ? "phi(t)" : "y(t)";
            break;
        default:
            view.picture = polar ? "FPHIR" : "FXY";
            break;
    }
    view.height = item.Funktion1 && item.Funktion2 ? 463 : 307;
    return view;
}

bool LineStyleOk(FunctionManager& manager, LineStyleFields& fields) {
    Catalogue& catalogue = manager.GetCatalogue();
    TFktItem* item = catalogue.CurrentItem();
    if (!item)
        return false;
    CatalogueObserver& observer = catalogue.Observer();
    bool modified = false;
    const auto set = [&modified](auto& field, auto value) {
        if (field == value)
            return;
        field = value;
        modified = true;
    };
    set(item->Farbe, fields.colour);
    set(item->Pentyp, static_cast<TPenStyle>(fields.penStyle));
    set(item->LinienBreite, static_cast<std::uint8_t>(fields.widthIndex + 1));
    set(item->PunkteMarkierung, static_cast<DisplayMode>(fields.displayMode));
    if (modified)
        observer.DocumentModified();

    std::int32_t points = 0;
    if (!ReadPoints(fields.pointsText, points)) {
        catalogue.PlainMessage("'" + fields.pointsText + "' is not a valid integer value");
        return false;
    }
    if (points > kMaxCalculationPoints) {
        points = kMaxCalculationPoints;
        fields.pointsText = std::to_string(points);
        catalogue.ShowMessage(kMsgTooManyPoints);
    } else if (points < kMinCalculationPoints) {
        points = kMinCalculationPoints;
        fields.pointsText = std::to_string(points);
        catalogue.ShowMessage(kMsgTooFewPoints);
    }
    if (points != item->Stuetzstellen()) {
        observer.DocumentModified();
        item->SetStuetzstellen(points);
        catalogue.FitArrays(*item, static_cast<std::int32_t>(item->FeldListenListeM.size()));
    }

    if (item->valid) {
        if (item->FktTyp() == TFktTyp::fty) {
            if (TFunktion* first = FunctionAt(catalogue.VisibleItems(), fields.firstFunction)) {
                item->Funktion1 = first;
                first->Farbe = item->Farbe;
                first->Pentyp = item->Pentyp;
                first->LinienBreite = item->LinienBreite;
                first->PunkteMarkierung = item->PunkteMarkierung;
            }
        } else if (item->FktTyp() == TFktTyp::ftxtyt) {
            if (TFunktion* first = FunctionAt(catalogue.VisibleItems(), fields.firstFunction))
                item->Funktion1 = first;
            if (TFunktion* second = FunctionAt(catalogue.VisibleItems(), fields.secondFunction))
                item->Funktion2 = second;
        }
        // Entering a definition may rebuild the display list; nothing below uses `item`.
        for (auto [edited, definition] :
             {std::pair{&fields.firstEdited, &fields.firstDefinition},
              std::pair{&fields.secondEdited, &fields.secondDefinition}}) {
            if (!*edited)
                continue;
            manager.SetInputLine(*definition);
            manager.Enter();
            *edited = false;
            observer.DocumentModified();
        }
        observer.RedrawPlots();
    }
    observer.LegendChanged();
    return true;
}

ParameterCheck CheckChangedParameter(Catalogue& catalogue, const ParameterFields& fields) {
    const auto conversionError = [&catalogue](const std::string& text, const char* what) {
        catalogue.PlainMessage("'" + text + "' is not a valid " + what);
        return ParameterCheck::ConversionError;
    };
    switch (fields.source) {
        case TValueSource::vsList:
            if (fields.listLines.empty()) {
                catalogue.PlainMessage("Bitte in Liste Wert eintragen!");
                return ParameterCheck::EmptyList;
            }
            for (const std::string& line : fields.listLines) {
                if (std::isnan(TextToFloat(line)))
                    return conversionError(line, "floating point value");
            }
            return ParameterCheck::Accept;
        case TValueSource::vsAutomatic: {
            Extended value = 0;
            if (!FieldToFloat(fields.startText, value))
                return conversionError(fields.startText, "floating point value");
            if (!FieldToFloat(fields.stopText, value))
                return conversionError(fields.stopText, "floating point value");
            std::int32_t count = 0;
            if (!TextToInt(fields.countText, count))
                return conversionError(fields.countText, "integer value");
            if (count < 1) {
                catalogue.PlainMessage("Anzahl muß größer Null sein !");
                return ParameterCheck::CountBelowOne;
            }
            return ParameterCheck::Accept;
        }
        default:
            return ParameterCheck::Accept;
    }
}

}  // namespace pc
