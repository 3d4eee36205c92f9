#pragma once

#include "platform/IFileDialog.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace addrix {

// "Address File (*.csv)|*.csv" as Qt's name filters: one "Description
// (patterns)" entry per description and pattern pair.
QStringList QtNameFilters(const std::string& filter);

// True when `path` may be returned: with `pathMustExist`, its folder must be
// an existing folder.
bool ChosenPathAcceptable(const QString& path, bool pathMustExist);

// Open and save dialogs on QFileDialog, owned by `parent` (may be null).
// The dialog opens in `initialDir` (the folder of it when it names a file),
// else in the folder of a preset `fileName` that carries one; the preset
// name is `fileName`'s last part. Neither kind insists that the file exists.
class QtFileDialog final : public IFileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    std::optional<std::string> show(const FileDialogRequest& request) override;

private:
    QWidget* m_parent;
};

} // namespace addrix
