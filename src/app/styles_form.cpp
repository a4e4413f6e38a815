#include "styles_form.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QSvgRenderer>

#include "application.h"
#include "catalogue/catalogue.h"
#include "catalogue/fkt_item.h"
#include "catalogue/function_manager.h"
#include "catalogue/funktion.h"
#include "catalogue/parameter_window.h"
#include "display_grid.h"
#include "functions_form.h"
#include "parameter_form.h"
#include "plot/colours.h"
#include "plot/plot_surface.h"
#include "tool_window.h"
#include "ui_styles_form.h"

namespace pc {

namespace {

// Which list a sample is drawn for: the row is the pen style, width - 1 or display mode.
enum class SampleList { Pen, Width, Mode };

class SampleDelegate : public QStyledItemDelegate {
  public:
    SampleDelegate(SampleList list, QObject* parent) : QStyledItemDelegate(parent), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : QBrush(Qt::white));
        StyleSample sample;
        sample.colour = selected ? 0xFFFFFFu : 0;
        const int row = index.row();
        switch (m_list) {
            case SampleList::Pen:
                sample.penStyle = static_cast<TPenStyle>(row);
                break;
            case SampleList::Width:
                sample.width = static_cast<std::uint8_t>(row + 1);
                break;
            case SampleList::Mode:
                sample.mode = static_cast<DisplayMode>(row);
                break;
        }
        DrawStyleSample(*painter, option.rect.adjusted(2, 1, -2, -1), sample);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(option.palette.text(), 1, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {70, 18};
    }

  private:
    SampleList m_list;
};

void FillSamples(QListWidget& list, SampleList kind, int count) {
    list.setItemDelegate(new SampleDelegate(kind, &list));
    for (int row = 0; row < count; ++row) {
        // The text is what a screen reader says; the delegate draws the sample instead.
        auto* item = new QListWidgetItem(&list);
        item->setData(Qt::AccessibleTextRole,
                      QString::number(kind == SampleList::Width ? row + 1 : row));
    }
}

}  // namespace

TStylesForm::TStylesForm(Application& application)
    : QDialog(nullptr, Qt::Window | Qt::WindowStaysOnTopHint),
      m_application(application),
      m_ui(std::make_unique<Ui::TStylesForm>()) {
    m_ui->setupUi(this);
    FillSamples(*m_ui->ListBox1, SampleList::Pen, 6);
    FillSamples(*m_ui->ListBox2, SampleList::Width, 6);
    FillSamples(*m_ui->ListBox3, SampleList::Mode, kDisplayModeCount);
    for (const int preset :
         {10, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, kMaxCalculationPoints})
        m_ui->ComboBox1->addItem(QString::number(preset));
    m_ui->ComboBox1->setEditText(QString::number(kDefaultCalculationPoints));

    connect(m_ui->Shape1, &QToolButton::clicked, this, &TStylesForm::ChooseColour);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TStylesForm::ChooseColour);
    connect(m_ui->ListBox3, &QListWidget::currentRowChanged, this, [this](int mode) {
        // The display mode takes effect at once; Cancel puts it back.
        if (TFktItem* item = m_application.State().catalogue.CurrentItem(); item && mode >= 0)
            item->PunkteMarkierung = static_cast<DisplayMode>(mode);
    });
    const auto group = [this](bool second) {
        return std::tuple{second ? m_ui->ComboBox3 : m_ui->ComboBox2,
                          second ? m_ui->Edit2 : m_ui->Edit1,
                          second ? m_ui->Button3 : m_ui->Button2};
    };
    for (const bool second : {false, true}) {
        const auto [functions, definition, parameters] = group(second);
        connect(functions, &QComboBox::activated, this, [this, second](int position) {
            Catalogue& catalogue = m_application.State().catalogue;
            const auto& visible = catalogue.VisibleItems();
            if (position < 0 || static_cast<std::size_t>(position) >= visible.size())
                return;
            TFunktion& function = *visible[static_cast<std::size_t>(position)];
            catalogue.SetDraggedFunction(&function);
            (second ? m_ui->Edit2 : m_ui->Edit1)
                ->setText(QString::fromStdString(function.FullString()));
            (second ? m_ui->Memo2 : m_ui->Memo1)
                ->setPlainText(
                    QString::fromStdString(function.LeftName() + "=" + function.Flatterm));
        });
        UpperCaseAsTyped(*definition,
                         [this, second](const QString& text) { DefinitionEdited(second, text); });
        definition->installEventFilter(this);
        connect(parameters, &QPushButton::clicked, this,
                [this, second] { ChangeParameter(second); });
    }
    connect(m_ui->OKButton, &QPushButton::clicked, this, &TStylesForm::accept);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &TStylesForm::reject);
    SetUpHelpButton(*this, *m_ui->HelpButton, application, QStringLiteral("styles.html"));
}

