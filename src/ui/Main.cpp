#include "ui/Main.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "editing/CommandStates.h"
#include "editing/WebLinks.h"
#include "text/text.h"
#include "ui/CheckWindow.h"
#include "ui/CommandActions.h"
#include "ui/EditorPanel.h"
#include "ui/FileDialogs.h"
#include "ui/Gauge.h"
#include "ui/Help.h"
#include "ui/MainWidgets.h"
#include "ui/MessageBoxes.h"
#include "ui/PointListModel.h"
#include "ui/Printing.h"
#include "ui/ProjetProperty.h"
#include "ui/QtTranslations.h"
#include "ui/map/MapPanel.h"
#include "ui/map/MapView.h"

namespace uzuviv {

TForm1::TForm1(const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent)
    , settings_(settingsPath)
    , commands_(document_, *this)
    , points_(document_, *this, *this)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowIcon(ProgramIcon());

    LanguageIndex = SystemLanguageIndex(QLocale::system());

    actions_ = std::make_unique<CommandActions>(this, [this](CommandId id) { return HandlerFor(id); });
    actions_->Action(LanguageCommand(LanguageIndex))->setChecked(true);
    recentSlots_ = AddRecentFileSlots(actions_->Menu(CommandMenu::File));
    for (QAction* recent : recentSlots_)
        connect(recent, &QAction::triggered, this, [this, recent]() {
            const auto position = recent->data().value<qulonglong>();
            RunGuarded(this, [this, position]() { commands_.RecentFileClick(position); });
        });
    actions_->ToolBar()->addSeparator();
    displayModes_ = AddDisplayModeButtons(actions_->ToolBar());
    connect(displayModes_, &QButtonGroup::idClicked, this, [this](int mode) {
        if (mode != points_.DisplayMode())
            RunGuarded(this, [this, mode]() { points_.SwitchDisplayMode(mode); });
    });
    CreateCentralArea();

    timer1_ = CreateHighlightTimer(this);
    connect(timer1_, &QTimer::timeout, this, [this]() { ClearFieldHighlight(); });

    setWindowTitle(QString::fromStdString(TitlePrefix));
    resize(800, 625);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // The window sees every key press before the focused control does.
    qApp->installEventFilter(this);

    SelectDisplayMode(1);
    LoadSettings();
    RefreshCommands();
    map_->LoadSettings();

