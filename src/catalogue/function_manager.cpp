#include "function_manager.h"

#include <algorithm>
#include <cctype>

#include "catalogue.h"
#include "catalogue_observer.h"
#include "fkt_item.h"
#include "funktion.h"
#include "message_catalogue.h"
#include "notifier.h"
#include "startup_decisions.h"

namespace pc {

namespace {

// The function on selection line `line`: the line-th function that is not being
// destroyed, which is what the selection list shows.
TFunktion* FunctionOfLine(Catalogue& catalogue, int line) {
    if (line < 0)
        return nullptr;
    for (const auto& function : catalogue.functionList) {
        if (function->Status != TStatus::sok)
            continue;
        if (line-- == 0)
            return function.get();
    }
    return nullptr;
}

}  // namespace

FunctionManager::FunctionManager(Catalogue& catalogue) : m_catalogue(catalogue) {}

void FunctionManager::setInputLine(const std::string& text) {
    m_inputLine = text;
    std::transform(m_inputLine.begin(), m_inputLine.end(), m_inputLine.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    m_inputModified = true;
}

TFktItem* FunctionManager::ItemAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_catalogue.displayList.size())
        return nullptr;
    return m_catalogue.displayList[static_cast<std::size_t>(row)].get();
}

void FunctionManager::Enter() {
    m_inputModified = false;
    // A number left over from an earlier failure must not make this entry look failed.
    m_catalogue.pendingError = 0;
    m_catalogue.EnterDefinition(m_inputLine);
    if (m_catalogue.pendingError != 0)
        return;
    ReenterSelectionList();
    m_catalogue.observer().redrawPlots();
}

void FunctionManager::ReenterSelectionList() {
    const std::vector<std::string> lines = m_catalogue.selectionList;
    for (const std::string& line : lines) {
        // A placeholder's line ("G(X)=") is no definition the user typed; entering it
        // would only report a syntax error.
        if (!line.empty() && line.back() == '=')
            continue;
        m_catalogue.EnterDefinition(line, Catalogue::EntryMode::Reentry);
    }
}

void FunctionManager::RefreshLists() {
    m_catalogue.RefreshLists();
    if (m_catalogue.functionList.empty())
        m_inputLine.clear();
}

void FunctionManager::SelectDefinition(int line) {
    m_catalogue.draggedFunction = FunctionOfLine(m_catalogue, line);
    if (line >= 0 && static_cast<std::size_t>(line) < m_catalogue.selectionList.size())
        m_inputLine = m_catalogue.selectionList[static_cast<std::size_t>(line)];
}

bool FunctionManager::OpensParameterWindow(int line) {
    TFunktion* function = FunctionOfLine(m_catalogue, line);
    return function && !m_catalogue.UpdateDependenceParams(*function).empty();
}

void FunctionManager::DeleteFunction(int line) {
    TFunktion* function = FunctionOfLine(m_catalogue, line);
    if (!function)
        return;
    function->Status = TStatus::sdestroy;
    function->valid = false;
    for (const std::string& user : m_catalogue.UpdateFunktionWirdGenutztVon(*function)) {
        if (TFunktion* caller = m_catalogue.FindFunctionByName(user))
            caller->valid = false;
    }
    RefreshLists();
    m_catalogue.RevalidateItems();
    m_catalogue.RemoveDestroyedFunctions();
    m_catalogue.observer().legendChanged();
    m_catalogue.CompileAll();
    m_catalogue.observer().dependencyTreeChanged();
    m_catalogue.observer().redrawPlots();
}

bool FunctionManager::AcceptsDrop(int row, int column) const {
    const int items = static_cast<int>(m_catalogue.displayList.size());
    if (column == kColumnFunction1)
        return row >= 0 && row <= items;
    if (column == kColumnFunction2) {
        const TFktItem* target = ItemAt(row);
        return target && target->Funktion1;
    }
    return false;
}

bool FunctionManager::Drop(int row, int column) {
    TFunktion* dragged = m_catalogue.draggedFunction;
    if (!dragged || !AcceptsDrop(row, column))
        return false;
    TFktItem* target = ItemAt(row);
    auto item = std::make_unique<TFktItem>();
    item->Funktion1 = dragged;
    for (const auto& other : m_catalogue.displayList) other->active = false;

    if (column == kColumnFunction1) {
        if (target && target->FktTyp() == ftxtyt) {
            item->SetFktTyp(ftxtyt);
            item->Funktion2 = target->Funktion2;
            item->Referenz = target->Referenz;
        }
        item->Farbe = dragged->Farbe;
        item->Pentyp = dragged->Linienart;
        item->LinienBreite = dragged->Strichstaerke;
        item->PunkteMarkierung = dragged->Punktemarkierung;
        item->SetStuetzstellen(dragged->Stuetzstellenzahl);
        item->valid = dragged->valid && (!item->Funktion2 || item->Funktion2->valid);
        item->Darstellung = item->valid;
        item->active = false;
    } else {
        item->Farbe = dragged->Farbe;
        item->Funktion2 = dragged;
        item->Funktion1 = target->Funktion1;
        item->Referenz = target->Referenz;
        item->LinienBreite = target->LinienBreite;
        item->SetFktTyp(ftxtyt);
        item->valid = item->Funktion1->valid && dragged->valid;
        item->active = item->valid;
        item->Darstellung = item->valid;
    }

    if (target) {
        item->Farbe = target->Farbe;
        m_catalogue.FitArrays(*item, 1);
        const auto index = static_cast<std::size_t>(row);
        if (m_catalogue.currentItem == target)
            m_catalogue.currentItem = item.get();
        m_catalogue.displayList[index] = std::move(item);
    } else {
        m_catalogue.FitArrays(*item, std::max(m_catalogue.ParameterCount(*dragged), 1));
        m_catalogue.displayList.push_back(std::move(item));
    }
    m_catalogue.observer().legendChanged();
    m_catalogue.CompileAll();
    m_catalogue.RevalidateItems();
    m_catalogue.observer().redrawPlots();
    return true;
}

