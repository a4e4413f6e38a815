#include "legende_form.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QSvgRenderer>

#include "application.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_views.h"
#include "catalogue/fkt_item.h"
#include "catalogue/value_export.h"
#include "display_grid.h"
#include "file_dialogs.h"
#include "functions_form.h"
#include "funktionsinfo_form.h"
#include "help_form.h"
#include "plot/colours.h"
#include "plot/program_state.h"
#include "settings_form.h"
#include "styles_form.h"
#include "tool_window.h"
#include "translation.h"
#include "ui_legende_form.h"
#include "value_table_writer.h"

namespace pc {

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

// An entry: the arrow of the current item, the colour, the reference mark, the text.
class LegendDelegate : public QStyledItemDelegate {
  public:
    LegendDelegate(DisplayGridDelegate& pictures, const PlotSurface& plot, QObject* parent)
        : QStyledItemDelegate(parent), m_pictures(pictures), m_plot(plot) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto* item = static_cast<const TFktItem*>(index.data(kItemRole).value<void*>());
        if (!item)
            return;
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, (option.state & QStyle::State_HasFocus)
                                 ? option.palette.alternateBase()
                                 : QBrush(Qt::white));
        const int arrow = 24;
        if (item->active) {
            if (QSvgRenderer* picture = m_pictures.Picture(QStringLiteral("PFEIL")))
                picture->render(painter, QRectF(r.left(), r.top() + 2, arrow, r.height() - 4));
        }
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::black, 1));
        const QRectF swatch(r.left() + arrow + 0.5, r.top() + 1.5, 25, r.height() - 3);
        const QColor colour = ToQColor(item->Farbe);
        const std::size_t members = item->FeldListenListeM.size();
        if (!m_plot.classic && members > 1) {
            // The family as the plot shades it, its first member on the left.
            QLinearGradient gradient(swatch.topLeft(), swatch.topRight());
            gradient.setColorAt(0, FamilyShade(colour, 0, members));
            gradient.setColorAt(1, colour);
            painter->setBrush(gradient);
        } else {
            painter->setBrush(colour);
        }
        painter->drawRoundedRect(swatch, 4, 4);
        if (item->Referenz) {
            if (QSvgRenderer* picture = m_pictures.Picture(QStringLiteral("REF")))
                picture->render(painter, QRectF(r.left() + 55, r.top() + 2, 16, r.height() - 4));
        }
        painter->setPen(item->Referenz ? QColor(0, 0x80, 0) : QColor(Qt::black));
        painter->drawText(r.adjusted(75, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

  private:
    DisplayGridDelegate& m_pictures;
    const PlotSurface& m_plot;  // the main plot, whose drawing the swatches follow
};

// An entry's line: the item, then its parameters' ranges.
QString EntryText(const LegendEntry& entry) {
    return QString::fromStdString(entry.family.empty() ? entry.text
                                                       : entry.text + "  " + entry.family);
}

}  // namespace

TLegendeForm::TLegendeForm(Application& application)
    : QWidget(nullptr, Qt::Window),
      m_application(application),
      m_ui(std::make_unique<Ui::TLegendeForm>()) {
    m_ui->setupUi(this);
    QListWidget& list = *m_ui->Displayliste;
    list.setItemDelegate(new LegendDelegate(application.FunctionsForm().GridDelegate(),
                                            application.State().session.main, this));
    list.setMouseTracking(true);
    connect(&list, &QListWidget::itemEntered, this,
            [this](QListWidgetItem* item) { m_ui->StatusBar1->showMessage(item->text()); });
    connect(&list, &QListWidget::viewportEntered, m_ui->StatusBar1, &QStatusBar::clearMessage);
    connect(&list, &QListWidget::itemClicked, this,
            [this, &list](QListWidgetItem* item) { Clicked(list.row(item)); });
    connect(&list, &QListWidget::itemDoubleClicked, this,
            [this, &list](QListWidgetItem* item) { OpenStyles(list.row(item)); });
    list.installEventFilter(this);
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    const struct {
        const char* name;
        int tag;
        void (TLegendeForm::*command)();
    } commands[] = {{"SavetoFile1", 672, &TLegendeForm::SaveAsTable},
                    {"Referenzkurve1", 673, &TLegendeForm::MakeReference},
                    {"Funktionsinfo1", 674, &TLegendeForm::ShowFunctionInfo}};
    for (const auto& command : commands) {
        QAction* action = m_popup->addAction(CatalogueQString(command.tag, Language::English));
        action->setObjectName(QLatin1String(command.name));
        action->setProperty(kTagProperty, command.tag);
        connect(action, &QAction::triggered, this, command.command);
    }
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&list, &QWidget::customContextMenuRequested, this, [this, &list](QPoint at) {
        // The commands act on the entry they were asked for over (or the current item).
        if (QListWidgetItem* item = list.itemAt(at))
            Clicked(list.row(item));
        const bool current = m_application.State().catalogue.CurrentItem() != nullptr;
        for (QAction* action : m_popup->actions()) action->setEnabled(current);
        m_popup->popup(list.viewport()->mapToGlobal(at));
    });
    SetUpToolButtons(*this, *m_ui->ontop, *m_ui->SpeedButton1, application,
                     QStringLiteral("legend.html"));
    Refresh();
}

TLegendeForm::~TLegendeForm() = default;

void TLegendeForm::Refresh() {
    QListWidget& list = *m_ui->Displayliste;
    const int current = list.currentRow();
    list.clear();
    for (const LegendEntry& entry : LegendEntries(m_application.State().catalogue)) {
        auto* item = new QListWidgetItem(EntryText(entry), &list);
        item->setData(kItemRole, QVariant::fromValue(static_cast<void*>(entry.item)));
        item->setSizeHint(QSize(100, 20));
    }
    list.setCurrentRow(std::min(current, list.count() - 1));
}

void TLegendeForm::OpenStyles(int entry) {
    Clicked(entry);
    if (m_application.State().catalogue.CurrentItem())
        m_application.StylesForm().OpenForCurrentItem();
}

void TLegendeForm::SaveAsTable() {
    const TFktItem* item = m_application.State().catalogue.CurrentItem();
    if (!item)
        return;
    const QString path = AskSaveValueTable(this);
    if (!path.isEmpty())
        StartValueTableExport(*item, path, this, m_application.GetNotifier());
}

void TLegendeForm::MakeReference() {
    m_application.SettingsForm().ApplyReference(m_ui->Displayliste->currentRow());
}

void TLegendeForm::ShowFunctionInfo() {
    Catalogue& catalogue = m_application.State().catalogue;
    if (const TFktItem* item = catalogue.CurrentItem())
        m_application.FunktionsinfoForm().ShowInfo(BuildFunctionInfo(catalogue, *item));
}

bool TLegendeForm::eventFilter(QObject* watched, QEvent* event) {
    // Space picks the entry, as a click does; Enter also opens its line style, as a
    // double click does.
    if (watched == m_ui->Displayliste && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int row = m_ui->Displayliste->currentRow();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (key == Qt::Key_Space)
                Clicked(row);
            else
                OpenStyles(row);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TLegendeForm::Clicked(int entry) {
    Catalogue& catalogue = m_application.State().catalogue;
    const std::vector<LegendEntry> entries = LegendEntries(catalogue);
    if (entry < 0 || static_cast<std::size_t>(entry) >= entries.size())
        return;
    PickLegendItem(catalogue, *entries[static_cast<std::size_t>(entry)].item);
    m_ui->StatusBar1->showMessage(EntryText(entries[static_cast<std::size_t>(entry)]));
    m_application.RefreshViews();
}

}  // namespace pc
