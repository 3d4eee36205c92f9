#include "app/gui/frmChanges.h"

#include "app/gui/ChangesModel.h"
#include "app/gui/TableWindow.h"
#include "wizard/WizardServices.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace addrix {

frmChanges::frmChanges(const std::vector<Change>& rows, ChangesFilePlace place,
                       const WizardServices& services, QWidget* owner)
    : QDialog(owner), m_rows(rows), m_place(std::move(place)), m_dialog(services.fileDialog),
      m_messages(services.messages), m_files(services.files) {
    setObjectName(QStringLiteral("frmChanges"));
    setWindowTitle(QStringLiteral("Changes"));

    m_model = new ChangesModel(m_rows, this);
    m_grdChanges = MakeRowTable(*m_model, ChangesModel::kLine, *this);
    m_grdChanges->setObjectName(QStringLiteral("grdChanges"));

    m_cmdSave = new QPushButton(QStringLiteral("&Save..."), this);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setDefault(true);
    connect(m_cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdSave);
    buttons->addWidget(m_cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grdChanges);
    layout->addLayout(buttons);

    FitToTable(*this, *m_grdChanges, owner);
    if (owner)
        PlaceBeside(*this, *owner);
}

void frmChanges::cmdSave_Click() {
    SaveChangesFile(m_rows, m_place, m_dialog, m_messages, m_files);
}

} // namespace addrix
