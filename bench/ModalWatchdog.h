#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace uzuviv::bench {

// A message box or dialog would wait for a user who is not there: closes it, and says so, so
// that the command's own check reports the work it did not do.
class ModalWatchdog {
public:
    explicit ModalWatchdog(const char* program)
    {
        timer_.setInterval(200);
        QObject::connect(&timer_, &QTimer::timeout, [program] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const auto* box = qobject_cast<QMessageBox*>(modal);
                std::fprintf(stderr, "%s: closed a %s %s\n", program, modal->metaObject()->className(),
                             box != nullptr ? box->text().toStdString().c_str() : "");
                modal->close();
            }
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

} // namespace uzuviv::bench
