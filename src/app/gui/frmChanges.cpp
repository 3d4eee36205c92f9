#include "app/gui/frmChanges.h"

#include "platform/qt/QtServices.h"
#include "wizard/WizardServices.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace addrix {

namespace {

// The table shows numbers as numbers, so that POSITION sorts 9 before 10.
QTableWidgetItem* NumberItem(std::int64_t value) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, QVariant::fromValue<qlonglong>(value));
    return item;
}

QTableWidgetItem* TextItem(const std::string& bytes) {
    return new QTableWidgetItem(FromWindows1252(bytes));
}

} // namespace

frmChanges::frmChanges(const std::vector<Change>& rows, ChangesFilePlace place,
                       const WizardServices& services, QWidget* owner)
    : QDialog(owner), m_rows(rows), m_place(std::move(place)), m_dialog(services.fileDialog),
      m_messages(services.messages), m_files(services.files) {
    setObjectName(QStringLiteral("frmChanges"));
    setWindowTitle(QStringLiteral("Changes"));

    m_grdChanges = new QTableWidget(static_cast<int>(rows.size()), 8, this);
    m_grdChanges->setObjectName(QStringLiteral("grdChanges"));
    m_grdChanges->setHorizontalHeaderLabels(
        QString::fromLatin1(kChangeReportHeader).split(QLatin1Char(',')));
    m_grdChanges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdChanges->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdChanges->verticalHeader()->hide();
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const Change& change = rows[static_cast<std::size_t>(r)];
        m_grdChanges->setItem(r, 0, TextItem(change.source));
        m_grdChanges->setItem(r, 1, NumberItem(change.position));
        m_grdChanges->setItem(r, 2, NumberItem(std::stoll("0" + change.contactId)));
        m_grdChanges->setItem(r, 3, TextItem(change.name));
        m_grdChanges->setItem(r, 4, TextItem(change.column));
        m_grdChanges->setItem(r, 5, TextItem(ChangeKindName(change.kind)));
        m_grdChanges->setItem(r, 6, TextItem(change.sourceValue));
        m_grdChanges->setItem(r, 7, TextItem(change.writtenValue));
    }
    m_grdChanges->setSortingEnabled(true);
    m_grdChanges->sortByColumn(1, Qt::AscendingOrder);
    m_grdChanges->resizeColumnsToContents();

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
    resize(900, 420);
}

void frmChanges::cmdSave_Click() {
    SaveChangesFile(m_rows, m_place, m_dialog, m_messages, m_files);
}

} // namespace addrix