bool FunctionManager::OffersRemove(int row, int column) const {
    const TFktItem* item = ItemAt(row);
    if (!item)
        return false;
    return (column == kColumnFunction1 && item->Funktion1) ||
           (column == kColumnFunction2 && item->Funktion2);
}

void FunctionManager::Remove(int row, int column) {
    TFktItem* item = ItemAt(row);
    if (!item)
        return;
    const auto index = static_cast<std::size_t>(row);
    switch (column) {
        case kColumnFunction1:
            if (item->FktTyp() == ftxtyt) {
                item->Funktion1 = nullptr;
                item->valid = false;
                item->Darstellung = false;
                item->active = false;
            } else {
                m_catalogue.RemoveItem(index);
            }
            break;
        case kColumnFunction2:
            if (item->FktTyp() == ftxtyt) {
                item->Funktion2 = nullptr;
                item->SetFktTyp(fty);
                item->valid = item->Funktion1 && item->Funktion1->valid;
            }
            break;
        case kColumnShown:
        case kColumnType:
        case kColumnColour:
            m_catalogue.RemoveItem(index);
            break;
        default:
            break;
    }
    for (std::size_t i = m_catalogue.displayList.size(); i-- > 0;) {
        const TFktItem& candidate = *m_catalogue.displayList[i];
        if (!candidate.Funktion1 && !candidate.Funktion2)
            m_catalogue.RemoveItem(i);
    }
    m_catalogue.RevalidateItems();
    m_catalogue.observer().legendChanged();
    m_catalogue.observer().redrawPlots();
}

void FunctionManager::LeftClick(int row, int column, std::int64_t nowMs) {
    TFktItem* item = ItemAt(row);
    if (!item)
        return;
    m_catalogue.currentItem = item;
    Notifier& notifier = m_catalogue.notifier();
    auto& items = m_catalogue.displayList;
    const auto flash = [&](bool& flag) {
        flag = true;
        m_flashTick = nowMs;
    };

    switch (column) {
        case kColumnSelection:
            if (!item->valid) {
                flash(item->statusHighlight);
            } else if (!item->active && !item->Darstellung) {
                if (item->Referenz)
                    notifier.plainMessage("unerlaubter Zustand 1");
                else
                    flash(item->statusHighlight);  // a hidden item cannot be selected
            } else if (!item->active) {
                for (const auto& other : items) other->active = false;
                item->active = true;
            } else if (!item->Darstellung) {
                notifier.plainMessage(item->Referenz ? "unerlaubter Zustand 3"
                                                     : "unerlaubter Zustand 2");
            } else {
                item->active = false;
                const auto shown =
                    std::find_if(items.begin(), items.end(),
                                 [](const auto& candidate) { return candidate->Darstellung; });
                if (shown != items.end()) {
                    (*shown)->active = true;
                    m_catalogue.currentItem = shown->get();
                }
            }
            break;
        case kColumnShown:
            if (item->valid) {
                item->Darstellung = !item->Darstellung;
                for (const auto& other : items) other->active = false;
                item->active = item->Darstellung;
                if (item->Referenz && !item->Darstellung) {
                    item->Referenz = false;
                    m_catalogue.observer().setPlotsReady(false);
                    m_catalogue.observer().setScaleMode(kScaleModeGlobal);
                }
            } else {
                item->Darstellung = false;
                item->active = false;
                item->Referenz = false;
            }
            m_catalogue.observer().redrawPlots();
            break;
        case kColumnReference:
            if (!item->valid || (!item->Darstellung && !item->Referenz)) {
                flash(item->referenceHighlight);  // a hidden item cannot be the reference
            } else if (!item->Darstellung) {
                notifier.plainMessage("unerlaubter Zustand 1");
            } else if (!item->Referenz) {
                for (const auto& other : items) other->Referenz = false;
                item->Referenz = true;
                m_catalogue.observer().setScaleMode(kScaleModeReference);
            } else {
                item->Referenz = false;
                m_catalogue.observer().setScaleMode(kScaleModeGlobal);
            }
            break;
        case kColumnColour:
            m_catalogue.draggedFunction = item->Funktion1;
            break;
        case kColumnFunction1:
        case kColumnFunction2: {
            TFunktion* function = column == kColumnFunction1 ? item->Funktion1 : item->Funktion2;
            m_catalogue.draggedFunction = function;
            if (function)
                m_inputLine = function->FullString();
            break;
        }
        default:
            break;
    }
    m_catalogue.observer().legendChanged();
}

