#include "settings_form.h"

#include <QEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "application.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_views.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/parameter_window.h"
#include "plot/colours.h"
#include "preview_form.h"
#include "tool_window.h"
#include "ui_settings_form.h"

namespace pc {

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

const TFktItem* ItemOf(const QModelIndex& index) {
    return static_cast<const TFktItem*>(index.data(kItemRole).value<void*>());
}

// A rounded swatch 40 x 20 in the item's colour, the text 45 pixels from the left.
class ReferenceDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const TFktItem* item = ItemOf(index);
        if (!item)
            return;
        const ReferenceEntryLook look = ReferenceLook(*item, option.state & QStyle::State_Selected);
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, option.state & QStyle::State_HasFocus ? option.palette.alternateBase()
                                                                   : QBrush(Qt::white));
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::black);
        painter->setBrush(look.swatch);
        painter->drawRoundedRect(QRectF(r.left() + 0.5, r.top() + 0.5, 40, 20), 8, 8);
        QFont font = option.font;
        font.setBold(look.bold);
        if (look.bold)
            font.setPointSize(10);
        painter->setFont(font);
        painter->setPen(look.text);
        painter->drawText(r.adjusted(45, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(120, 22));
    }
};

}  // namespace

ReferenceEntryLook ReferenceLook(const TFktItem& item, bool selected) {
    return {ToQColor(item.Farbe), selected ? QColor(0, 0x80, 0) : QColor(Qt::black), selected};
}

