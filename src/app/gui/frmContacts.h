#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace addrix {

class ContactsModel;
class ContactsSession;

// The "Contacts" window: every contact of the source, one row each with its
// check box, the duplicates of a group together and marked, a filter over
// every column, Merge for the group of the current row and Merge All. The
// counter tells the contacts chosen against the record limit, in red above
// it, where OK cannot be pressed. The check boxes and merges change
// `contacts` at once; the caller keeps it on OK and drops it on Cancel.
class frmContacts final : public QDialog {
    Q_OBJECT

public:
    explicit frmContacts(ContactsSession& contacts, QWidget* owner = nullptr);

private:
    void BuildButtons();
    void txtFilter_Change(const QString& text);
    void cmdMerge_Click();
    void cmdMergeAll_Click();
    // The counter, OK and the merge buttons, after any change.
    void ShowChosen();

    ContactsSession& m_contacts;
    ContactsModel* m_model;
    QSortFilterProxyModel* m_rows;
    QLineEdit* m_txtFilter;
    QTableView* m_grdContacts;
    QLabel* m_lblChosen;
    QPushButton* m_cmdMerge;
    QPushButton* m_cmdMergeAll;
    QPushButton* m_cmdOK;
    QPushButton* m_cmdCancel;
};

} // namespace addrix
