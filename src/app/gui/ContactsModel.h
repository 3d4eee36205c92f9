#pragma once

#include "app/gui/TableWindow.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace addrix {

class ContactsSession;

// The contacts of a session for a table view, one contact a row, its check
// box in the first column. The duplicates of a group follow its first
// contact, each row of a group tinted and naming the group's first;
// sorting by Line keeps them together.
class ContactsModel final : public RowModel {
    Q_OBJECT

public:
    enum Column : int { kLine, kName, kCompany, kPhone, kEmail, kDuplicateOf, kColumnCount };
    // What the rows sort by: Line by the order above, the others by their text.
    static constexpr int kSortRole = Qt::UserRole;

    // `contacts` must outlive the model.
    explicit ContactsModel(ContactsSession& contacts, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The first contact of the group of the contact at `row`; 0 when none.
    std::int64_t groupOf(int row) const;
    bool hasGroups() const;
    // The session's contacts changed (a merge): every row again.
    void reload();

private:
    int rows() const override { return static_cast<int>(m_order.size()); }
    void Regroup();
    std::size_t ContactAt(int row) const { return m_order[static_cast<std::size_t>(row)]; }

    ContactsSession& m_contacts;
    std::vector<std::int64_t> m_groups; // per contact of the list
    std::vector<std::size_t> m_order;   // the contact of each row
};

} // namespace addrix