TStylesForm::~TStylesForm() = default;

int TStylesForm::OpenForCurrentItem() {
    ProgramState& state = m_application.State();
    TFktItem* item = state.catalogue.CurrentItem();
    if (!item)
        return Rejected;
    m_savedInput = state.manager.InputLine();
    const LineStyleView view = OpenLineStyle(state.catalogue, *item, state.session.gridType);
    m_fields = view.fields;
    m_openedMode = view.fields.displayMode;
    ShowColour();
    m_ui->ListBox1->setCurrentRow(view.fields.penStyle);
    m_ui->ListBox2->setCurrentRow(view.fields.widthIndex);
    m_ui->ListBox3->setCurrentRow(view.fields.displayMode);
    m_ui->ComboBox1->setEditText(QString::fromStdString(view.fields.pointsText));
    ShowFunctions(view);
    const QString picture = QString::fromLatin1(view.picture.c_str());
    if (QSvgRenderer* renderer = m_application.FunctionsForm().GridDelegate().Picture(picture)) {
        QPixmap pixmap(m_ui->Image1->minimumSize() * devicePixelRatio());
        pixmap.setDevicePixelRatio(devicePixelRatio());
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer->render(&painter, QRectF(QPointF(0, 0), m_ui->Image1->minimumSize()));
        m_ui->Image1->setPixmap(pixmap);
    }
    m_ui->Image1->setToolTip(picture);
    m_ui->GroupBox1->setTitle(QString::fromStdString(view.firstCaption));
    m_ui->GroupBox2->setTitle(QString::fromStdString(view.secondCaption));
    m_ui->ListBox1->setFocus();
    adjustSize();
    return exec();
}

void TStylesForm::ShowFunctions(const LineStyleView& view) {
    const struct {
        QGroupBox* group;
        QComboBox* functions;
        QLineEdit* definition;
        QPlainTextEdit* flat;
        QPushButton* parameters;
        bool visible;
        int position;
        const std::string& definitionText;
        const std::string& flatText;
        bool hasParameters;
    } groups[] = {
        {m_ui->GroupBox1, m_ui->ComboBox2, m_ui->Edit1, m_ui->Memo1, m_ui->Button2,
         view.firstGroupVisible, view.fields.firstFunction, view.fields.firstDefinition,
         view.firstFlat, view.firstHasParameters},
        {m_ui->GroupBox2, m_ui->ComboBox3, m_ui->Edit2, m_ui->Memo2, m_ui->Button3,
         view.secondGroupVisible, view.fields.secondFunction, view.fields.secondDefinition,
         view.secondFlat, view.secondHasParameters},
    };
    for (const auto& group : groups) {
        group.functions->clear();
        for (const std::string& name : view.functionNames)
            group.functions->addItem(QString::fromStdString(name));
        group.functions->setCurrentIndex(group.position);
        group.definition->setText(QString::fromStdString(group.definitionText));
        group.flat->setPlainText(QString::fromStdString(group.flatText));
        group.parameters->setVisible(group.hasParameters);
        group.group->setVisible(group.visible);
    }
    m_fields.firstFunction = view.fields.firstFunction;
    m_fields.secondFunction = view.fields.secondFunction;
}

