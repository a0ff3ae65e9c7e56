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

std::string couldNotOpen(const QString& path, const FileError& error)
{
    return "Could not open the saved game " + path.toStdString() + ": " + error.reason + ".";
}

} // namespace palisade
