#include "ui/WindowSettings.h"

#include "editing/DocumentCommands.h"
#include "ui/MessageBoxes.h"

namespace uzuviv {

std::uint8_t SystemLanguageIndex(const QLocale& locale)
{
    return locale.language() == QLocale::French ? 1 : 2;
}

void WindowSettings::Load(DocumentCommands& commands, Settings& state)
{
    try {
        commands.LoadSettings(path_.toStdString(), state);
    } catch (...) {
        pending_ = std::current_exception();
    }
}

void WindowSettings::ReportPending(QWidget* parent)
{
    if (pending_) {
        const std::exception_ptr failure = pending_;
        pending_ = nullptr;
        Report(parent, failure);
    }
}

void WindowSettings::Save(QWidget* parent, const Settings& state)
{
    try {
        WriteSettingsFile(path_.toStdString(), state);
    } catch (...) {
        Report(parent, std::current_exception());
    }
}

void WindowSettings::Report(QWidget* parent, std::exception_ptr failure)
{
    if (failure)
        ShowFailure(parent, failure);
}

} // namespace uzuviv
