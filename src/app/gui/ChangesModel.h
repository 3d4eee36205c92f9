#pragma once

#include "app/gui/TableWindow.h"
#include "contact/ChangeReport.h"

#include <vector>

namespace addrix {

// The rows of a change report for a table view, one change a row, in the
// columns a person reads. Values show as the Windows text they come from, on
// one line, and in full as their tooltip; Line is a number, so that it sorts
// 9 before 10.
class ChangesModel final : public RowModel {
    Q_OBJECT

public:
    enum Column : int { kLine, kContact, kColumn, kChange, kWas, kNow, kColumnCount };

    // `rows` must outlive the model.
    explicit ChangesModel(const std::vector<Change>& rows, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role) const override;

private:
    int rows() const override { return static_cast<int>(m_rows.size()); }

    const std::vector<Change>& m_rows;
};

} // namespace addrix
