#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <source_location>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
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

// How many answers were ever prepared: an answer that prepares another one for what comes next
// is not leaving its window open by mistake.
inline int& PreparedModalAnswers()
{
    static int prepared = 0;
    return prepared;
}

// Answers still looking for their window (not the one answering now).
inline int WaitingModalAnswers()
{
    int waiting = 0;
    for (const QTimer* poll : PendingModalAnswers().findChildren<QTimer*>())
        waiting += poll->isActive() ? 1 : 0;
    return waiting;
}

inline std::string ModalName(const QWidget* modal)
{
    std::string name = modal->metaObject()->className();
    if (!modal->objectName().isEmpty())
        name += " " + modal->objectName().toStdString();
    if (const auto* box = qobject_cast<const QMessageBox*>(modal))
        name += " \"" + box->text().toStdString() + "\"";
    return name;
}

inline void CloseModal(QWidget* modal)
{
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

// Answers the next modal window that opens: `answer` runs on it once it is the active modal
// widget. It waits as long as the test runs, however slow the machine; an answer that finds no
// window by the end of the test fails it (CancelPendingModalAnswers). A window still open after
// its answer, when the answer prepared no other, fails the test and is closed: the test would
// otherwise wait for it for ever.
inline void WhenModal(std::function<void(QWidget*)> answer,
                      std::source_location where = std::source_location::current())
{
    ++PreparedModalAnswers();
    auto* poll = new QTimer(&PendingModalAnswers());
    poll->setInterval(10);
    poll->setProperty("file", QString::fromUtf8(where.file_name()));
    poll->setProperty("line", static_cast<int>(where.line()));
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, where]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        const int prepared = PreparedModalAnswers();
        const QPointer<QWidget> answered(modal);
        answer(modal);
        if (answered && answered->isVisible() && PreparedModalAnswers() == prepared) {
            ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
                << "the " << ModalName(answered) << " stayed open after its answer";
            CloseModal(answered);
        }
    });
    poll->start();
}

// Drops the answers that found no window, failing the running test once for each.
inline void CancelPendingModalAnswers()
{
    const QList<QTimer*> polls = PendingModalAnswers().findChildren<QTimer*>();
    for (QTimer* poll : polls) {
        if (poll->isActive())
            ADD_FAILURE_AT(poll->property("file").toString().toStdString().c_str(),
                           poll->property("line").toInt())
                << "this prepared answer found no modal window";
        poll->stop();
        delete poll;
    }
}

// A modal window that no prepared answer waits for would hold the test until its time runs out:
// once it has waited `patience`, the watch fails the running test, naming the window, and
// closes it.
class UnansweredModalWatch {
public:
    explicit UnansweredModalWatch(std::chrono::milliseconds patience) : patience_(patience)
    {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this]() { Look(); });
        timer_.start();
    }

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || WaitingModalAnswers() > 0 || modal != waiting_) {
            waiting_ = WaitingModalAnswers() > 0 ? nullptr : modal;
            since_.restart();
            return;
        }
        if (since_.elapsed() < patience_.count())
            return;
        ADD_FAILURE() << "nothing answered the " << ModalName(modal);
        waiting_ = nullptr;
        CloseModal(modal);
    }

    std::chrono::milliseconds patience_;
    QTimer timer_;
    QPointer<QWidget> waiting_;
    QElapsedTimer since_;
};

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
