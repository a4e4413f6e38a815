#include "parameter_window.h"

#include <algorithm>

#include "catalogue.h"
#include "engine/number_text.h"
#include "fkt_item.h"
#include "funktion.h"
#include "text_conversions.h"

namespace pc {

ParameterWindow::ParameterWindow(Catalogue& catalogue) : m_catalogue(catalogue) {}

void ParameterWindow::Open(TFunktion& function) {
    // The whole list, file values included: Cancel must give back exactly what was there.
    m_saved = m_catalogue.Parameters().Items();
    m_names = m_catalogue.DependenceParamsOf(function);
    std::sort(m_names.begin(), m_names.end());
    m_shown.clear();
    if (!m_names.empty())
        Show(m_names.front());
}

bool ParameterWindow::OpenParameter(const std::string& name) {
    if (!m_catalogue.Parameters().Find(name))
        return false;
    m_saved = m_catalogue.Parameters().Items();
    m_names = {name};
    Show(name);
    return true;
}

void ParameterWindow::Show(const std::string& name) {
    m_shown = name;
    TParameterItem* item = m_catalogue.Parameters().Find(name);
    if (!item)
        return;
    m_fields.source = item->valueSource;
    m_fields.tableFileName = item->tableFileName;
    m_fields.startText = FormatGeneral(item->startValue);
    m_fields.stopText = FormatGeneral(item->stopValue);
    m_fields.countText = std::to_string(item->automaticCount);
    m_fields.listLines = item->listValues;
    item->animate = m_fields.animate;
}

bool ParameterWindow::Store(const std::string& name) {
    // Every number is read and checked before anything changes: a field refused half-way
    // would otherwise leave the parameter part old and part new.
    Extended start = 0;
    Extended stop = 0;
    std::int32_t count = 0;
    if (!FieldToFloat(m_fields.startText, start) || !FieldToFloat(m_fields.stopText, stop) ||
        !TextToInt(m_fields.countText, count) || count > kMaxAutomaticCount) {
        m_catalogue.PlainMessage(kWrongInputText);
        return false;
    }
    if (count < 1) {
        m_catalogue.PlainMessage(kCountBelowOneText);
        return false;
    }
    TParameter& parameters = m_catalogue.Parameters();
    parameters.LoadTableFile(name, m_fields.tableFileName);
    parameters.SetValueSource(name, m_fields.source);
    if (parameters.Find(name)) {
        parameters.SetListValues(name, m_fields.listLines);
        parameters.SetStartValue(name, start);
        parameters.SetStopValue(name, stop);
        parameters.SetAutomaticCount(name, count);
        parameters.LoadTableFile(name, m_fields.tableFileName);
        parameters.SetAnimate(name, m_fields.animate);
    }
    // An x(t), y(t) item draws one curve per combination of both functions' parameters.
    for (const auto& item : m_catalogue.Items())
        m_catalogue.FitArrays(*item, std::max(m_catalogue.ArrayCount(*item), 1));
    if (m_catalogue.CurrentItem())
        m_catalogue.CurrentItem()->Animated = m_fields.animate;
    return true;
}

bool ParameterWindow::SelectName(const std::string& name) {
    const bool stored = m_shown.empty() || Store(m_shown);
    Show(name);
    return stored;
}

void ParameterWindow::Cancel() {
    m_catalogue.Parameters().Items() = m_saved;
}

}  // namespace pc
