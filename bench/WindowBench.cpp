// The editing commands through the real main window, under QT_QPA_PLATFORM=offscreen: the
// editing layer plus the Qt list model, the view's layout and painting, and the panel.
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <memory>

#include "CommandBenchmarks.h"
#include "ModalWatchdog.h"
#include "ui/Main.h"

namespace uzuviv::bench {
namespace {

class WindowDriver {
public:
    WindowDriver()
        : window_(QString::fromStdString(ScratchFolder() + "/settings.ini")), watchdog_("bench_window")
    {
        window_.resize(1024, 768);
        window_.show();
        window_.activateWindow();
        Settle();
    }

    Document& Doc() { return window_.CurrentDocument(); }

    void Load(const TProjectType& project)
    {
        Doc().ResetProject();
        *Doc().CurrentProject() = project;
        Doc().MarkSaved();
        window_.Commands().SetTitleFromProject();
        Refresh(true);
    }

    void Select(const RowSelection& rows) { window_.SetSelection(rows); }
    PanelTexts ReadPanel() const { return window_.ReadPanel(); }
    void WritePanel(const PanelTexts& texts) { window_.WritePanel(texts); }

    // As the user does it: the panel's button, the menu actions, the toolbar's radio buttons.
    void SetData() { Find<QPushButton>("mxFlatSpeedButton1")->click(); }
    void Delete() { Find<QAction>("Delete1")->trigger(); }
    // Paste is disabled from 150 points on (the editing limit), so it is called directly: the
    // cost the window would pay for it, model reset included.
    void Paste() { window_.Points().Paste1Click(); }
    void Undo() { Find<QAction>("Undo1")->trigger(); }
    void Redo() { Find<QAction>("Redo1")->trigger(); }
    void SwitchMode(int mode)
    {
        static const char* const radios[] = {"mxFlatRadioButton3", "mxFlatRadioButton1",
                                             "mxFlatRadioButton5", "mxFlatRadioButton6"};
        Find<QRadioButton>(radios[mode - 1])->click();
    }
    void SwitchLanguage(int language)
    {
        static const char* const actions[] = {"French1", "English1", "Espaol1", "Deutsch1", "Italian1"};
        Find<QAction>(actions[language - 1])->trigger();
    }

    void Settle() { QCoreApplication::processEvents(); }

    void Refresh(bool rebuildList)
    {
        if (rebuildList)
            window_.RebuildPointList();
        window_.RefreshCommands();
        window_.PointList()->setFocus(Qt::OtherFocusReason);
        Settle();
    }

private:
    template <class Widget>
    Widget* Find(const char* name)
    {
        Widget* found = window_.findChild<Widget*>(QString::fromLatin1(name));
        if (found == nullptr) {
            std::fprintf(stderr, "bench_window: no %s in the window\n", name);
            std::abort();
        }
        return found;
    }

    TForm1 window_;
    ModalWatchdog watchdog_;
};

std::unique_ptr<WindowDriver> driver;

} // namespace

template <>
WindowDriver& TheDriver<WindowDriver>()
{
    if (!driver)
        driver = std::make_unique<WindowDriver>();
    return *driver;
}

UZUVIV_REGISTER_COMMANDS(WindowDriver);

} // namespace uzuviv::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    uzuviv::bench::driver.reset();
    return 0;
}
