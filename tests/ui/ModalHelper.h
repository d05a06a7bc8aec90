#pragma once

#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace uzuviv::testing {

// Answers the next modal window that opens: `answer` runs on it once it is the active modal
// widget. Gives up after five seconds so a missing dialog fails the test instead of hanging it.
inline void WhenModal(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, started]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && started->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal != nullptr)
            answer(modal);
    });
    poll->start();
}

inline QAbstractButton* ButtonWithText(QWidget* box, const QString& text)
{
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Picks `path` in a file dialog, or cancels it when `path` is empty.
inline void AnswerFileDialog(QWidget* modal, const QString& path)
{
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) {
        modal->close();
        return;
    }
    if (path.isEmpty()) {
        dialog->reject();
        return;
    }
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
}

} // namespace uzuviv::testing
