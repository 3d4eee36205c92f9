#include "platform/qt/QtFileDialog.h"

#include "platform/qt/QtServices.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace addrix {

QStringList QtNameFilters(const std::string& filter) {
    QStringList filters;
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses; add them when the
        // description does not already show them.
        if (description.contains(QLatin1Char('(')))
            filters << description;
        else
            filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters;
}

bool ChosenPathAcceptable(const QString& path, bool pathMustExist) {
    if (path.isEmpty())
        return false;
    if (!pathMustExist)
        return true;
    return QFileInfo(path).absoluteDir().exists();
}

std::optional<std::string> QtFileDialog::show(const FileDialogRequest& request) {
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    QFileDialog dialog(m_parent, ToQString(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The file need not exist: the backup file is checked later, and the
    // output file is made by the export.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = QtNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(ToQString(request.defaultExtension));

    const QString initial = ToQString(request.initialDir);
    const QString preset = ToQString(request.fileName);
    QString folder;
    QString name;
    if (!initial.isEmpty()) {
        const QFileInfo info(initial);
        if (info.isFile()) {
            folder = info.absolutePath();
            name = info.fileName();
        } else {
            folder = initial;
        }
    }
    if (!preset.isEmpty()) {
        const QFileInfo info(preset);
        const bool hasFolder = info.fileName() != preset;
        if (folder.isEmpty() && hasFolder)
            folder = info.absolutePath();
        name = info.fileName();
    }
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!name.isEmpty())
        dialog.selectFile(name);

    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty())
            return std::nullopt;
        const QString& path = chosen.first();
        if (ChosenPathAcceptable(path, request.pathMustExist))
            return FromQString(QDir::toNativeSeparators(path));
        QMessageBox::warning(
            &dialog, dialog.windowTitle(),
            QStringLiteral("%1\nPath does not exist.\nCheck the path and try again.")
                .arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace addrix
