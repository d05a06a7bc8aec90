#include "ui/MessageBoxes.h"

#include <new>
#include <stdexcept>

#include <QMessageBox>
#include <QPushButton>

namespace uzuviv {

MessageAnswer ShowMessageBox(QWidget* parent, MessageKind kind, const QString& text)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    // Texts carry file names, file contents and clipboard text: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    QPushButton* yes = nullptr;
    switch (kind) {
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("Avertissement"));
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(QStringLiteral("Erreur"));
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Information"));
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QStringLiteral("Confirmation"));
        break;
    }
    if (kind == MessageKind::Confirmation) {
        yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
    } else {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    if (kind != MessageKind::Confirmation)
        return MessageAnswer::Ok;
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString ErrorBoxText(const std::string& failure)
{
    QString text = QString::fromStdString(failure);
    if (!text.isEmpty() && text.back().isLetterOrNumber())
        text += QLatin1Char('.');
    return text;
}

void ShowFailure(QWidget* parent, std::exception_ptr failure)
{
    std::string text;
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        text = "Mémoire insuffisante";
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "Erreur inconnue";
    }
    ShowMessageBox(parent, MessageKind::Error, ErrorBoxText(text));
}

} // namespace uzuviv
