#include "ui/FileDialogs.h"

#include "ui/FileChooser.h"

namespace uzuviv {

std::optional<std::string> ChooseFileName(QWidget* parent, FileDialog dialog,
                                          const std::string& presetName)
{
    const bool project = dialog == FileDialog::OpenProject || dialog == FileDialog::SaveProject;
    const bool save = dialog == FileDialog::SaveProject || dialog == FileDialog::SaveGPSFile;
    static const char* const names[] = {"OpenDialog1", "SaveDialog1", "OpenDialog2", "SaveDialog2"};

    FileChooser chooser(parent);
    chooser.setObjectName(QString::fromLatin1(names[static_cast<int>(dialog)]));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setNameFilter(project ? QStringLiteral("OVRA GPS Project Files (*.gps)")
                                  : QStringLiteral("fichier OVRA/GPS (*.csv)"));
    chooser.setDefaultSuffix(project ? QStringLiteral("gps") : QStringLiteral("csv"));
    chooser.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!presetName.empty())
        chooser.selectFile(QString::fromStdString(presetName));
    // The name the dialog accepted, after any replace question: asking the dialog again once it
    // has closed can give another file, as its folder listing may have moved the selection while
    // the question was open.
    std::optional<std::string> accepted;
    QObject::connect(&chooser, &QFileDialog::fileSelected,
                     [&accepted](const QString& file) { accepted = file.toStdString(); });
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return accepted;
}

} // namespace uzuviv
