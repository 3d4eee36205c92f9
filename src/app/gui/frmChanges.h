#pragma once

#include "contact/ChangeReport.h"
#include "wizard/ChangesFile.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableView;

namespace addrix {

class IFileDialog;
class IFileSystem;
class IMessageBox;
class ChangesModel;
struct WizardServices;

// The "Changes" window: what the export changed, one row per change, the
// value that was and the one written side by side, sortable by any column;
// sized to its rows and put beside `owner`. Save... writes the report file
// where `place` allows.
class frmChanges final : public QDialog {
    Q_OBJECT

public:
    frmChanges(const std::vector<Change>& rows, ChangesFilePlace place,
               const WizardServices& services, QWidget* owner = nullptr);

private:
    void cmdSave_Click();

    const std::vector<Change>& m_rows;
    ChangesFilePlace m_place;
    IFileDialog& m_dialog;
    IMessageBox& m_messages;
    const IFileSystem& m_files;
    ChangesModel* m_model;
    QTableView* m_grdChanges;
    QPushButton* m_cmdSave;
    QPushButton* m_cmdClose;
};

} // namespace addrix