    about_ = new TForm2(this);
    properties_ = new TForm3(this);
    progress_ = new TForm4(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

std::function<void()> TForm1::HandlerFor(CommandId id)
{
    const auto guarded = [this](auto command) -> std::function<void()> {
        return [this, command]() { RunGuarded(this, command); };
    };
    switch (id) {
    case CommandId::NewProject: return guarded([this]() { commands_.New2Click(); });
    case CommandId::ProjectProperties: return guarded([this]() { commands_.Property1Click(); });
    case CommandId::Open: return guarded([this]() { commands_.Open1Click(); });
    case CommandId::Save: return guarded([this]() { commands_.Save1Click(); });
    case CommandId::SaveAs: return guarded([this]() { commands_.SaveAs1Click(); });
    case CommandId::BuildGPSFile: return guarded([this]() { commands_.CreateGPSFile1Click(); });
    case CommandId::ImportGPSFile: return guarded([this]() { commands_.ImportGPSFile1Click(); });
    case CommandId::ImportGpxFile: return guarded([this]() { commands_.ImportGpxFile1Click(); });
    case CommandId::ExportGpxFile: return guarded([this]() { commands_.ExportGpxFile1Click(); });
    case CommandId::ExportKmlFile: return guarded([this]() { commands_.ExportKmlFile1Click(); });
    case CommandId::Print:
        return guarded([this]() {
            PrintPointList(this, document_.CurrentProject(), points_.DisplayMode());
        });
    case CommandId::Exit: return [this]() { close(); };
    case CommandId::Undo: return guarded([this]() { points_.Undo1Click(); });
    case CommandId::Redo: return guarded([this]() { points_.Redo1Click(); });
    case CommandId::NewPoint: return guarded([this]() { points_.AddNewPoint(); });
    case CommandId::NewFromGoogleMaps:
        return guarded([this]() { points_.NewGPSFromGoogleMapsClipboard1Click(); });
    case CommandId::Delete: return guarded([this]() { points_.DeleteSelectedPoints(); });
    case CommandId::Cut: return guarded([this]() { points_.Cut1Click(); });
    case CommandId::Copy: return guarded([this]() { points_.Copy1Click(); });
    case CommandId::Paste: return guarded([this]() { points_.Paste1Click(); });
    case CommandId::SelectAll: return guarded([this]() { points_.SelectAll1Click(); });
    case CommandId::English:
    case CommandId::French:
    case CommandId::Spanish:
    case CommandId::German:
    case CommandId::Italian:
        for (int language = 1; language <= 5; ++language)
            if (LanguageCommand(language) == id)
                return [this, language]() { LanguageClick(language); };
        break;
    case CommandId::ShowMap:
        return [this]() { map_->ShowMap(actions_->Action(CommandId::ShowMap)->isChecked()); };
    case CommandId::MapSettings: return [this]() { map_->EditSettings(); };
    case CommandId::About: return [this]() { about_->exec(); };
    case CommandId::HomePage: return [this]() { OpenUrl(HomePageUrl()); };
    case CommandId::SendEmail: return [this]() { OpenUrl(SupportMailLink()); };
    case CommandId::ShowInGoogleMaps:
        return guarded([this]() { points_.ShowInGoogleMap1Click(RowAt(*listView_, listMouse_.y())); });
    case CommandId::CheckProject: return guarded([this]() { CheckProject1Click(); });
    }
    return {};
}

void TForm1::CreateCentralArea()
{
    listModel_ = new PointListModel(document_, points_.DisplayModeRef(), this);
    const CentralWidgets widgets = CreateCentralWidgets(this, listModel_);
    listView_ = widgets.List;
    panel_ = widgets.Panel;
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this]() { RunGuarded(this, [this]() { points_.ListView1SelectItem(); }); });
    listView_->viewport()->installEventFilter(this);
    connect(panel_, &EditorPanel::SetDataClicked, this,
            [this]() { RunGuarded(this, [this]() { points_.SetPointData(); }); });
    connect(panel_, &EditorPanel::NewClicked, this,
            [this]() { RunGuarded(this, [this]() { points_.PanelNewClick(); }); });

    map_ = new MapPanel(*this, document_, *this, *this, points_);
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, map_->View(),
            &MapView::SelectionChanged);
}

void TForm1::ApplyLanguage()
{
    LoadQtTranslations(LanguageIndex);
    actions_->Relabel();
    listModel_->RefreshHeaders();
    panel_->ApplyLanguage();
    map_->ApplyLanguage();
    // Mode cells follow the language; the other cells hold numbers and the user's comments.
    listModel_->RefreshAllRows();
    if (check_)
        check_->ApplyLanguage();
}

void TForm1::CheckProject1Click()
{
    if (!check_)
        check_ = new CheckWindow(document_, *this, this);
    check_->ShowChecked();
}

void TForm1::RecordsChanged()
{
    if (check_)
        check_->ProjectChanged();
}

void TForm1::LanguageClick(int language)
{
    actions_->Action(LanguageCommand(language))->setChecked(true);
    LanguageIndex = static_cast<std::uint8_t>(language);
    ApplyLanguage();
}

void TForm1::SelectDisplayMode(int mode)
{
    const int button = mode == 2 || mode == 3 || mode == 4 ? mode : 1;
    points_.SetDisplayMode(mode);
    displayModes_->button(button)->setChecked(true);
    RefreshCommands();
    RefreshAllListRows();
}

void TForm1::RefreshCommands()
{
    const CommandStates s =
        ComputeCommandStates(CommandInputsOf(document_, !Selection().Empty(), points_.DisplayMode()));
    actions_->Apply(s);
    ShowListAndPanel(*listView_, *panel_, s);
    ClearFieldHighlight();
}

MessageAnswer TForm1::ShowMessage(MessageKind kind, const std::string& text)
{
    return ShowMessageBox(this, kind, QString::fromStdString(text));
}

std::optional<std::string> TForm1::ChooseFile(FileDialog dialog, const std::string& presetName)
{
    return ChooseFileName(this, dialog, presetName);
}

bool TForm1::EditProperties(ProjectProperties& values)
{
    return properties_->Edit(values);
}

void TForm1::SetTitle(const std::string& title)
{
    setWindowTitle(QString::fromStdString(title));
}

