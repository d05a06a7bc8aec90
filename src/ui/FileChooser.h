#pragma once

#include <QFileDialog>

namespace uzuviv {

// The file dialogs of the program. A save dialog refuses an existing file that cannot be
// replaced (read-only) before it closes: the user is told and picks another name, so the command
// that asked never ends on "access denied" for the name just chosen.
class FileChooser : public QFileDialog {
    Q_OBJECT
public:
    using QFileDialog::QFileDialog;

    void accept() override;
};

} // namespace uzuviv