TSettingsForm::TSettingsForm(Application& application)
    : QWidget(nullptr, Qt::Window),
      m_application(application),
      m_ui(std::make_unique<Ui::TSettingsForm>()) {
    m_ui->setupUi(this);
    for (QRadioButton* button :
         {m_ui->Cartesian, m_ui->Polar, m_ui->HorizontalLinear, m_ui->HorizontalLog,
          m_ui->HorizontalDb, m_ui->VerticalLinear, m_ui->VerticalLog, m_ui->VerticalDb})
        connect(button, &QRadioButton::clicked, this, &TSettingsForm::GridChosen);
    const std::pair<QRadioButton*, ScaleMode> modes[] = {
        {m_ui->UserDefined, ScaleMode::smUserDefined},
        {m_ui->Reference, ScaleMode::smReference},
        {m_ui->Global, ScaleMode::smGlobal}};
    for (const auto& [button, mode] : modes)
        connect(button, &QRadioButton::clicked, this, [this, mode] { ScaleModeChosen(mode); });
    m_ui->ComboBox1->setItemDelegate(new ReferenceDelegate(m_ui->ComboBox1));
    connect(m_ui->ComboBox1, &QComboBox::activated, this, &TSettingsForm::ReferenceChosen);
    for (QLineEdit* field :
         {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3, m_ui->Edit4, m_ui->editphimin, m_ui->editphimax}) {
        field->installEventFilter(this);
        // Enter takes the field as leaving it does, and moves on.
        connect(field, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    }
    connect(m_ui->EqualAspect, &QCheckBox::toggled, this, [this](bool on) {
        if (m_showing)
            return;
        m_application.State().session.equalAspect = on;
        StoreSwitch(kEqualAspectSetting, on);
        m_application.RedrawAll();
    });
    connect(m_ui->Redraw, &QPushButton::clicked, this, [this] {
        m_application.State().manager.Redraw();
        m_application.RefreshViews();
    });
    SetUpToolButtons(*this, *m_ui->ontop, *m_ui->SpeedButton1, application,
                     QStringLiteral("settings.html"));
}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::showEvent(QShowEvent* event) {
    ShowState();
    QWidget::showEvent(event);
}

void TSettingsForm::ShowState() {
    m_showing = true;
    const PlotSession& session = m_application.State().session;
    const bool polar = session.gridType == GridType::gtPolar;
    m_ui->Cartesian->setChecked(!polar);
    m_ui->Polar->setChecked(polar);
    const AxisKind horizontal = HorizontalKind(session.gridType);
    const AxisKind vertical = VerticalKind(session.gridType);
    m_ui->HorizontalLinear->setChecked(horizontal == AxisKind::Linear);
    m_ui->HorizontalLog->setChecked(horizontal == AxisKind::Logarithmic);
    m_ui->HorizontalDb->setChecked(horizontal == AxisKind::Db);
    m_ui->VerticalLinear->setChecked(vertical == AxisKind::Linear);
    m_ui->VerticalLog->setChecked(vertical == AxisKind::Logarithmic);
    m_ui->VerticalDb->setChecked(vertical == AxisKind::Db);
    m_ui->RadioGroup4->setVisible(!polar);
    m_ui->RadioGroup5->setVisible(!polar);

    m_ui->UserDefined->setChecked(session.scaleMode == ScaleMode::smUserDefined);
    m_ui->Reference->setChecked(session.scaleMode == ScaleMode::smReference);
    m_ui->Global->setChecked(session.scaleMode == ScaleMode::smGlobal);
    m_ui->EqualAspect->setChecked(session.equalAspect);
    // Only the new drawing on a linear grid keeps the aspect.
    m_ui->EqualAspect->setEnabled(!session.main.classic && session.gridType == GridType::gtLinLin);
    QComboBox& references = *m_ui->ComboBox1;
    references.clear();
    for (const LegendEntry& entry : LegendEntries(m_application.State().catalogue)) {
        references.addItem(QString::fromStdString(entry.text));
        references.setItemData(references.count() - 1,
                               QVariant::fromValue(static_cast<void*>(entry.item)), kItemRole);
        if (entry.item->Referenz && references.currentIndex() <= 0)
            references.setCurrentIndex(references.count() - 1);
    }
    references.setVisible(session.scaleMode == ScaleMode::smReference);

    const RangeFields& fields = session.fields;
    // On the polar grid the horizontal fields show the angle range, which is typed on the
    // Variable page: read as the plane's x range they would give a wrong window.
    m_ui->Edit3->setText(QString::fromStdString(polar ? fields.startValue : fields.xmin));
    m_ui->Edit4->setText(QString::fromStdString(polar ? fields.stopValue : fields.xmax));
    m_ui->Edit3->setReadOnly(polar);
    m_ui->Edit4->setReadOnly(polar);
    m_ui->Edit1->setText(QString::fromStdString(fields.ymin));
    m_ui->Edit2->setText(QString::fromStdString(fields.ymax));
    m_ui->editphimin->setText(QString::fromStdString(fields.startValue));
    m_ui->editphimax->setText(QString::fromStdString(fields.stopValue));
    m_showing = false;
}

void TSettingsForm::SetGridType(GridType value) {
    m_application.State().session.SetGridType(value);
    m_application.PreviewForm().UpdateControls();
    m_application.RefreshViews();
    ShowState();
}

void TSettingsForm::GridChosen() {
    if (m_showing)
        return;
    if (m_ui->Polar->isChecked()) {
        SetGridType(GridType::gtPolar);
        return;
    }
    const auto kindOf = [](QRadioButton* log, QRadioButton* db) {
        return db->isChecked()    ? AxisKind::Db
               : log->isChecked() ? AxisKind::Logarithmic
                                  : AxisKind::Linear;
    };
    SetGridType(CartesianGridType(kindOf(m_ui->HorizontalLog, m_ui->HorizontalDb),
                                  kindOf(m_ui->VerticalLog, m_ui->VerticalDb)));
}

void TSettingsForm::ScaleModeChosen(ScaleMode mode) {
    if (m_showing)
        return;
    m_application.PreviewForm().SetView(mode);
    ShowState();
}

void TSettingsForm::ReferenceChosen(int entry) {
    Catalogue& catalogue = m_application.State().catalogue;
    auto* item = static_cast<TFktItem*>(m_ui->ComboBox1->itemData(entry, kItemRole).value<void*>());
    if (!item)
        return;
    catalogue.SetCurrentItem(item);
    ChooseReference(catalogue, item);
    m_application.RefreshViews();
}

void TSettingsForm::ApplyReference(int entry) {
    ShowState();
    m_ui->ComboBox1->setCurrentIndex(entry);
    const auto* item =
        static_cast<const TFktItem*>(m_ui->ComboBox1->currentData(kItemRole).value<void*>());
    if (!m_application.State().session.ApplyReference(item)) {
        m_application.ShowToolWindow(*this);
        m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet2);
        m_ui->ComboBox1->showPopup();
        return;
    }
    m_application.RefreshViews();
    ShowState();
}

std::string* TSettingsForm::SessionField(const QLineEdit& field) {
    RangeFields& fields = m_application.State().session.fields;
    const std::pair<const QLineEdit*, std::string*> map[] = {{m_ui->Edit3, &fields.xmin},
                                                             {m_ui->Edit4, &fields.xmax},
                                                             {m_ui->Edit1, &fields.ymin},
                                                             {m_ui->Edit2, &fields.ymax},
                                                             {m_ui->editphimin, &fields.startValue},
                                                             {m_ui->editphimax, &fields.stopValue}};
    for (const auto& [control, text] : map) {
        if (control == &field)
            return text;
    }
    return nullptr;
}

void TSettingsForm::FieldLeft(QLineEdit& field) {
    if (field.isReadOnly())
        return;
    std::string text = field.text().toStdString();
    if (!AcceptRangeField(text)) {
        m_application.GetNotifier().PlainMessage(kWrongInputText);
        field.setText(m_remembered);
        return;
    }
    field.setText(QString::fromStdString(text));
    if (std::string* target = SessionField(field))
        *target = text;
}

bool TSettingsForm::eventFilter(QObject* watched, QEvent* event) {
    if (auto* field = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::FocusIn)
            m_remembered = field->text();
        else if (event->type() == QEvent::FocusOut)
            FieldLeft(*field);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pc
