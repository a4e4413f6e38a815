#include "functions_form.h"

#include <QApplication>
#include <QDateTime>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>

#include "animate_form.h"
#include "application.h"
#include "catalogue/catalogue.h"
#include "catalogue/function_manager.h"
#include "catalogue/message_numbers.h"
#include "display_grid.h"
#include "file_dialogs.h"
#include "parameter_form.h"
#include "styles_form.h"
#include "tool_window.h"
#include "translation.h"
#include "ui_functions_form.h"

namespace pc {

namespace {

constexpr const char* kHelpPage = "function_manager.html";

}  // namespace

TFunctionsForm::TFunctionsForm(Application& application)
    : QWidget(nullptr, Qt::Window),
      m_application(application),
      m_ui(std::make_unique<Ui::TFunctionsForm>()) {
    m_ui->setupUi(this);
    ProgramState& state = application.State();
    const QString bitmaps =
        QString::fromStdString(state.installDirectory) + QStringLiteral("Bitmaps/");
    m_gridModel = new DisplayGridModel(state.manager, state.session, this);
    m_gridDelegate = new DisplayGridDelegate(bitmaps, this);
    TDrawGrid& grid = *m_ui->DrawGrid1;
    grid.setModel(m_gridModel);
    grid.setItemDelegate(m_gridDelegate);
    grid.verticalHeader()->setDefaultSectionSize(m_ui->Auswahlliste->fontMetrics().height() + 4);
    // Narrow picture columns, so that the grid fits beside the list in a small window.
    const int widths[kGridColumnCount] = {36, 36, 36, 44, 52, 110, 110};
    for (int column = 0; column < kGridColumnCount; ++column)
        grid.setColumnWidth(column, widths[column]);
    m_ui->Splitter->setStretchFactor(1, 2);
    m_ui->Splitter->setSizes({200, 440});

    QLineEdit& input = *m_ui->ed_EingabeFunktion;
    UpperCaseAsTyped(input, [this](const QString& text) {
        m_application.State().manager.SetInputLine(text.toStdString());
    });
    connect(&input, &QLineEdit::returnPressed, this, &TFunctionsForm::EnterDefinition);

    QListWidget& list = *m_ui->Auswahlliste;
    list.viewport()->installEventFilter(this);
    list.installEventFilter(this);
    list.setMouseTracking(true);
    connect(&list, &QListWidget::itemEntered, this,
            [this](QListWidgetItem* item) { m_ui->StatusBar1->showMessage(item->text()); });
    m_listPopup = new QMenu(this);
    m_listPopup->setObjectName(QStringLiteral("ListPopupMenu"));
    QAction* remove = m_listPopup->addAction(QStringLiteral("Delete function"));
    remove->setObjectName(QStringLiteral("DeleteFunction1"));
    remove->setProperty(kTagProperty, 603);
    remove->setShortcut(QKeySequence::Delete);
    connect(remove, &QAction::triggered, this,
            [this] { DeleteFunction(m_ui->Auswahlliste->currentRow()); });
    // The keyboard's way to a function's parameters (the mouse double-clicks it).
    QAction* parameters = m_listPopup->addAction(QStringLiteral("&Parameters..."));
    parameters->setObjectName(QStringLiteral("Parameters1"));
    parameters->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
    connect(parameters, &QAction::triggered, this,
            [this] { OpenParameters(m_ui->Auswahlliste->currentRow()); });
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&list, &QWidget::customContextMenuRequested, this, [this, parameters](QPoint at) {
        QListWidgetItem* item = m_ui->Auswahlliste->itemAt(at);
        if (!item)
            return;
        parameters->setEnabled(
            m_application.State().manager.OpensParameterWindow(m_ui->Auswahlliste->row(item)));
        m_listPopup->popup(m_ui->Auswahlliste->viewport()->mapToGlobal(at));
    });

