#include "catalogue_views.h"

#include <algorithm>

#include "catalogue.h"
#include "engine/number_text.h"
#include "fkt_item.h"
#include "funktion.h"
#include "message_catalogue.h"
#include "parameter.h"

namespace pc {

namespace {

std::string NameOrUnknown(const TFunktion* function) {
    return function ? function->LeftName() : "???";
}

// The function name of a node label: the text before "(".
std::string LabelName(const std::string& label) {
    return label.substr(0, label.find('('));
}

// "A = 1 … 5" for each parameter of the item's functions, first value to last.
std::string FamilyText(const Catalogue& catalogue, const TFktItem& item) {
    std::string text;
    std::vector<std::string> named;
    for (const TFunktion* function : {item.Funktion1, item.Funktion2}) {
        if (!function)
            continue;
        for (const std::string& name : function->DependenceParams) {
            const TParameterItem* parameter = catalogue.Parameters().Find(name);
            if (!parameter || std::find(named.begin(), named.end(), name) != named.end())
                continue;
            const std::int32_t count = TParameter::ValueCount(*parameter, nullptr);
            if (count < 1)
                continue;
            named.push_back(name);
            text += (text.empty() ? "" : ", ") + name + " = " +
                    FormatGeneral(catalogue.Parameters().Value(name, 0));
            if (count > 1)
                text += " \u2026 " + FormatGeneral(catalogue.Parameters().Value(name, count - 1));
        }
    }
    return text;
}

}  // namespace

std::string LegendText(const TFktItem& item) {
    switch (item.FktTyp()) {
        case TFktTyp::fty:
            return NameOrUnknown(item.Funktion1);
        case TFktTyp::ftxtyt:
            return NameOrUnknown(item.Funktion1) + ", " + NameOrUnknown(item.Funktion2);
        default:
            return NameOrUnknown(item.Funktion1) + "=0";  // the implicit curve f(x,y)=0
    }
}

std::vector<LegendEntry> LegendEntries(const Catalogue& catalogue) {
    std::vector<LegendEntry> entries;
    for (const auto& item : catalogue.Items()) {
        if (item->Darstellung && item->valid)
            entries.push_back({LegendText(*item), item.get(), FamilyText(catalogue, *item)});
    }
    return entries;
}

void PickLegendItem(Catalogue& catalogue, TFktItem& item) {
    catalogue.SetCurrentItem(&item);
    for (const auto& other : catalogue.Items()) other->active = other.get() == &item;
}

void ChooseReference(Catalogue& catalogue, const TFktItem* item) {
    for (const auto& other : catalogue.Items()) other->Referenz = other.get() == item;
}

std::vector<DependencyNode> DependencyTree(Catalogue& catalogue) {
    std::vector<DependencyNode> roots;
    for (const auto& function : catalogue.Functions()) roots.push_back({function->LeftName(), {}});
    std::size_t nodeCount = roots.size();
    const char* unknown = catalogue.CurrentLanguage() == Language::German ? "unbekannt" : "unknown";

    // The current level, with each node's ancestors' function names.
    struct Pending {
        DependencyNode* node;
        std::vector<std::string> ancestors;
    };
    std::vector<Pending> level;
    for (DependencyNode& root : roots) level.push_back({&root, {}});
    while (!level.empty()) {
        std::vector<Pending> next;
        for (Pending& pending : level) {
            const std::string name = LabelName(pending.node->label);
            const TFunktion* function = catalogue.FindFunctionByName(pending.node->label);
            if (!function)
                continue;
            if (std::find(pending.ancestors.begin(), pending.ancestors.end(), name) !=
                pending.ancestors.end())
                continue;
            for (const std::string& callee : function->UserFunktionen) {
                if (nodeCount >= kMaxDependencyNodes)
                    break;
                const TFunktion* called = catalogue.FindFunctionByName(callee);
                pending.node->children.push_back(
                    {callee + "(" + (called ? called->Variable : unknown) + ")", {}});
                ++nodeCount;
            }
            // The children are complete now, so pointers into them stay valid.
            std::vector<std::string> ancestors = pending.ancestors;
            ancestors.push_back(name);
            for (DependencyNode& child : pending.node->children)
                next.push_back({&child, ancestors});
        }
        level = std::move(next);
    }
    return roots;
}

std::uint32_t DependencyNodeColour(Catalogue& catalogue, const std::string& label) {
    const TFunktion* function = catalogue.FindFunctionByName(label);
    if (!function)
        return kNodeMissing;
    return function->valid ? kNodeValid : kNodeInvalid;
}

std::vector<std::string> LimitLines(const ViewRange& main, const ViewRange& preview) {
    std::vector<std::string> lines;
    for (const auto& [prefix, limits] :
         {std::pair{"MainForm ", &main}, std::pair{"PreviewForm ", &preview}}) {
        const std::string surface = prefix;
        lines.push_back(surface + "xmin: " + FormatGeneral(limits->xmin));
        lines.push_back(surface + "xmax: " + FormatGeneral(limits->xmax));
        lines.push_back(surface + "ymin: " + FormatGeneral(limits->ymin));
        lines.push_back(surface + "ymax: " + FormatGeneral(limits->ymax));
        lines.push_back(surface + "phimin: " + FormatGeneral(limits->phimin));
        lines.push_back(surface + "phimax: " + FormatGeneral(limits->phimax));
    }
    return lines;
}

std::vector<std::string> DumpText(const Catalogue& catalogue, const ViewRange& main,
                                  const ViewRange& preview) {
    const std::string rule(26, '=');
    std::vector<std::string> trace;
    trace.push_back("Auswahlliste:");
    trace.push_back(rule);
    trace.push_back("Items in der Auswahlliste: " +
                    std::to_string(catalogue.SelectionList().size()));
    for (const std::string& line : catalogue.SelectionList()) trace.push_back(line);

    trace.push_back(" ");
    trace.push_back("Funktionenliste:");
    trace.push_back(rule);
    trace.push_back("Items in der Funktionenliste: " +
                    std::to_string(catalogue.Functions().size()));
    trace.push_back(" ");
    for (std::size_t i = 0; i < catalogue.Functions().size(); ++i) {
        trace.push_back("Funktionenliste[" + std::to_string(i) + "]:");
        catalogue.Functions()[i]->Dump(trace);
    }

    trace.push_back("FktListe:");
    trace.push_back(rule);
    trace.push_back("Items in der Fktliste: " + std::to_string(catalogue.Items().size()));
    trace.push_back(" ");
    for (std::size_t i = 0; i < catalogue.Items().size(); ++i) {
        trace.push_back("FktListe[" + std::to_string(i) + "]:");
        catalogue.Items()[i]->Dump(trace);
    }

    trace.push_back(rule);
    for (std::string& line : LimitLines(main, preview)) trace.push_back(std::move(line));
    return trace;
}

}  // namespace pc
