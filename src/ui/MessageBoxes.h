#pragma once

#include <exception>
#include <string>

#include <QString>

#include "editing/DocumentView.h"

class QWidget;

namespace uzuviv {

// Every message box of the program: the icon of its kind, the fixed French caption
// ("Avertissement", "Erreur", "Information", "Confirmation") and French buttons whatever the
// interface language. Modal; a confirmation answers Yes or No.
MessageAnswer ShowMessageBox(QWidget* parent, MessageKind kind, const QString& text);

// The runtime's text of a failure, with the full stop the error box adds after a letter or digit.
QString ErrorBoxText(const std::string& failure);

// The one top-level handler: runs a command and shows any failure in the error box.
// Returns false when the command failed.
template <typename Command>
bool RunGuarded(QWidget* parent, Command&& command);

void ShowFailure(QWidget* parent, std::exception_ptr failure);

template <typename Command>
bool RunGuarded(QWidget* parent, Command&& command)
{
    try {
        command();
        return true;
    } catch (...) {
        ShowFailure(parent, std::current_exception());
        return false;
    }
}

} // namespace uzuviv
