#include "app/gui/frmContacts.h"

#include "app/gui/ContactsModel.h"
#include "app/gui/TableWindow.h"
#include "platform/qt/QtServices.h"
#include "wizard/ContactsSession.h"
#include "wizard/WizardTexts.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace addrix {

namespace {

QPushButton* MakeButton(QWidget& parent, const char* name, const char* caption) {
    auto* button = new QPushButton(QString::fromLatin1(caption), &parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

frmContacts::frmContacts(ContactsSession& contacts, QWidget* owner)
    : QDialog(owner), m_contacts(contacts) {
    setObjectName(QStringLiteral("frmContacts"));
    setWindowTitle(QStringLiteral("Contacts"));

    m_model = new ContactsModel(m_contacts, this);
    m_grdContacts = MakeRowTable(*m_model, ContactsModel::kLine, *this);
    m_grdContacts->setObjectName(QStringLiteral("grdContacts"));
    m_rows = qobject_cast<QSortFilterProxyModel*>(m_grdContacts->model());
    m_rows->setSortRole(ContactsModel::kSortRole);
    m_rows->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_rows->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_rows->setFilterKeyColumn(-1);

    m_txtFilter = new QLineEdit(this);
    m_txtFilter->setObjectName(QStringLiteral("txtFilter"));
    m_txtFilter->setClearButtonEnabled(true);
    auto* filter = new QLabel(QStringLiteral("&Filter:"), this);
    filter->setBuddy(m_txtFilter);
    connect(m_txtFilter, &QLineEdit::textChanged, this, &frmContacts::txtFilter_Change);

    BuildButtons();
    auto* top = new QHBoxLayout;
    top->addWidget(filter);
    top->addWidget(m_txtFilter);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdMerge);
    buttons->addWidget(m_cmdMergeAll);
    buttons->addStretch();
    buttons->addWidget(m_lblChosen);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grdContacts);
    layout->addLayout(buttons);

    connect(m_model, &QAbstractItemModel::dataChanged, this, &frmContacts::ShowChosen);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmContacts::ShowChosen);
    connect(m_grdContacts->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmContacts::ShowChosen);
    ShowChosen();
    FitToTable(*this, *m_grdContacts, owner);
    if (owner)
        PlaceBeside(*this, *owner);
}

void frmContacts::BuildButtons() {
    m_cmdMerge = MakeButton(*this, "cmdMerge", "&Merge");
    m_cmdMergeAll = MakeButton(*this, "cmdMergeAll", "Merge &All");
    m_lblChosen = new QLabel(this);
    m_lblChosen->setObjectName(QStringLiteral("lblChosen"));
    m_cmdOK = MakeButton(*this, "cmdOK", "OK");
    m_cmdOK->setDefault(true);
    m_cmdCancel = MakeButton(*this, "cmdCancel", "Cancel");
    connect(m_cmdMerge, &QPushButton::clicked, this, &frmContacts::cmdMerge_Click);
    connect(m_cmdMergeAll, &QPushButton::clicked, this, &frmContacts::cmdMergeAll_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmContacts::txtFilter_Change(const QString& text) {
    m_rows->setFilterFixedString(text);
    ShowChosen();
}

void frmContacts::cmdMerge_Click() {
    const QModelIndex current = m_rows->mapToSource(m_grdContacts->currentIndex());
    if (const std::int64_t first = m_model->groupOf(current.row())) {
        m_contacts.merge(first);
        m_model->reload();
    }
}

void frmContacts::cmdMergeAll_Click() {
    m_contacts.mergeAll();
    m_model->reload();
}

void frmContacts::ShowChosen() {
    const bool over = m_contacts.overLimit();
    m_lblChosen->setText(ToQString(ChosenText(m_contacts.chosenCount(), m_contacts.recordLimit())));
    QPalette colours = palette();
    if (over)
        colours.setColor(QPalette::WindowText, Qt::red);
    m_lblChosen->setPalette(colours);
    m_cmdOK->setEnabled(!over);
    const QModelIndex current = m_rows->mapToSource(m_grdContacts->currentIndex());
    m_cmdMerge->setEnabled(current.isValid() && m_model->groupOf(current.row()) != 0);
    m_cmdMergeAll->setEnabled(m_model->hasGroups());
}

} // namespace addrix