void TForm1::PointListAboutToBeRebuilt()
{
    listModel_->AboutToRebuild();
}

void TForm1::RebuildPointList()
{
    listModel_->Rebuild();
    // A history of one state means a project just opened, imported or made: the map fits it.
    if (document_.History.Count() <= 1)
        map_->View()->ProjectReplaced();
    else
        map_->View()->ProjectChanged();
    RecordsChanged();
}

ProgressSink& TForm1::Progress()
{
    return *progress_;
}

void TForm1::OpenUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::TolerantMode));
}

void TForm1::RecentFilesChanged()
{
    ShowRecentFiles(recentSlots_, commands_.Recent.Slots());
}

void TForm1::LoadSettings()
{
    Settings state = commands_.CurrentSettings(LanguageIndex, points_.DisplayMode());
    settings_.Load(commands_, state);
    LanguageClick(state.LanguageIndex >= 1 && state.LanguageIndex <= 5 ? state.LanguageIndex : 2);
    SelectDisplayMode(state.DisplayMode & 0xFF);
}

std::optional<std::string> TForm1::ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText() ? std::optional(data->text().toStdString()) : std::nullopt;
}

RowSelection TForm1::Selection() const
{
    return SelectedRows(*listView_);
}

void TForm1::SetSelection(const RowSelection& selection)
{
    SelectRows(*listView_, selection);
}

bool TForm1::ListHasFocus() const
{
    return focusWidget() == listView_;
}

void TForm1::ScrollToRow(std::size_t row)
{
    listView_->scrollTo(listModel_->index(static_cast<int>(row), 0));
}

void TForm1::RowsAboutToBeAppended(std::size_t first, std::size_t count)
{
    listModel_->RowsAboutToBeAppended(static_cast<int>(first), static_cast<int>(count));
}

void TForm1::RowsAppended(std::size_t, std::size_t)
{
    listModel_->RowsAppended();
    map_->View()->ProjectChanged();
    RecordsChanged();
}

void TForm1::RowsAboutToBeRemoved(const RowSelection& rows)
{
    listModel_->RowsAboutToBeRemoved(rows);
}

void TForm1::RowsRemoved(const RowSelection&)
{
    listModel_->RowsRemoved();
    map_->View()->ProjectChanged();
    RecordsChanged();
}

void TForm1::RefreshListRow(std::size_t row)
{
    listModel_->RefreshRow(static_cast<int>(row));
    map_->View()->ProjectChanged();
    RecordsChanged();
}

void TForm1::RefreshAllListRows()
{
    listModel_->RefreshAllRows();
    map_->View()->ProjectChanged();
    RecordsChanged();
}

PanelTexts TForm1::ReadPanel() const
{
    return panel_->Texts();
}

void TForm1::WritePanel(const PanelTexts& texts)
{
    panel_->SetTexts(texts);
}

void TForm1::ShowHighlight(const FieldHighlight& highlight)
{
    panel_->ShowHighlight(highlight);
}

void TForm1::ClearFieldHighlight()
{
    panel_->ClearFieldHighlight();
}

void TForm1::StartHighlightTimer()
{
    // A second double-click while the timer runs does not restart the five seconds.
    if (!timer1_->isActive())
        timer1_->start();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == this)
            ClearFieldHighlight();
        return false;
    }
    if (watched == listView_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            listMouse_ = mouse->position().toPoint();
            if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton)
                actions_->Menu(CommandMenu::Popup)->popup(QCursor::pos());
            // The first press already selected the row; the view does nothing more with the
            // second, so the pointer can act before it.
            if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
                RunGuarded(this, [this]() {
                    points_.ListView1DblClick(RowAt(*listView_, listMouse_.y()),
                                              ColumnAt(*listView_, listMouse_.x()));
                });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormActivate()
{
    settings_.ReportPending(this);
    RunGuarded(this, [this]() { commands_.FormActivate(); });
}

bool TForm1::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    RunGuarded(this, [this, &mayClose]() {
        mayClose = commands_.FormClose([this]() {
            settings_.Save(this, commands_.CurrentSettings(LanguageIndex, points_.DisplayMode()));
        });
    });
    if (mayClose) {
        map_->SaveSettings();
        progress_->hide();
        timer1_->stop();
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace uzuviv
