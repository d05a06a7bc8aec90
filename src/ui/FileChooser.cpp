#include "ui/FileChooser.h"

#include <QFileInfo>

#include "files/TextFile.h"
#include "text/text.h"
#include "ui/MessageBoxes.h"

namespace uzuviv {

void FileChooser::accept()
{
    if (acceptMode() == QFileDialog::AcceptSave) {
        // The typed name with the default extension added, as the save will use it.
        const QStringList chosen = selectedFiles();
        if (chosen.size() == 1 && IsWriteProtected(chosen.front().toStdString())) {
            ShowMessageBox(this, MessageKind::Warning,
                           QFileInfo(chosen.front()).fileName() + QLatin1Char('\n')
                               + QString::fromStdString(LanguageText(TextTable::MessageTexts, 8)));
            return;
        }
    }
    QFileDialog::accept();
}

} // namespace uzuviv
