#pragma once

#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace uzuviv::testing {

// The polls of WhenModal that have not answered yet.
inline QObject& PendingModalAnswers()
{
    static QObject* pending = new QObject(qApp);
    return *pending;
}

// Answers the next modal window that opens: `answer` runs on it once it is the active modal
// widget. It waits as long as the test runs, however slow the machine; what has not been
// answered when the test ends is dropped (CancelPendingModalAnswers), so it cannot answer a
// window of the next test.
inline void WhenModal(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer(&PendingModalAnswers());
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        answer(modal);
    });
    poll->start();
}

// Returns how many answers were still waiting.
inline int CancelPendingModalAnswers()
{
    const QList<QTimer*> polls = PendingModalAnswers().findChildren<QTimer*>();
    int waiting = 0;
    for (QTimer* poll : polls) {
        if (poll->isActive())
            ++waiting;
        poll->stop();
        delete poll;
    }
    return waiting;
}

inline QAbstractButton* ButtonWithText(QWidget* box, const QString& text)
{
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Goes to the folder of `path` and types its name into the file name box, as a user does.
// selectFile() is not enough: it leaves the box alone while the box has the focus.
inline bool TypeIntoFileDialog(QFileDialog* dialog, const QString& path)
{
    auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (nameEdit == nullptr)
        return false;
    const QFileInfo target(path);
    dialog->setDirectory(target.absolutePath());
    nameEdit->setText(target.fileName());
    return true;
}

// Picks `path` in a file dialog, or cancels it when `path` is empty. A dialog that stays open
// fails the test and is cancelled, so that it cannot hang the run.
inline void AnswerFileDialog(QWidget* modal, const QString& path)
{
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) {
        ADD_FAILURE() << "expected a file dialog, got " << modal->metaObject()->className();
        modal->close();
        return;
    }
    if (path.isEmpty()) {
        dialog->reject();
        return;
    }
    if (!TypeIntoFileDialog(dialog, path)) {
        ADD_FAILURE() << "no file name box in the file dialog";
        dialog->reject();
        return;
    }
    static_cast<QDialog*>(dialog)->accept();   // QFileDialog::accept checks the name
    if (dialog->isVisible()) {
        ADD_FAILURE() << "the file dialog did not accept " << path.toStdString();
        dialog->reject();
    }
}

} // namespace uzuviv::testing
