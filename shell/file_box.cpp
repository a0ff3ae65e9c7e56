#include "shell/file_box.h"

#include <QFileDialog>

namespace palisade {

QString chooseSavedGame(QWidget* parent, FileBoxMode mode)
{
    QFileDialog dialog(parent, "File Box", QString(), "Brindle (*.brd)");
    dialog.setObjectName("Form2");
    dialog.setDefaultSuffix("brd");
    if (mode == FileBoxMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString chooseExportFile(QWidget* parent, const QString& caption, const QString& filter)
{
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setObjectName("exportFileBox");
    const QString pattern = filter.section("(*.", 1).section(')', 0, 0);
    dialog.setDefaultSuffix(pattern);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

std::string couldNotOpen(const QString& path, const FileError& error)
{
    return "Could not open the saved game " + path.toStdString() + ": " + error.reason + ".";
}

} // namespace palisade
