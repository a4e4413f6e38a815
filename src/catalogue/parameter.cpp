#include "parameter.h"

#include <limits>

#include "file_text.h"
#include "notifier.h"
#include "text_conversions.h"

namespace pc {

namespace {

Extended ValueAt(const std::vector<std::string>& values, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= values.size())
        return std::numeric_limits<Extended>::quiet_NaN();
    return TextToFloat(values[static_cast<std::size_t>(index)]);
}

}  // namespace

TParameterItem::TParameterItem(std::string parameterName, std::string defaultTableFile)
    : name(std::move(parameterName)), tableFileName(std::move(defaultTableFile)) {}

TParameter::TParameter(std::string installDirectory)
    : m_installDirectory(std::move(installDirectory)) {}

std::string TParameter::DefaultTableFile() const {
    return m_installDirectory + "Parametertables/ParameterList1.fx1";
}

TParameterItem* TParameter::Find(std::string_view name) {
    for (TParameterItem& item : m_items) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

const TParameterItem* TParameter::Find(std::string_view name) const {
    return const_cast<TParameter*>(this)->Find(name);
}

void TParameter::EnsureItems(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (!Find(name))
            m_items.emplace_back(name, DefaultTableFile());
    }
}

bool TParameter::SetValueSource(std::string_view name, TValueSource source) {
    TParameterItem* item = Find(name);
    if (!item)
        return false;
    if (item->valueSource != source) {
        switch (source) {
            case TValueSource::vsList:
                item->currentCount = static_cast<std::int32_t>(item->listValues.size());
                break;
            case TValueSource::vsAutomatic:
                item->currentCount = item->automaticCount;
                break;
            case TValueSource::vsFile:
                item->currentCount = static_cast<std::int32_t>(item->fileValues.size());
                break;
            default:
                break;
        }
    }
    item->valueSource = source;
    return true;
}

bool TParameter::SetStartValue(std::string_view name, Extended value) {
    TParameterItem* item = Find(name);
    if (item)
        item->startValue = value;
    return item != nullptr;
}

bool TParameter::SetStopValue(std::string_view name, Extended value) {
    TParameterItem* item = Find(name);
    if (item)
        item->stopValue = value;
    return item != nullptr;
}

bool TParameter::SetAutomaticCount(std::string_view name, std::int32_t count) {
    TParameterItem* item = Find(name);
    if (!item)
        return false;
    item->automaticCount = count;
    item->currentCount = count;
    return true;
}

bool TParameter::SetListValues(std::string_view name, std::vector<std::string> values) {
    TParameterItem* item = Find(name);
    if (item)
        item->listValues = std::move(values);
    return item != nullptr;
}

bool TParameter::SetAnimate(std::string_view name, bool animate) {
    TParameterItem* item = Find(name);
    if (item)
        item->animate = animate;
    return item != nullptr;
}

bool TParameter::LoadTableFile(std::string_view name, const std::string& fileName) {
    TParameterItem* item = Find(name);
    if (!item)
        return false;
    TextFile table = ReadTextFile(fileName, kParameterTableMaxBytes);
    if (table.status != TextFileStatus::Read)
        return false;
    item->tableFileName = fileName;
    item->fileValues = std::move(table.lines);
    return true;
}

std::int32_t TParameter::ValueCount(const TParameterItem& item, Notifier* notifier) {
    switch (item.valueSource) {
        case TValueSource::vsList:
            return static_cast<std::int32_t>(item.listValues.size());
        case TValueSource::vsAutomatic:
            return item.automaticCount;
        case TValueSource::vsFile:
            return static_cast<std::int32_t>(item.fileValues.size());
        default:
            if (notifier)
                notifier->PlainMessage(
                    "ERROR in TParameterItem.getAnzahl_ParameterWerte_for_specific_Parametername");
            return 0;
    }
}

Extended TParameter::Value(std::string_view name, std::int32_t index) const {
    const TParameterItem* item = Find(name);
    if (!item)
        return 1;
    switch (item->valueSource) {
        case TValueSource::vsList:
            return ValueAt(item->listValues, index);
        case TValueSource::vsFile:
            return ValueAt(item->fileValues, index);
        case TValueSource::vsAutomatic: {
            const std::int32_t count = item->automaticCount;
            const Extended step = count == 1 ? Extended(0)
                                             : (item->stopValue - item->startValue) /
                                                   static_cast<Extended>(count - 1);
            if (index <= count - 1)
                return item->startValue + static_cast<Extended>(index) * step;
            return item->stopValue;
        }
        default:
            return 1;
    }
}

}  // namespace pc
