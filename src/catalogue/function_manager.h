#pragma once
// The function manager's decisions, without its window: the input line, the selection
// list, the display grid with its click states, drag and drop, deletion, Redraw and
// Open. The window forwards each event to one operation here and repaints from the
// catalogue and the cell queries.

#include <cstdint>
#include <functional>
#include <string>

#include "catalogue_types.h"

namespace pc {

class Catalogue;
class TFktItem;
class TFunktion;

// Columns of the display grid.
inline constexpr int kColumnSelection = 0;
inline constexpr int kColumnShown = 1;
inline constexpr int kColumnReference = 2;
inline constexpr int kColumnType = 3;
inline constexpr int kColumnColour = 4;
inline constexpr int kColumnFunction1 = 5;
inline constexpr int kColumnFunction2 = 6;
inline constexpr int kGridColumnCount = 7;

// How long a flashed cell shows its crossed picture, in milliseconds: long enough to be
// seen (a hundredth of a second, as once intended, passes before the screen shows it).
inline constexpr std::int64_t kFlashMilliseconds = 300;

// Readers the Open command dispatches to by extension. Each may throw to report that
// the file could not be read; the catalogue's pending error then tells the caller why.
struct OpenHandlers {
    std::function<void(const std::string& path)> readFunctionFile;
    std::function<void(const std::string& path)> loadConfiguration;
};

class FunctionManager {
  public:
    explicit FunctionManager(Catalogue& catalogue);

    Catalogue& GetCatalogue() { return m_catalogue; }

    // The input line (upper case) and its modified flag.
    const std::string& InputLine() const { return m_inputLine; }
    void SetInputLine(const std::string& text);
    bool InputModified() const { return m_inputModified; }

    // Enter in the input line: enters the definition; after a success every selection
    // line is entered again so that the functions depending on it are rebuilt, and the
    // plots are redrawn.
    void Enter();

    // Refills the lists; clears the input line when there are no functions.
    void RefreshLists();

    // A press on selection line `line` (-1: outside the lines): records the dragged
    // function and copies the line into the input line.
    void SelectDefinition(int line);
    // Whether the function of selection line `line` is valid (the list draws the others
    // in red).
    bool LineValid(int line) const;
    // Whether a double click on `line` opens the parameter window: its function has
    // dependence parameters.
    bool OpensParameterWindow(int line);

    // Deletes the function of selection line `line`, every item that shows it, and
    // invalidates its callers.
    void DeleteFunction(int line);

    // Whether the grid accepts the dragged function over (row, column).
    bool AcceptsDrop(int row, int column) const;
    // Drops the dragged function on (row, column); row == number of items is the empty
    // last row. Returns false when nothing happened.
    bool Drop(int row, int column);

    // Whether a right click on (row, column) opens the popup with "Remove function".
    bool OffersRemove(int row, int column) const;
    // The popup's "Remove function" on (row, column).
    void Remove(int row, int column);

    // A left click on (row, column) at time `nowMs`.
    void LeftClick(int row, int column, std::int64_t nowMs);
    // A double click: the row becomes the current item; true when the line style window
    // opens (columns 3 to 6).
    bool DoubleClick(int row, int column);
    // Mouse release on the grid: the first active item becomes the current item.
    void MouseRelease();

    // The resource name of the bitmap in column 0, 1, 2 or 3 of `row` at `nowMs` (empty
    // for the empty row); reading a flashed cell ends its flash.
    std::string CellBitmap(int row, int column, std::int64_t nowMs, GridType gridType);
    // The text of column 5 or 6 and its colour (green for the reference item).
    std::string CellText(int row, int column) const;
    std::uint32_t CellTextColour(int row) const;
    // The status bar text over column 5 or 6 of `row`: that function's FullString.
    std::string CellHint(int row, int column) const;

    // Redraw: message 9 for an empty display list, message 29 when nothing shown is
    // valid; otherwise the settings' limits are applied, everything compiled and drawn.
    void Redraw();

    // Open: dispatches on the extension (".fx", ".pcf", case-insensitive; message 36
    // for any other); a reader that throws gives message 36. Afterwards the lists, the
    // tree and the definitions are brought up to date.
    void Open(const std::string& path, const OpenHandlers& handlers);

  private:
    TFktItem* ItemAt(int row) const;
    // Funktion1 in column 5, Funktion2 in column 6 of `row`; null elsewhere.
    const TFunktion* FunctionInCell(int row, int column) const;
    void ReenterSelectionList();

    Catalogue& m_catalogue;
    std::string m_inputLine = "F1(X)=SIN(X)*X";
    bool m_inputModified = false;
    std::int64_t m_flashTick = 0;
};

}  // namespace pc
