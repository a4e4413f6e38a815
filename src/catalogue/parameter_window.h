#pragma once
// The parameter window's logic: which parameter it shows, how its fields are stored
// into the parameter list, and Cancel's return to the list as it was on opening.

#include <cstdint>
#include <string>
#include <vector>

#include "parameter.h"

namespace pc {

class Catalogue;
class TFunktion;

// The most automatic values a parameter may have: each is a curve of the family, and the
// catalogue holds at most kMaxRecordsInCatalogue points.
inline constexpr std::int32_t kMaxAutomaticCount = 100000;
// What the window says about a start, stop or count it cannot take, and a count below 1.
inline constexpr const char* kWrongInputText = "This input data is wrong! Please correct.";
inline constexpr const char* kCountBelowOneText = "Anzahl muß größer Null sein !";

// The window's controls, as text where the user types.
struct ParameterFields {
    TValueSource source = TValueSource::vsAutomatic;
    std::vector<std::string> listLines{"1", "2"};
    std::string startText;
    std::string stopText;
    std::string countText;
    std::string tableFileName;
    bool animate = true;
};

class ParameterWindow {
  public:
    explicit ParameterWindow(Catalogue& catalogue);

    // Opens for `function`: keeps a copy of the parameter list for Cancel, offers the
    // function's parameters sorted, and shows the first.
    void Open(TFunktion& function);
    // Opens for one parameter by name (the script's way in); false when it has no item.
    bool OpenParameter(const std::string& name);

    const std::vector<std::string>& Names() const { return m_names; }
    const std::string& ShownName() const { return m_shown; }
    ParameterFields& Fields() { return m_fields; }

    // Loads the fields from the named item; the item's animate flag follows the box.
    void Show(const std::string& name);
    // Stores the fields into the named item and resizes every item's point arrays. A
    // start, stop or count that cannot be read, or a count outside 1 to
    // kMaxAutomaticCount, is said in a plain message and nothing changes (false).
    bool Store(const std::string& name);
    // Choosing another name: stores the shown one, then shows `name`.
    bool SelectName(const std::string& name);
    bool Ok() { return Store(m_shown); }
    // Puts the parameter list back as it was when the window opened.
    void Cancel();

  private:
    Catalogue& m_catalogue;
    std::vector<TParameterItem> m_saved;
    std::vector<std::string> m_names;
    std::string m_shown;
    ParameterFields m_fields;
};

}  // namespace pc
