#include "app/gui/ChangesModel.h"

#include "app/gui/TableWindow.h"
#include "platform/qt/QtServices.h"

namespace addrix {

namespace {

// The report's columns as a person reads them: POSITION, NAME, COLUMN,
// CHANGE, SOURCE_VALUE, WRITTEN_VALUE.
constexpr const char* kHeaders[ChangesModel::kColumnCount] = {"Line",   "Contact", "Column",
                                                              "Change", "Was",     "Now"};

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

ChangesModel::ChangesModel(const std::vector<Change>& rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows) {}

int ChangesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ChangesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ChangesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Change& change = m_rows[static_cast<std::size_t>(index.row())];
    if (index.column() == kLine) {
        if (role == Qt::DisplayRole)
            return QVariant::fromValue<qlonglong>(change.position);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return OneLineText(FromWindows1252(ColumnText(change, index.column())));
}

QVariant ChangesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::ToolTipRole && section == kLine)
        return QStringLiteral("The line of the backup file, or the record of the download");
    return {};
}

} // namespace addrix
