#pragma once
// Parameters: the free identifiers of terms (A in F1(X)=A*SIN(X)). Each has a list of
// values; a function that depends on parameters is computed once per combination of
// their values.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/extended.h"

namespace pc {

class Notifier;

// The largest parameter table read: one value per line, so over a million values of 15
// digits, more than any family of curves can draw.
inline constexpr std::uint64_t kParameterTableMaxBytes = 16u << 20;

// Where a parameter's values come from; stored as a byte, so files may hold others.
enum class TValueSource : std::uint8_t { vsList = 0, vsAutomatic = 1, vsFile = 2 };

class TParameterItem {
  public:
    TParameterItem(std::string parameterName, std::string defaultTableFile);

    std::string name;
    TValueSource valueSource = TValueSource::vsAutomatic;
    Extended startValue = 1;
    Extended stopValue = 10;
    std::int32_t automaticCount = 5;
    std::string tableFileName;
    std::int32_t storedFileCount = 0;     // file values recorded in the function file
    std::vector<std::string> fileValues;  // lines of the table file
    std::int32_t listCount = 3;           // list values recorded in the function file
    std::vector<std::string> listValues{"2", "3", "4"};
    std::int32_t currentCount = 5;  // value count of the current source
    bool animate = true;
};

// The parameter list: one item per parameter name, in order of creation.
class TParameter {
  public:
    // `installDirectory` ends with "/" (or is empty); new items name the table file
    // Parametertables/ParameterList1.fx1 below it.
    explicit TParameter(std::string installDirectory = {});

    std::vector<TParameterItem>& Items() { return m_items; }
    const std::vector<TParameterItem>& Items() const { return m_items; }
    std::string DefaultTableFile() const;

    // The first item named exactly `name`, or null. Pointers stay valid until the next
    // item is added.
    TParameterItem* Find(std::string_view name);
    const TParameterItem* Find(std::string_view name) const;

    // Appends an item with default settings for every name that has none.
    void EnsureItems(const std::vector<std::string>& names);

    // Setters by name; each returns false when there is no such item.
    bool SetValueSource(std::string_view name, TValueSource source);  // also sets currentCount
    bool SetStartValue(std::string_view name, Extended value);
    bool SetStopValue(std::string_view name, Extended value);
    bool SetAutomaticCount(std::string_view name, std::int32_t count);  // also sets currentCount
    bool SetListValues(std::string_view name, std::vector<std::string> values);
    bool SetAnimate(std::string_view name, bool animate);

    // When the file can be read (see ReadTextFile; at most kParameterTableMaxBytes): the
    // item's table file becomes `fileName` and its file values the file's lines.
    // Otherwise nothing changes. False when there is no such item or the file cannot be
    // read.
    bool LoadTableFile(std::string_view name, const std::string& fileName);

    // Number of values of the item's current source; an unknown source reports
    // "ERROR in TParameterItem.getAnzahl_ParameterWerte_for_specific_Parametername"
    // through `notifier` (when given) and counts 0.
    static std::int32_t ValueCount(const TParameterItem& item, Notifier* notifier);

    // The value at `index` of the named parameter: list and file values read as floats
    // (unreadable or missing ones are NaN); automatic values run from start to stop, the
    // stop value for every index past the count. 1 when there is no such item.
    Extended Value(std::string_view name, std::int32_t index) const;

  private:
    std::string m_installDirectory;
    std::vector<TParameterItem> m_items;
};

}  // namespace pc
