#pragma once

#include "contact/ChangeReport.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableWidget;

namespace addrix {

class IFileDialog;
class IMessageBox;

// The "Changes" window: what the export changed, one row per change in the
// report's columns, sortable by any column; Save... writes the report file.
class frmChanges final : public QDialog {
    Q_OBJECT

public:
    frmChanges(const std::vector<Change>& rows, IFileDialog& dialog, IMessageBox& messages,
               QWidget* owner = nullptr);

private:
    void cmdSave_Click();

    const std::vector<Change>& m_rows;
    IFileDialog& m_dialog;
    IMessageBox& m_messages;
    QTableWidget* m_grdChanges;
    QPushButton* m_cmdSave;
    QPushButton* m_cmdClose;
};

} // namespace addrix
