#include "app/gui/ChangesModel.h"

namespace addrix {

namespace {

std::string ColumnText(const Change& change, int column) {
    switch (column) {
    case ChangesModel::kContact:
        return change.name;
    case ChangesModel::kColumn:
        return change.column;
    case ChangesModel::kChange:
        return ChangeKindName(change.kind);
    case ChangesModel::kWas:
        return change.sourceValue;
    case ChangesModel::kNow:
        return change.writtenValue;
    default:
        return {};
    }
}

} // namespace

// The report's columns as a person reads them: POSITION, NAME, COLUMN,
// CHANGE, SOURCE_VALUE, WRITTEN_VALUE.
ChangesModel::ChangesModel(const std::vector<Change>& rows, QObject* parent)
    : RowModel({"Line", "Contact", "Column", "Change", "Was", "Now"}, parent), m_rows(rows) {}

QVariant ChangesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Change& change = m_rows[static_cast<std::size_t>(index.row())];
    if (index.column() == kLine)
        return NumberCell(change.position, role);
    return TextCell(ColumnText(change, index.column()), role);
}

} // namespace addrix
