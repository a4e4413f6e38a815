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
    TParameter& parameters = m_catalogue.Parameters();
    parameters.LoadTableFile(name, m_fields.tableFileName);
    parameters.SetValueSource(name, m_fields.source);
    if (parameters.Find(name)) {
        parameters.SetListValues(name, m_fields.listLines);
        Extended value = 0;
        if (!FieldToFloat(m_fields.startText, value))
            return false;
        parameters.SetStartValue(name, value);
        if (!FieldToFloat(m_fields.stopText, value))
            return false;
        parameters.SetStopValue(name, value);
        std::int32_t count = 0;
        if (!TextToInt(m_fields.countText, count))
            return false;
        parameters.SetAutomaticCount(name, count);
        parameters.LoadTableFile(name, m_fields.tableFileName);
        parameters.SetAnimate(name, m_fields.animate);
    }
    for (const auto& item : m_catalogue.Items()) {
        const std::int32_t count =
            item->Funktion1 ? m_catalogue.ParameterCount(*item->Funktion1) : 1;
        m_catalogue.FitArrays(*item, std::max(count, 1));
    }
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