bool FunctionManager::DoubleClick(int row, int column) {
    TFktItem* item = ItemAt(row);
    if (!item)
        return false;
    m_catalogue.currentItem = item;
    if (column == kColumnFunction1 || column == kColumnFunction2) {
        const TFunktion* function = column == kColumnFunction1 ? item->Funktion1 : item->Funktion2;
        if (function)
            m_inputLine = function->FullString();
    }
    return column >= kColumnType && column <= kColumnFunction2;
}

void FunctionManager::MouseRelease() {
    for (const auto& item : m_catalogue.displayList) {
        if (item->active) {
            m_catalogue.currentItem = item.get();
            return;
        }
    }
}

std::string FunctionManager::CellBitmap(int row, int column, std::int64_t nowMs,
                                        std::uint8_t gridType) {
    TFktItem* item = ItemAt(row);
    if (!item)
        return {};
    const auto flashed = [&](bool& flag, const char* crossed) -> std::string {
        flag = false;
        return nowMs - m_flashTick < kFlashMilliseconds ? crossed : "BLANK";
    };
    switch (column) {
        case kColumnSelection:
            if (item->statusHighlight)
                return flashed(item->statusHighlight, "PFEIL_X");
            return item->active ? "PFEIL" : "BLANK";
        case kColumnShown:
            if (!item->valid)
                return "FORBIDDEN";
            return item->Darstellung ? "CHECKED" : "NOCHECKED";
        case kColumnReference:
            if (item->referenceHighlight)
                return flashed(item->referenceHighlight, "REF_X");
            return item->Referenz ? "REF" : "BLANK";
        case kColumnType: {
            const bool polar = gridType == kGridTypePolar;
            switch (item->FktTyp()) {
                case fty:
                    return polar ? "R_PHI" : "Y";
                case ftxtyt:
                    return polar ? "RTPHIT" : "XTYT";
                case ftfxy:
                    return polar ? "FPHIR" : "FXY";
                default:
                    return {};
            }
        }
        default:
            return {};
    }
}

const TFunktion* FunctionManager::FunctionInCell(int row, int column) const {
    const TFktItem* item = ItemAt(row);
    if (!item)
        return nullptr;
    return column == kColumnFunction1   ? item->Funktion1
           : column == kColumnFunction2 ? item->Funktion2
                                        : nullptr;
}

std::string FunctionManager::CellText(int row, int column) const {
    const TFunktion* function = FunctionInCell(row, column);
    return function ? function->LeftName() : std::string();
}

std::uint32_t FunctionManager::CellTextColour(int row) const {
    const TFktItem* item = ItemAt(row);
    return item && item->Referenz ? 0x008000u : 0u;
}

std::string FunctionManager::CellHint(int row, int column) const {
    const TFunktion* function = FunctionInCell(row, column);
    return function ? function->FullString() : std::string();
}

void FunctionManager::Redraw() {
    CatalogueObserver& observer = m_catalogue.observer();
    if (m_catalogue.displayList.empty()) {
        m_catalogue.notifier().showMessage(m_catalogue.language, 9, ButtonSet::Ok);
        observer.raiseManager();
        return;
    }
    observer.setAnimateVisible(m_catalogue.AnyShownAnimated());
    const bool anyDrawable =
        std::any_of(m_catalogue.displayList.begin(), m_catalogue.displayList.end(),
                    [](const auto& item) { return item->Darstellung && item->valid; });
    if (anyDrawable) {
        observer.applySettingsLimits();
        m_catalogue.CompileAll();
        observer.redrawPlots();
    } else {
        m_catalogue.notifier().showMessage(m_catalogue.language, 29, ButtonSet::Ok);
        observer.raiseManager();
        observer.clearPlots();
    }
}

void FunctionManager::Open(const std::string& path, const OpenHandlers& handlers) {
    const std::string extension = UpperCaseExtension(path);
    const auto& handler = extension == ".FX"    ? handlers.readFunctionFile
                          : extension == ".PCF" ? handlers.loadConfiguration
                                                : std::function<void(const std::string&)>();
    if (!handler) {
        m_catalogue.notifier().showMessage(m_catalogue.language, 36, ButtonSet::Ok);
        m_catalogue.pendingError = 0;
        return;
    }
    try {
        handler(path);
    } catch (const std::exception&) {
        m_catalogue.notifier().showMessage(m_catalogue.language, 36, ButtonSet::Ok);
        m_catalogue.pendingError = 0;
    }
    RefreshLists();
    m_catalogue.observer().dependencyTreeChanged();
    ReenterSelectionList();
    if (m_catalogue.selectionList.empty())
        m_inputLine.clear();
}

}  // namespace pc