void TStylesForm::ShowColour() {
    const QColor colour = ToQColor(m_fields.colour);
    m_ui->Shape1->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid black;").arg(colour.name()));
    m_ui->Shape1->setToolTip(colour.name());
}

void TStylesForm::ChooseColour() {
    const QColor chosen = QColorDialog::getColor(ToQColor(m_fields.colour), this);
    if (!chosen.isValid())
        return;
    m_fields.colour = FromQColor(chosen);
    ShowColour();
}

LineStyleFields TStylesForm::Fields() const {
    LineStyleFields fields = m_fields;
    fields.penStyle = m_ui->ListBox1->currentRow();
    fields.widthIndex = m_ui->ListBox2->currentRow();
    fields.displayMode = m_ui->ListBox3->currentRow();
    fields.pointsText = m_ui->ComboBox1->currentText().toStdString();
    fields.firstFunction = m_ui->ComboBox2->currentIndex();
    fields.secondFunction = m_ui->ComboBox3->currentIndex();
    fields.firstDefinition = m_ui->Edit1->text().toStdString();
    fields.secondDefinition = m_ui->Edit2->text().toStdString();
    return fields;
}

void TStylesForm::DefinitionEdited(bool second, const QString& text) {
    (second ? m_fields.secondEdited : m_fields.firstEdited) = true;
    m_application.State().manager.SetInputLine(text.toStdString());
    m_application.FunctionsForm().ShowInputLine();
}

void TStylesForm::EnterDefinition(bool second) {
    ProgramState& state = m_application.State();
    state.manager.SetInputLine((second ? m_ui->Edit2 : m_ui->Edit1)->text().toStdString());
    state.manager.Enter();
    // Entered now, so OK need not enter it again.
    (second ? m_fields.secondEdited : m_fields.firstEdited) = false;
    m_application.RefreshViews();
    // The definition may have changed the function list and the flattened terms.
    if (TFktItem* item = state.catalogue.CurrentItem())
        ShowFunctions(OpenLineStyle(state.catalogue, *item, state.session.gridType));
}

void TStylesForm::ChangeParameter(bool second) {
    ProgramState& state = m_application.State();
    TFktItem* item = state.catalogue.CurrentItem();
    TFunktion* function = item ? (second ? item->Funktion2 : item->Funktion1) : nullptr;
    if (!function)
        return;
    state.catalogue.SetDraggedFunction(function);
    TParameterForm& parameters = m_application.ParameterForm();
    // An empty list is refused with its message and the window opens again.
    while (parameters.ExecFor(*function) == Accepted &&
           CheckChangedParameter(state.catalogue, parameters.Model().Fields()) ==
               ParameterCheck::EmptyList) {
    }
}

void TStylesForm::accept() {
    LineStyleFields fields = Fields();
    const bool done = LineStyleOk(m_application.State().manager, fields);
    // The points as the model settled them (clamped to 2..100000).
    m_ui->ComboBox1->setEditText(QString::fromStdString(fields.pointsText));
    m_fields.firstEdited = fields.firstEdited;
    m_fields.secondEdited = fields.secondEdited;
    m_application.RefreshViews();
    if (done)
        QDialog::accept();
}

void TStylesForm::reject() {
    ProgramState& state = m_application.State();
    state.manager.SetInputLine(m_savedInput);
    m_application.FunctionsForm().ShowInputLine();
    if (TFktItem* item = state.catalogue.CurrentItem())
        item->PunkteMarkierung = static_cast<DisplayMode>(m_openedMode);
    QDialog::reject();
}

bool TStylesForm::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a definition line enters that definition, and does not close the window.
    if (event->type() == QEvent::KeyPress && (watched == m_ui->Edit1 || watched == m_ui->Edit2)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EnterDefinition(watched == m_ui->Edit2);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pc
