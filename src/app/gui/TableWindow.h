#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <vector>

class QTableView;
class QWidget;

namespace addrix {

// How a window that lists rows shows them.

// A read-only table over `model` in `parent`: one compact line a row, long
// values cut short with an ellipsis, whole rows selected, sortable by any
// column and sorted by `sortColumn` at first.
QTableView* MakeRowTable(QAbstractItemModel& model, int sortColumn, QWidget& parent);

// Sizes `window` to show every column of `table` (none wider than about 32
// characters) and as many rows as there are, within the available
// geometry of the screen that `owner` (or else the window) is on.
void FitToTable(QWidget& window, QTableView& table, const QWidget* owner);

// Puts `window` beside `owner`: to its right when it fits on the owner's
// screen, else to its left, else leaves it where it is; its top as the
// owner's, as far as the screen allows.
void PlaceBeside(QWidget& window, const QWidget& owner);

// `text` on one line: control characters as their visible symbols.
QString OneLineText(QString text);

// A model of rows under fixed headers, the first the source's Line.
class RowModel : public QAbstractTableModel {
public:
    RowModel(std::vector<const char*> headers, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const final;
    int columnCount(const QModelIndex& parent = {}) const final;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    virtual int rows() const = 0;
    // A number, right-aligned.
    static QVariant NumberCell(long long number, int role);
    // Windows text on one line, in full as its tooltip.
    static QVariant TextCell(const std::string& text, int role);

private:
    std::vector<const char*> m_headers;
};

} // namespace addrix
