#include "treeview_form.h"

#include "application.h"
#include "catalogue/catalogue_views.h"
#include "plot/colours.h"
#include "tool_window.h"
#include "ui_treeview_form.h"

namespace pc {

TTreeviewForm::TTreeviewForm(Application& application)
    : QWidget(nullptr, Qt::Window),
      m_application(application),
      m_ui(std::make_unique<Ui::TTreeviewForm>()) {
    m_ui->setupUi(this);
    QFont font = m_ui->treeview1->font();
    font.setPointSize(12);
    m_ui->treeview1->setFont(font);
    SetUpToolButtons(*this, *m_ui->ontop, *m_ui->BitBtn3, application,
                     QStringLiteral("dependencies.html"));
    Refresh();
}

TTreeviewForm::~TTreeviewForm() = default;

void TTreeviewForm::Refresh() {
    Catalogue& catalogue = m_application.State().catalogue;
    QTreeWidget& tree = *m_ui->treeview1;
    tree.clear();
    const auto add = [&catalogue](auto& self, const DependencyNode& node,
                                  QTreeWidgetItem* item) -> void {
        item->setText(0, QString::fromStdString(node.label));
        item->setForeground(0, ToQColor(DependencyNodeColour(catalogue, node.label)));
        for (const DependencyNode& child : node.children)
            self(self, child, new QTreeWidgetItem(item));
    };
    for (const DependencyNode& root : DependencyTree(catalogue))
        add(add, root, new QTreeWidgetItem(&tree));
    tree.expandAll();
}

}  // namespace pc
