#include "function_manager.h"

#include <algorithm>
#include <cctype>

#include "catalogue.h"
#include "catalogue_observer.h"
#include "fkt_item.h"
#include "funktion.h"
#include "message_catalogue.h"
#include "message_numbers.h"
#include "startup_decisions.h"

namespace pc {

namespace {

// The function on selection line `line`: the line-th function that is not being
// destroyed, which is what the selection list shows.
TFunktion* FunctionOfLine(Catalogue& catalogue, int line) {
    if (line < 0)
        return nullptr;
    for (const auto& function : catalogue.Functions()) {
        if (function->Status != TStatus::sok)
            continue;
        if (line-- == 0)
            return function.get();
    }
    return nullptr;
}

}  // namespace

FunctionManager::FunctionManager(Catalogue& catalogue) : m_catalogue(catalogue) {}

void FunctionManager::SetInputLine(const std::string& text) {
    m_inputLine = text;
    std::transform(m_inputLine.begin(), m_inputLine.end(), m_inputLine.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    m_inputModified = true;
}

TFktItem* FunctionManager::ItemAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= m_catalogue.Items().size())
        return nullptr;
    return m_catalogue.Items()[static_cast<std::size_t>(row)].get();
}

void FunctionManager::Enter() {
    m_inputModified = false;
    // A number left over from an earlier failure must not make this entry look failed.
    m_catalogue.ClearPendingError();
    m_catalogue.EnterDefinition(m_inputLine);
    if (m_catalogue.PendingError() != 0)
        return;
    ReenterSelectionList();
    m_catalogue.Observer().RedrawPlots();
}

void FunctionManager::ReenterSelectionList() {
    const std::vector<std::string> lines = m_catalogue.SelectionList();
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
    if (m_catalogue.Functions().empty())
        m_inputLine.clear();
}

void FunctionManager::SelectDefinition(int line) {
    m_catalogue.SetDraggedFunction(FunctionOfLine(m_catalogue, line));
    const auto& lines = m_catalogue.SelectionList();
    if (line >= 0 && static_cast<std::size_t>(line) < lines.size())
        m_inputLine = lines[static_cast<std::size_t>(line)];
}

bool FunctionManager::LineValid(int line) const {
    const TFunktion* function = FunctionOfLine(m_catalogue, line);
    return function && function->valid;
}

bool FunctionManager::OpensParameterWindow(int line) {
    TFunktion* function = FunctionOfLine(m_catalogue, line);
    return function && !m_catalogue.DependenceParamsOf(*function).empty();
}

void FunctionManager::DeleteFunction(int line) {
    TFunktion* function = FunctionOfLine(m_catalogue, line);
    if (!function)
        return;
    m_catalogue.DeleteFunction(*function);
    if (m_catalogue.Functions().empty())
        m_inputLine.clear();
    m_catalogue.Observer().RedrawPlots();
}

bool FunctionManager::AcceptsDrop(int row, int column) const {
    const int items = static_cast<int>(m_catalogue.Items().size());
    if (column == kColumnFunction1)
        return row >= 0 && row <= items;
    if (column == kColumnFunction2) {
        const TFktItem* target = ItemAt(row);
        return target && target->Funktion1;
    }
    return false;
}

