#pragma once

#include <cstdint>
#include <exception>

#include <QLocale>
#include <QString>

#include "files/SettingsFile.h"

class QWidget;

namespace uzuviv {

class DocumentCommands;

// The interface language for the user's locale, before any settings file: French for French,
// English for every other language (Spanish, German and Italian come only from the settings
// file).
std::uint8_t SystemLanguageIndex(const QLocale& locale);

// The main window's settings file: read at start, written at exit. Each failure to read or
// write it is reported in an error box once, when it happens (one at start-up waits until the
// window is up).
class WindowSettings {
public:
    explicit WindowSettings(const QString& path) : path_(path) {}

    // Reads the file into `state`. A failure leaves what could be read and is kept for
    // ReportPending: the window is not up yet.
    void Load(DocumentCommands& commands, Settings& state);
    void ReportPending(QWidget* parent);
    void Save(QWidget* parent, const Settings& state);

private:
    void Report(QWidget* parent, std::exception_ptr failure);

    QString path_;
    std::exception_ptr pending_;
};

} // namespace uzuviv
