#include "display_grid.h"

#include <QDateTime>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>

#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "plot/colours.h"
#include "plot/plot_session.h"

namespace pc {

DisplayGridModel::DisplayGridModel(FunctionManager& manager, PlotSession& session, QObject* parent)
    : QAbstractTableModel(parent), m_manager(manager), m_session(session) {}

int DisplayGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_manager.GetCatalogue().Items().size()) + 1;
}

int DisplayGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumnCount;
}

QVariant DisplayGridModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    const int column = index.column();
    const auto& items = m_manager.GetCatalogue().Items();
    const bool isItem = row >= 0 && static_cast<std::size_t>(row) < items.size();
    switch (role) {
        case kBitmapRole:
            if (column <= kColumnType)
                return QString::fromStdString(m_manager.CellBitmap(
                    row, column, QDateTime::currentMSecsSinceEpoch(), m_session.gridType));
            return {};
        case kColourRole:
            if (column == kColumnColour && isItem)
                return ToQColor(items[static_cast<std::size_t>(row)]->Farbe);
            return {};
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            if (column == kColumnFunction1 || column == kColumnFunction2)
                return QString::fromStdString(m_manager.CellText(row, column));
            if (role == Qt::AccessibleTextRole && column <= kColumnType)
                return data(index, kBitmapRole);
            return {};
        case Qt::ForegroundRole:
            if (column == kColumnFunction1 || column == kColumnFunction2)
                return ToQColor(m_manager.CellTextColour(row));
            return {};
        case Qt::ToolTipRole:
            if (column == kColumnFunction1 || column == kColumnFunction2)
                return QString::fromStdString(m_manager.CellHint(row, column));
            return {};
        default:
            return {};
    }
}

void DisplayGridModel::Refresh() {
    beginResetModel();
    endResetModel();
}

// --- Delegate ------------------------------------------------------------------------------

DisplayGridDelegate::DisplayGridDelegate(const QString& bitmapDirectory, QObject* parent)
    : QStyledItemDelegate(parent), m_directory(bitmapDirectory) {}

DisplayGridDelegate::~DisplayGridDelegate() = default;

QSvgRenderer* DisplayGridDelegate::Picture(const QString& name) const {
    auto found = m_pictures.find(name);
    if (found == m_pictures.end()) {
        const QString file = m_directory + name + QStringLiteral(".svg");
        auto renderer = QFile::exists(file) ? std::make_unique<QSvgRenderer>(file) : nullptr;
        if (renderer && !renderer->isValid())
            renderer.reset();
        found = m_pictures.emplace(name, std::move(renderer)).first;
    }
    return found->second.get();
}

void DisplayGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect cell = option.rect;
    painter->save();
    if (option.state & QStyle::State_HasFocus)
        painter->fillRect(cell, option.palette.alternateBase());
    const QString picture = index.data(DisplayGridModel::kBitmapRole).toString();
    const QVariant colour = index.data(DisplayGridModel::kColourRole);
    if (!picture.isEmpty()) {
        if (QSvgRenderer* renderer = Picture(picture)) {
            const QSizeF size =
                renderer->defaultSize().scaled(cell.size() - QSize(4, 2), Qt::KeepAspectRatio);
            QRectF target(QPointF(0, 0), size);
            target.moveCenter(QRectF(cell).center());
            renderer->render(painter, target);
        }
    } else if (colour.isValid()) {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::black, 1));
        painter->setBrush(colour.value<QColor>());
        painter->drawRoundedRect(QRectF(cell).adjusted(4.5, 2.5, -4.5, -2.5), 3, 3);
    } else {
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->drawText(cell.adjusted(4, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data(Qt::DisplayRole).toString());
    }
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.highlight().color(), 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

// --- View ------------------------------------------------------------------------------------

TDrawGrid::TDrawGrid(QWidget* parent) : QTableView(parent) {
    setDragDropMode(QAbstractItemView::DropOnly);
    // Drops land on the viewport, which hands them to this view in its coordinates.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    horizontalHeader()->setVisible(false);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setDefaultSectionSize(90);
    setShowGrid(true);
}

void TDrawGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        setCurrentIndex(index);
    if (!index.isValid())
        return;
    if (event->button() == Qt::LeftButton)
        emit LeftClicked(index.row(), index.column());
    else if (event->button() == Qt::RightButton)
        emit RightClicked(index.row(), index.column(), event->globalPosition().toPoint());
}

void TDrawGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit Released();
}

void TDrawGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton)
        emit DoubleClicked(index.row(), index.column());
}

void TDrawGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex index = currentIndex();
    if (index.isValid()) {
        switch (event->key()) {
            case Qt::Key_Space:
                emit LeftClicked(index.row(), index.column());
                emit Released();
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                emit DoubleClicked(index.row(), index.column());
                return;
            case Qt::Key_Delete:
                emit RemoveKey(index.row(), index.column());
                return;
            default:
                break;
        }
    }
    QTableView::keyPressEvent(event);
}

void TDrawGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(QLatin1String(kFunctionMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TDrawGrid::dragMoveEvent(QDragMoveEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    bool accepted = false;
    if (index.isValid() && event->mimeData()->hasFormat(QLatin1String(kFunctionMimeType)))
        emit DropAsked(index.row(), index.column(), accepted);
    // The cursor shows over every cell whether the function may be dropped there.
    if (accepted)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TDrawGrid::dropEvent(QDropEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    bool accepted = false;
    if (index.isValid() && event->mimeData()->hasFormat(QLatin1String(kFunctionMimeType)))
        emit DropAsked(index.row(), index.column(), accepted);
    if (!accepted) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit Dropped(index.row(), index.column());
}

}  // namespace pc