    m_gridPopup = new QMenu(this);
    m_gridPopup->setObjectName(QStringLiteral("GridPopupMenu"));
    QAction* removeItem = m_gridPopup->addAction(QStringLiteral("Remove function"));
    removeItem->setObjectName(QStringLiteral("RemoveFunction1"));
    removeItem->setProperty(kTagProperty, 602);
    connect(&grid, &TDrawGrid::LeftClicked, this, &TFunctionsForm::GridLeftClicked);
    connect(&grid, &TDrawGrid::RightClicked, this, &TFunctionsForm::GridRightClicked);
    connect(&grid, &TDrawGrid::DoubleClicked, this, &TFunctionsForm::GridDoubleClicked);
    connect(&grid, &TDrawGrid::Released, this, [this] {
        m_application.State().manager.MouseRelease();
        Changed();
    });
    connect(&grid, &TDrawGrid::DropAsked, this, [this](int row, int column, bool& accepted) {
        accepted = m_application.State().manager.AcceptsDrop(row, column);
    });
    connect(&grid, &TDrawGrid::Dropped, this, [this](int row, int column) {
        m_application.State().manager.Drop(row, column);
        Changed();
    });
    connect(&grid, &TDrawGrid::RemoveKey, this, [this](int row, int column) {
        FunctionManager& manager = m_application.State().manager;
        if (manager.OffersRemove(row, column)) {
            manager.Remove(row, column);
            Changed();
        }
    });
    connect(&grid, &QAbstractItemView::entered, this, [this](const QModelIndex& index) {
        m_ui->StatusBar1->showMessage(QString::fromStdString(
            m_application.State().manager.CellHint(index.row(), index.column())));
    });

    connect(m_ui->Redraw, &QPushButton::clicked, this, [this] {
        m_application.State().manager.Redraw();
        Changed();
    });
    connect(m_ui->Animate, &QPushButton::clicked, this,
            [this] { m_application.AnimateForm().Open(); });
    connect(m_ui->OpenButton, &QToolButton::clicked, this, [this] {
        if (!m_application.ConfirmDiscard())
            return;
        const QString path = AskOpenFunctionFile(this);
        if (!path.isEmpty())
            m_application.OpenFile(path.toStdString());
    });
    connect(m_ui->SaveButton, &QToolButton::clicked, this, [this] { m_application.SaveAs(); });
    SetUpToolButtons(*this, *m_ui->OnTopButton, *m_ui->HelpButton, application,
                     QLatin1String(kHelpPage));
    Refresh();
}

TFunctionsForm::~TFunctionsForm() = default;

void TFunctionsForm::Refresh() {
    m_refreshing = true;
    ProgramState& state = m_application.State();
    QListWidget& list = *m_ui->Auswahlliste;
    const int current = list.currentRow();
    list.clear();
    const std::vector<std::string>& lines = state.catalogue.SelectionList();
    for (std::size_t line = 0; line < lines.size(); ++line) {
        auto* item = new QListWidgetItem(QString::fromStdString(lines[line]), &list);
        if (!state.manager.LineValid(static_cast<int>(line)))
            item->setForeground(QColor(0xFF, 0, 0));
    }
    list.setCurrentRow(std::min(current, list.count() - 1));
    ShowInputLine();
    m_gridModel->Refresh();
    SetAnimateVisible(state.catalogue.AnyShownAnimated());
    m_refreshing = false;
}

void TFunctionsForm::ShowInputLine() {
    const QString input = QString::fromStdString(m_application.State().manager.InputLine());
    if (m_ui->ed_EingabeFunktion->text() != input)
        m_ui->ed_EingabeFunktion->setText(input);
}

void TFunctionsForm::SetAnimateVisible(bool visible) {
    m_ui->Animate->setVisible(visible);
}

void TFunctionsForm::Changed() {
    m_application.RefreshViews();
}

void TFunctionsForm::EnterDefinition() {
    FunctionManager& manager = m_application.State().manager;
    manager.SetInputLine(m_ui->ed_EingabeFunktion->text().toStdString());
    manager.Enter();
    Changed();
    m_ui->Auswahlliste->setFocus();
}

void TFunctionsForm::DeleteFunction(int line) {
    ProgramState& state = m_application.State();
    if (line < 0 || static_cast<std::size_t>(line) >= state.catalogue.SelectionList().size())
        return;
    // Nothing brings a deleted function back: ask first.
    if (state.catalogue.ShowMessage(kMsgDeleteFunction, ButtonSet::YesNo) != ModalResult::mrYes)
        return;
    state.manager.DeleteFunction(line);
    Changed();
}

