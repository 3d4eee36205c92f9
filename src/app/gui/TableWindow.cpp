#include "app/gui/TableWindow.h"

#include "platform/qt/QtServices.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QWindow>

#include <algorithm>

namespace addrix {

namespace {

constexpr int kWidestColumnChars = 32;

// A table that asks for the room its rows take, no more.
class RowTable final : public QTableView {
public:
    using QTableView::QTableView;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return {horizontalHeader()->length() + frame,
                horizontalHeader()->sizeHint().height() + verticalHeader()->length() + frame};
    }
};

// The frame the window system draws around `window`; before a window is
// shown, that of `owner` stands in for it.
QMargins FrameOf(const QWidget& window, const QWidget* owner) {
    for (const QWidget* shown : {&window, owner})
        if (const QWindow* handle = shown ? shown->windowHandle() : nullptr)
            if (!handle->frameMargins().isNull())
                return handle->frameMargins();
    return {};
}

QRect AvailableFor(const QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner ? owner->screen() : window.screen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

QTableView* MakeRowTable(QAbstractItemModel& model, int sortColumn, QWidget& parent) {
    auto* sorted = new QSortFilterProxyModel(&parent);
    sorted->setSourceModel(&model);
    auto* table = new RowTable(&parent);
    table->setModel(sorted);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    QHeaderView* rows = table->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setSortingEnabled(true);
    table->sortByColumn(sortColumn, Qt::AscendingOrder);
    return table;
}

void FitToTable(QWidget& window, QTableView& table, const QWidget* owner) {
    table.resizeColumnsToContents();
    const int widest = table.fontMetrics().averageCharWidth() * kWidestColumnChars;
    for (int column = 0; column < table.horizontalHeader()->count(); ++column)
        table.setColumnWidth(column, std::min(table.columnWidth(column), widest));

    QSize size = window.sizeHint();
    const QRect available = AvailableFor(window, owner);
    if (available.isEmpty()) {
        window.resize(size);
        return;
    }
    const QMargins frame = FrameOf(window, owner);
    const QSize room = available.size().shrunkBy(frame);
    // Rows that do not all fit scroll, and their scroll bar takes no column's room.
    if (size.height() > room.height())
        size.rwidth() += table.verticalScrollBar()->sizeHint().width();
    window.resize(size.boundedTo(room));
}

void PlaceBeside(QWidget& window, const QWidget& owner) {
    const QRect available = AvailableFor(window, &owner);
    const QRect beside = owner.frameGeometry();
    const QSize outer = window.size().grownBy(FrameOf(window, &owner));
    const int top =
        std::max(available.top(), std::min(beside.top(), available.bottom() + 1 - outer.height()));
    if (beside.right() + outer.width() <= available.right())
        window.move(beside.right() + 1, top);
    else if (beside.left() - outer.width() >= available.left())
        window.move(beside.left() - outer.width(), top);
}

QString OneLineText(QString text) {
    // U+2400 onwards pictures the C0 controls, U+2421 DEL.
    for (QChar& c : text) {
        if (c.unicode() < 0x20)
            c = QChar(static_cast<char16_t>(0x2400 + c.unicode()));
        else if (c.unicode() == 0x7F)
            c = QChar(static_cast<char16_t>(0x2421));
    }
    return text;
}

RowModel::RowModel(std::vector<const char*> headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)) {}

int RowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows();
}

int RowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant RowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(m_headers[static_cast<std::size_t>(section)]);
    if (role == Qt::ToolTipRole && section == 0)
        return QStringLiteral("The line of the backup file, or the record of the download");
    return {};
}

QVariant RowModel::NumberCell(long long number, int role) {
    if (role == Qt::DisplayRole)
        return QVariant::fromValue<qlonglong>(number);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant RowModel::TextCell(const std::string& text, int role) {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return OneLineText(FromWindows1252(text));
}

} // namespace addrix