bool FunctionManager::Drop(int row, int column) {
    TFunktion* dragged = m_catalogue.DraggedFunction();
    if (!dragged || !AcceptsDrop(row, column))
        return false;
    TFktItem* target = ItemAt(row);
    auto item = std::make_unique<TFktItem>();
    item->Funktion1 = dragged;
    for (const auto& other : m_catalogue.Items()) other->active = false;

    if (column == kColumnFunction1) {
        if (target && target->FktTyp() == TFktTyp::ftxtyt) {
            item->SetFktTyp(TFktTyp::ftxtyt);
            item->Funktion2 = target->Funktion2;
            item->Referenz = target->Referenz;
        }
        item->Farbe = dragged->Farbe;
        item->Pentyp = dragged->Pentyp;
        item->LinienBreite = dragged->LinienBreite;
        item->PunkteMarkierung = dragged->PunkteMarkierung;
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
        item->SetFktTyp(TFktTyp::ftxtyt);
        item->valid = item->Funktion1->valid && dragged->valid;
        item->active = item->valid;
        item->Darstellung = item->valid;
    }

    if (target) {
        item->Farbe = target->Farbe;
        m_catalogue.FitArrays(*item, 1);
        m_catalogue.ReplaceItem(static_cast<std::size_t>(row), std::move(item));
    } else {
        m_catalogue.FitArrays(*item, std::max(m_catalogue.ParameterCount(*dragged), 1));
        m_catalogue.AddItem(std::move(item));
    }
    m_catalogue.Observer().LegendChanged();
    m_catalogue.CompileAll();
    m_catalogue.RevalidateItems();
    m_catalogue.Observer().RedrawPlots();
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
            if (item->FktTyp() == TFktTyp::ftxtyt) {
                item->Funktion1 = nullptr;
                item->valid = false;
                item->Darstellung = false;
                item->active = false;
            } else {
                m_catalogue.RemoveItem(index);
            }
            break;
        case kColumnFunction2:
            if (item->FktTyp() == TFktTyp::ftxtyt) {
                item->Funktion2 = nullptr;
                item->SetFktTyp(TFktTyp::fty);
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
    for (std::size_t i = m_catalogue.Items().size(); i-- > 0;) {
        const TFktItem& candidate = *m_catalogue.Items()[i];
        if (!candidate.Funktion1 && !candidate.Funktion2)
            m_catalogue.RemoveItem(i);
    }
    m_catalogue.RevalidateItems();
    m_catalogue.Observer().LegendChanged();
    m_catalogue.Observer().RedrawPlots();
}

void FunctionManager::LeftClick(int row, int column, std::int64_t nowMs) {
    TFktItem* item = ItemAt(row);
    if (!item)
        return;
    m_catalogue.SetCurrentItem(item);
    const auto& items = m_catalogue.Items();
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
                    m_catalogue.PlainMessage("unerlaubter Zustand 1");
                else
                    flash(item->statusHighlight);  // a hidden item cannot be selected
            } else if (!item->active) {
                for (const auto& other : items) other->active = false;
                item->active = true;
            } else if (!item->Darstellung) {
                m_catalogue.PlainMessage(item->Referenz ? "unerlaubter Zustand 3"
                                                        : "unerlaubter Zustand 2");
            } else {
                item->active = false;
                const auto shown =
                    std::find_if(items.begin(), items.end(),
                                 [](const auto& candidate) { return candidate->Darstellung; });
                if (shown != items.end()) {
                    (*shown)->active = true;
                    m_catalogue.SetCurrentItem(shown->get());
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
                    m_catalogue.Observer().SetPlotsReady(false);
                    m_catalogue.Observer().SetScaleMode(ScaleMode::smGlobal);
                }
            } else {
                item->Darstellung = false;
                item->active = false;
                item->Referenz = false;
            }
            m_catalogue.Observer().RedrawPlots();
            break;
        case kColumnReference:
            if (!item->valid || (!item->Darstellung && !item->Referenz)) {
                flash(item->referenceHighlight);  // a hidden item cannot be the reference
            } else if (!item->Darstellung) {
                m_catalogue.PlainMessage("unerlaubter Zustand 1");
            } else if (!item->Referenz) {
                for (const auto& other : items) other->Referenz = false;
                item->Referenz = true;
                m_catalogue.Observer().SetScaleMode(ScaleMode::smReference);
            } else {
                item->Referenz = false;
                m_catalogue.Observer().SetScaleMode(ScaleMode::smGlobal);
            }
            break;
        case kColumnColour:
            m_catalogue.SetDraggedFunction(item->Funktion1);
            break;
        case kColumnFunction1:
        case kColumnFunction2: {
            TFunktion* function = column == kColumnFunction1 ? item->Funktion1 : item->Funktion2;
            m_catalogue.SetDraggedFunction(function);
            if (function)
                m_inputLine = function->FullString();
            break;
        }
        default:
            break;
    }
    m_catalogue.Observer().LegendChanged();
}

bool FunctionManager::DoubleClick(int row, int column) {
    TFktItem* item = ItemAt(row);
    if (!item)
        return false;
    m_catalogue.SetCurrentItem(item);
    if (column == kColumnFunction1 || column == kColumnFunction2) {
        const TFunktion* function = column == kColumnFunction1 ? item->Funktion1 : item->Funktion2;
        if (function)
            m_inputLine = function->FullString();
    }
    return column >= kColumnType && column <= kColumnFunction2;
}

void FunctionManager::MouseRelease() {
    for (const auto& item : m_catalogue.Items()) {
        if (item->active) {
            m_catalogue.SetCurrentItem(item.get());
            return;
        }
    }
}

std::string FunctionManager::CellBitmap(int row, int column, std::int64_t nowMs,
                                        GridType gridType) {
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
            const bool polar = gridType == GridType::gtPolar;
            switch (item->FktTyp()) {
                case TFktTyp::fty:
                    return polar ? "R_PHI" : "Y";
                case TFktTyp::ftxtyt:
                    return polar ? "RTPHIT" : "XTYT";
                case TFktTyp::ftfxy:
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
    CatalogueObserver& observer = m_catalogue.Observer();
    if (m_catalogue.Items().empty()) {
        m_catalogue.ShowMessage(kMsgNoFunctionSelected);
        observer.RaiseManager();
        return;
    }
    observer.SetAnimateVisible(m_catalogue.AnyShownAnimated());
    const bool anyDrawable =
        std::any_of(m_catalogue.Items().begin(), m_catalogue.Items().end(),
                    [](const auto& item) { return item->Darstellung && item->valid; });
    if (anyDrawable) {
        observer.ApplySettingsLimits();
        m_catalogue.CompileAll();
        observer.RedrawPlots();
    } else {
        m_catalogue.ShowMessage(kMsgNothingShown);
        observer.RaiseManager();
        observer.ClearPlots();
    }
}

void FunctionManager::Open(const std::string& path, const OpenHandlers& handlers) {
    const std::string extension = UpperCaseExtension(path);
    const auto& handler = extension == ".FX"    ? handlers.readFunctionFile
                          : extension == ".PCF" ? handlers.loadConfiguration
                                                : std::function<void(const std::string&)>();
    if (!handler) {
        m_catalogue.ShowMessage(kMsgNotAPlotcraftsmanFile);
        m_catalogue.ClearPendingError();
        return;
    }
    try {
        handler(path);
    } catch (const std::exception&) {
        m_catalogue.ShowMessage(kMsgNotAPlotcraftsmanFile);
        m_catalogue.ClearPendingError();
    }
    RefreshLists();
    m_catalogue.Observer().DependencyTreeChanged();
    ReenterSelectionList();
    if (m_catalogue.SelectionList().empty())
        m_inputLine.clear();
}

}  // namespace pc
