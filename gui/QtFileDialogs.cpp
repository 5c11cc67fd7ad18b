#include "gui/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

QString QtFileDialogs::chooseOpen(const Options &options) {
    return run(options, false);
}

QString QtFileDialogs::chooseSave(const Options &options) {
    return run(options, true);
}

QString QtFileDialogs::run(const Options &options, bool save) {
    QFileDialog dialog(m_parent, options.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The descriptions already name their patterns; the added Qt patterns stay out of sight.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);
    const QStringList filters = qtNameFilters(options.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(options.defaultExt);

    const QFileInfo proposed(options.fileName);
    QString folder = options.initialDir;
    if (folder.isEmpty() && proposed.isAbsolute())
        folder = proposed.absolutePath();
    if (folder.isEmpty())
        folder = m_lastFolder;
    // Nothing to go by: the user's documents, not the folder the program happened to start in.
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (save && !options.fileName.isEmpty())
        dialog.selectFile(proposed.fileName());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    m_lastFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}
