#pragma once
// The function manager's display grid: one row per plot item and an empty last row, seven
// columns whose pictures, colours and texts the function manager decides. The view turns
// clicks, double clicks, keys and drops into the manager's operations.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <map>
#include <memory>

class QSvgRenderer;

namespace pc {

class FunctionManager;
class PlotSession;

// The drag of a selection line onto the grid.
inline constexpr const char* kFunctionMimeType = "application/x-plotcraftsman-function";

class DisplayGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The picture of columns 0 to 3, by its resource name; the colour of column 4.
    static constexpr int kBitmapRole = Qt::UserRole + 1;
    static constexpr int kColourRole = Qt::UserRole + 2;

    DisplayGridModel(FunctionManager& manager, PlotSession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The catalogue changed: every row is asked again.
    void Refresh();

  private:
    FunctionManager& m_manager;
    PlotSession& m_session;
};

// Paints the cells: the named SVG pictures (from the data directory's Bitmaps/), the
// item's colour as a rounded rectangle, the function names in their colour.
class DisplayGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    DisplayGridDelegate(const QString& bitmapDirectory, QObject* parent = nullptr);
    ~DisplayGridDelegate() override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // The renderer of picture `name`; null when there is no such picture.
    QSvgRenderer* Picture(const QString& name) const;

  private:
    QString m_directory;
    mutable std::map<QString, std::unique_ptr<QSvgRenderer>> m_pictures;
};

class TDrawGrid : public QTableView {
    Q_OBJECT
  public:
    explicit TDrawGrid(QWidget* parent = nullptr);

  signals:
    void LeftClicked(int row, int column);
    void RightClicked(int row, int column, QPoint globalPosition);
    void DoubleClicked(int row, int column);
    void Released();
    // Whether a function dragged over (row, column) may be dropped there; the drop.
    void DropAsked(int row, int column, bool& accepted);
    void Dropped(int row, int column);
    // Delete pressed on (row, column).
    void RemoveKey(int row, int column);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace pc
