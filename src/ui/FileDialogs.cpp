#include "ui/FileDialogs.h"

#include "ui/FileChooser.h"

namespace uzuviv {

std::optional<std::string> ChooseFileName(QWidget* parent, FileDialog dialog,
                                          const std::string& presetName)
{
    struct Kind {
        const char* Name;
        const char* Filter;
        const char* Suffix;
        bool Save;
    };
    // In the order of FileDialog.
    static const Kind kinds[] = {
        {"OpenDialog1", "OVRA GPS Project Files (*.gps)", "gps", false},
        {"SaveDialog1", "OVRA GPS Project Files (*.gps)", "gps", true},
        {"OpenDialog2", "fichier OVRA/GPS (*.csv)", "csv", false},
        {"SaveDialog2", "fichier OVRA/GPS (*.csv)", "csv", true},
        {"OpenGpxDialog", "GPX Files (*.gpx *.GPX)", "gpx", false},
        {"SaveGpxDialog", "GPX Files (*.gpx)", "gpx", true},
        {"SaveKmlDialog", "KML Files (*.kml)", "kml", true},
    };
    const Kind& kind = kinds[static_cast<int>(dialog)];

    FileChooser chooser(parent);
    chooser.setObjectName(QString::fromLatin1(kind.Name));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setNameFilter(QString::fromLatin1(kind.Filter));
    chooser.setDefaultSuffix(QString::fromLatin1(kind.Suffix));
    chooser.setAcceptMode(kind.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(kind.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
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
