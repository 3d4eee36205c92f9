#include "app/gui/ContactsModel.h"

#include "wizard/ContactsSession.h"

#include <QColor>

#include <algorithm>
#include <initializer_list>
#include <map>

namespace addrix {

namespace {

// The columns' values that are not empty, joined by commas (which the
// Norvik's columns never hold).
std::string Joined(const ListedContact& contact, std::initializer_list<Column> columns) {
    std::string text;
    for (const Column column : columns) {
        if (contact.text(column).empty())
            continue;
        if (!text.empty())
            text += ", ";
        text += contact.text(column);
    }
    return text;
}

std::string ColumnText(const ListedContact& contact, int column) {
    switch (column) {
    case ContactsModel::kName:
        return contact.name();
    case ContactsModel::kCompany:
        return contact.text(Column::Company);
    case ContactsModel::kPhone:
        return Joined(contact,
                      {Column::HomePhone, Column::WorkPhone, Column::MobilePhone, Column::Fax});
    case ContactsModel::kEmail:
        return Joined(contact, {Column::WorkEmail, Column::HomeEmail});
    default:
        return {};
    }
}

} // namespace

ContactsModel::ContactsModel(ContactsSession& contacts, QObject* parent)
    : RowModel({"Line", "Name", "Company", "Phone", "E-mail", "Duplicate of"}, parent),
      m_contacts(contacts) {
    reload();
}

void ContactsModel::reload() {
    beginResetModel();
    Regroup();
    // A group's place is its first contact's; each contact not in one is its own.
    const auto& contacts = m_contacts.contacts().contacts();
    std::map<std::int64_t, std::size_t> rank;
    for (std::size_t i = 0; i < contacts.size(); ++i)
        rank.emplace(contacts[i].position, i);
    const auto key = [&](std::size_t i) {
        return std::make_pair(m_groups[i] ? rank[m_groups[i]] : i, i);
    };
    m_order.resize(contacts.size());
    for (std::size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = i;
    std::sort(m_order.begin(), m_order.end(),
              [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    endResetModel();
}

void ContactsModel::Regroup() {
    m_groups = m_contacts.duplicates();
}

std::int64_t ContactsModel::groupOf(int row) const {
    if (row < 0 || row >= rowCount())
        return 0;
    return m_groups[ContactAt(row)];
}

bool ContactsModel::hasGroups() const {
    return std::any_of(m_groups.begin(), m_groups.end(), [](std::int64_t first) { return first; });
}

QVariant ContactsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ListedContact& contact = m_contacts.contacts().contacts()[ContactAt(index.row())];
    const std::int64_t group = m_groups[ContactAt(index.row())];
    const int column = index.column();
    if (role == Qt::BackgroundRole)
        return group ? QVariant(QColor(0xFF, 0xF0, 0xC8)) : QVariant();
    if (column == kLine && role == Qt::CheckStateRole)
        return contact.chosen ? Qt::Checked : Qt::Unchecked;
    if (role == kSortRole && column != kDuplicateOf)
        return column == kLine ? QVariant(index.row()) : data(index, Qt::DisplayRole);
    if (column == kLine)
        return NumberCell(contact.position, role);
    if (column == kDuplicateOf) {
        if (!group && role == Qt::DisplayRole)
            return {};
        return NumberCell(group, role == kSortRole ? int(Qt::DisplayRole) : role);
    }
    return TextCell(ColumnText(contact, column), role);
}

bool ContactsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != kLine || role != Qt::CheckStateRole)
        return false;
    const ListedContact& contact = m_contacts.contacts().contacts()[ContactAt(index.row())];
    if (!m_contacts.setChosen(contact.position, value.toInt() == Qt::Checked))
        return false;
    // Only the chosen contacts make groups.
    Regroup();
    emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, kColumnCount - 1));
    return true;
}

Qt::ItemFlags ContactsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = RowModel::flags(index);
    if (index.isValid() && index.column() == kLine)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ContactsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == kDuplicateOf && role == Qt::ToolTipRole)
        return QStringLiteral("The line of the first contact of its duplicates");
    return RowModel::headerData(section, orientation, role);
}

} // namespace addrix