void TFunctionsForm::DropLine(int line, int row, int column) {
    FunctionManager& manager = m_application.State().manager;
    manager.SelectDefinition(line);
    if (manager.AcceptsDrop(row, column) && manager.Drop(row, column))
        Changed();
}

void TFunctionsForm::OpenParameters(int line) {
    FunctionManager& manager = m_application.State().manager;
    if (!manager.OpensParameterWindow(line))
        return;
    manager.SelectDefinition(line);
    if (TFunktion* function = m_application.State().catalogue.DraggedFunction())
        m_application.ParameterForm().OpenFor(*function);
}

void TFunctionsForm::ListPressed(int line) {
    m_pressedLine = line;
    m_application.State().manager.SelectDefinition(line);
    const QString input = QString::fromStdString(m_application.State().manager.InputLine());
    m_ui->ed_EingabeFunktion->setText(input);
}

void TFunctionsForm::StartDrag(int line) {
    auto* data = new QMimeData;
    data->setData(QLatin1String(kFunctionMimeType), QByteArray::number(line));
    auto* drag = new QDrag(m_ui->Auswahlliste);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
}

void TFunctionsForm::GridLeftClicked(int row, int column) {
    FunctionManager& manager = m_application.State().manager;
    manager.LeftClick(row, column, QDateTime::currentMSecsSinceEpoch());
    m_ui->ed_EingabeFunktion->setText(QString::fromStdString(manager.InputLine()));
    // The crossed picture of a flash goes once its time is over.
    QTimer::singleShot(kFlashMilliseconds + 20, m_ui->DrawGrid1->viewport(),
                       qOverload<>(&QWidget::update));
    Changed();
}

void TFunctionsForm::GridRightClicked(int row, int column, QPoint at) {
    FunctionManager& manager = m_application.State().manager;
    if (!manager.OffersRemove(row, column))
        return;
    if (m_gridPopup->exec(at) == m_gridPopup->actions().value(0)) {
        manager.Remove(row, column);
        Changed();
    }
}

void TFunctionsForm::GridDoubleClicked(int row, int column) {
    FunctionManager& manager = m_application.State().manager;
    const bool opensStyles = manager.DoubleClick(row, column);
    m_ui->ed_EingabeFunktion->setText(QString::fromStdString(manager.InputLine()));
    Changed();
    if (opensStyles)
        m_application.StylesForm().OpenForCurrentItem();
}

bool TFunctionsForm::eventFilter(QObject* watched, QEvent* event) {
    QListWidget& list = *m_ui->Auswahlliste;
    if (watched == list.viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_pressPosition = mouse->position().toPoint();
                QListWidgetItem* item = list.itemAt(m_pressPosition);
                ListPressed(item ? list.row(item) : -1);
            }
        } else if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if ((mouse->buttons() & Qt::LeftButton) && m_pressedLine >= 0 &&
                (mouse->position().toPoint() - m_pressPosition).manhattanLength() >=
                    QApplication::startDragDistance()) {
                const int line = m_pressedLine;
                m_pressedLine = -1;
                StartDrag(line);
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            QListWidgetItem* item =
                list.itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (item)
                OpenParameters(list.row(item));
            return true;
        }
    } else if (watched == &list && event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        const int line = list.currentRow();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (press->modifiers() & Qt::AltModifier)) {
            OpenParameters(line);
            return true;
        }
        if (key == Qt::Key_Delete) {
            DeleteFunction(line);
            return true;
        }
        // The keyboard's way into the display list: the function goes to the empty row.
        if ((key == Qt::Key_Insert || key == Qt::Key_Return || key == Qt::Key_Enter) && line >= 0) {
            DropLine(line, static_cast<int>(m_application.State().catalogue.Items().size()),
                     kColumnFunction1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFunctionsForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Leaving the window with a changed definition enters it, as Enter would.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !m_refreshing &&
        m_application.State().manager.InputModified() && !QApplication::activeModalWidget())
        EnterDefinition();
}

}  // namespace pc
