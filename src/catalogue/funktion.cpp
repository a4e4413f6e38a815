#include "funktion.h"

#include "text_conversions.h"

namespace pc {

namespace {

const char* TrueFalse(bool value) {
    return value ? "True" : "False";
}

void DumpList(std::vector<std::string>& trace, const char* countLabel, const char* entryLabel,
              const std::vector<std::string>& names) {
    trace.push_back(countLabel + std::to_string(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i)
        trace.push_back(entryLabel + std::to_string(i) + "]: " + names[i]);
}

}  // namespace

std::string TFunktion::LeftName() const {
    return Funktionsname + "(" + Variable + ")";
}

std::string TFunktion::FullString() const {
    return LeftName() + "=" + Term;
}

void TFunktion::Dump(std::vector<std::string>& trace) const {
    trace.push_back("-----------------------------------");
    trace.push_back("Funktionsname: " + Funktionsname);
    trace.push_back(std::string("Funktion valid: ") + TrueFalse(valid));
    trace.push_back("Variable: " + Variable);
    trace.push_back("Term: " + Term);
    trace.push_back("Flatterm: " + Flatterm);
    trace.push_back("Farbe: " + ColorHex(Farbe));
    trace.push_back(std::string("Linienart: ") + PenStyleText(Pentyp));
    trace.push_back("Strichstärke: " + std::to_string(LinienBreite));
    trace.push_back(std::string("Punktemarkierung: ") + DisplayModeText(PunkteMarkierung));
    trace.push_back("Parametercount: " + std::to_string(Parametercount));
    DumpList(trace, "DependenceParams.count: ", "DependenceParam[", DependenceParams);
    DumpList(trace, "UserFunktionen.Count: ", "UserFunktion[", UserFunktionen);
    DumpList(trace, "UserParameters.count: ", "UserParameter[", UserParameters);
    DumpList(trace, "BenutzteFunktionenList.count: ", "BenutzteFunktionen[", BenutzteFunktionen);
    DumpList(trace, "FunktionWirdGenutztVonList.count: ", "FunktionWirdGenutztVon[",
             FunktionWirdGenutztVon);
    std::vector<std::string> subfunctionNames;
    for (const TFunktion* subfunction : Subfunctions)
        subfunctionNames.push_back(subfunction->Funktionsname);
    DumpList(trace, "Subfunctions.count: ", "Funktionsname[", subfunctionNames);
    trace.push_back("Stützstellenzahl: " + std::to_string(Stuetzstellenzahl));
    switch (Status) {
        case TStatus::sok:
            trace.push_back("Status: sok");
            break;
        case TStatus::sdestroy:
            trace.push_back("Status: sdestroy");
            break;
        default:
            trace.push_back("Status: unbekannt");
            break;
    }
    trace.push_back(std::string("Recursive: ") + TrueFalse(Recursive));
    trace.push_back("Parser Index: " + std::to_string(ParserIndex));
    trace.push_back("LeftName: " + LeftName());
    trace.push_back("FullString: " + FullString());
    trace.push_back(" ");
}

}  // namespace pc
