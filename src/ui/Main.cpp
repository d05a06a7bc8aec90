#include "ui/Main.h"

#include <functional>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QUrl>
#include <QVBoxLayout>

#include "editing/CommandStates.h"
#include "editing/WebLinks.h"
#include "files/SettingsFile.h"
#include "text/text.h"
#include "ui/EditorPanel.h"
#include "ui/FileChooser.h"
#include "ui/Gauge.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/MessageBoxes.h"
#include "ui/PointListModel.h"
#include "ui/Printing.h"
#include "ui/ProjetProperty.h"
#include "ui/QtTranslations.h"
#include "ui/map/MapPanel.h"
#include "ui/map/MapView.h"

namespace uzuviv {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString Text(TextTable table, int item) { return Q(LanguageText(table, item)); }

// Menu shortcut texts use the fixed French key names whatever the interface language.
class ShortcutKeyNames : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QShortcut") != 0)
            return {};
        if (qstrcmp(sourceText, "Shift") == 0)
            return QStringLiteral("Maj");
        if (qstrcmp(sourceText, "Del") == 0)
            return QStringLiteral("Suppr");
        return {};
    }
};

void InstallShortcutKeyNames()
{
    static ShortcutKeyNames* names = nullptr;
    if (names == nullptr) {
        names = new ShortcutKeyNames(QCoreApplication::instance());
        QCoreApplication::installTranslator(names);
    }
}

// The menu item, its shortcut, icon and handler, and the toolbar button that raises the same
// command, in one table.
struct CommandRow {
    const char* name;
    QKeySequence shortcut;
    std::optional<CommandIcon> icon;
    const char* toolButton;   // nullptr: no toolbar button
};

const CommandRow CommandTable[] = {
    {"New2", QKeySequence(Qt::CTRL | Qt::Key_N), CommandIcon::NewProject, "SpeedButton8"},
    {"Property1", QKeySequence(Qt::CTRL | Qt::Key_P), CommandIcon::ProjectProperties, nullptr},
    {"Open1", QKeySequence(Qt::CTRL | Qt::Key_O), CommandIcon::Open, "SpeedButton4"},
    {"Save1", QKeySequence(Qt::CTRL | Qt::Key_S), CommandIcon::Save, "SpeedButton3"},
    {"SaveAs1", QKeySequence(), CommandIcon::SaveAs, nullptr},
    {"CreateGPSFile1", QKeySequence(Qt::Key_F9), CommandIcon::BuildGPSFile, "SpeedButton5"},
    {"ImportGPSFile1", QKeySequence(Qt::Key_F12), CommandIcon::ImportGPSFile, nullptr},
    {"Imprimer1", QKeySequence(), CommandIcon::Print, nullptr},
    {"Exit1", QKeySequence(), CommandIcon::Exit, nullptr},
    {"Undo1", QKeySequence(Qt::CTRL | Qt::Key_Z), CommandIcon::Undo, "SpeedButton6"},
    {"Redo1", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z), CommandIcon::Redo, "SpeedButton7"},
    {"New1", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), CommandIcon::NewPoint, "SpeedButton1"},
    {"NewGPSFromGoogleMapsClipboard1", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_G),
     CommandIcon::NewFromGoogleMaps, nullptr},
    {"Delete1", QKeySequence(Qt::Key_Delete), CommandIcon::DeletePoint, "SpeedButton2"},
    {"Cut1", QKeySequence(Qt::CTRL | Qt::Key_X), CommandIcon::Cut, nullptr},
    {"Copy1", QKeySequence(Qt::CTRL | Qt::Key_C), CommandIcon::Copy, nullptr},
    {"Paste1", QKeySequence(Qt::CTRL | Qt::Key_V), CommandIcon::Paste, nullptr},
    {"SelectAll1", QKeySequence(Qt::CTRL | Qt::Key_A), CommandIcon::SelectAll, nullptr},
    {"About1", QKeySequence(Qt::Key_F1), CommandIcon::About, nullptr},
    {"HomePage1", QKeySequence(), CommandIcon::HomePage, nullptr},
    {"SendEmailToSupport1", QKeySequence(), CommandIcon::SendEmail, nullptr},
    // The list's pop-up items raise the handlers of their menu twins.
    {"Delete2", QKeySequence(), CommandIcon::DeletePoint, nullptr},
    {"Cut2", QKeySequence(), CommandIcon::Cut, nullptr},
    {"Copy2", QKeySequence(), CommandIcon::Copy, nullptr},
    {"Paste2", QKeySequence(), CommandIcon::Paste, nullptr},
    {"ShowInGoogleMap1", QKeySequence(), CommandIcon::ShowInGoogleMaps, nullptr},
};

} // namespace

std::uint8_t SystemLanguageIndex(const QLocale& locale)
{
    return locale.language() == QLocale::French ? 1 : 2;
}

TForm1::TForm1(const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent)
    , settingsPath_(settingsPath)
    , commands_(document_, *this)
    , points_(document_, *this, *this)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowIcon(ProgramIcon());
    InstallShortcutKeyNames();

    LanguageIndex = SystemLanguageIndex(QLocale::system());

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateCentralArea();
    CreateMap();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    timer1_->setInterval(5000);
    connect(timer1_, &QTimer::timeout, this, [this]() { ClearFieldHighlight(); });

    setWindowTitle(Q(TitlePrefix));
    resize(800, 625);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // The window sees every key press before the focused control does.
    qApp->installEventFilter(this);

    SelectDisplayMode(1);
    LoadSettings();
    ApplyLanguage();
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

void TForm1::CreateActions()
{
    const auto guarded = [this](auto command) {
        return [this, command]() { RunGuarded(this, command); };
    };
    const std::map<std::string, std::function<void()>> handlers = {
        {"New2", guarded([this]() { commands_.New2Click(); })},
        {"Property1", guarded([this]() { commands_.Property1Click(); })},
        {"Open1", guarded([this]() { commands_.Open1Click(); })},
        {"Save1", guarded([this]() { commands_.Save1Click(); })},
        {"SaveAs1", guarded([this]() { commands_.SaveAs1Click(); })},
        {"CreateGPSFile1", guarded([this]() { commands_.CreateGPSFile1Click(); })},
        {"ImportGPSFile1", guarded([this]() { commands_.ImportGPSFile1Click(); })},
        {"Imprimer1", guarded([this]() {
             PrintPointList(this, document_.CurrentProject(), points_.DisplayMode());
         })},
        {"Exit1", [this]() { close(); }},
        {"Undo1", guarded([this]() { points_.Undo1Click(); })},
        {"Redo1", guarded([this]() { points_.Redo1Click(); })},
        {"New1", guarded([this]() { points_.AddNewPoint(); })},
        {"NewGPSFromGoogleMapsClipboard1",
         guarded([this]() { points_.NewGPSFromGoogleMapsClipboard1Click(); })},
        {"Delete1", guarded([this]() { points_.DeleteSelectedPoints(); })},
        {"Cut1", guarded([this]() { points_.Cut1Click(); })},
        {"Copy1", guarded([this]() { points_.Copy1Click(); })},
        {"Paste1", guarded([this]() { points_.Paste1Click(); })},
        {"SelectAll1", guarded([this]() { points_.SelectAll1Click(); })},
        {"About1", [this]() { about_->exec(); }},
        {"HomePage1", [this]() { OpenUrl(HomePageUrl()); }},
        {"SendEmailToSupport1", [this]() { OpenUrl(SupportMailLink()); }},
        {"ShowInGoogleMap1",
         guarded([this]() { points_.ShowInGoogleMap1Click(RowAtListMouse()); })},
    };
    const std::map<std::string, std::string> twins = {
        {"Delete2", "Delete1"}, {"Cut2", "Cut1"}, {"Copy2", "Copy1"}, {"Paste2", "Paste1"}};

    for (const CommandRow& row : CommandTable) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(row.name));
        action->setShortcut(row.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        if (row.icon)
            action->setIcon(IconFor(*row.icon));
        const auto twin = twins.find(row.name);
        connect(action, &QAction::triggered, this,
                handlers.at(twin != twins.end() ? twin->second : row.name));
        addAction(action);
    }

    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    const struct { const char* name; int language; } languages[] = {
        {"English1", 2}, {"French1", 1}, {"Espaol1", 3}, {"Deutsch1", 4}, {"Italian1", 5}};
    for (const auto& language : languages) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(language.name));
        action->setCheckable(true);
        languageGroup_->addAction(action);
        const int index = language.language;
        connect(action, &QAction::triggered, this, [this, index]() { LanguageClick(index); });
        // Spanish, German and Italian stay reachable only through the settings file.
        action->setVisible(index <= 2);
    }
    Action(LanguageIndex == 1 ? "French1" : "English1")->setChecked(true);
}

QAction* TForm1::Action(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

QToolButton* TForm1::ToolButton(const char* name) const
{
    return findChild<QToolButton*>(QString::fromLatin1(name));
}

void TForm1::CreateMenus()
{
    const auto menu = [this](QMenu* parent, const char* name) {
        QMenu* created = parent ? parent->addMenu(QString()) : menuBar()->addMenu(QString());
        created->setObjectName(QString::fromLatin1(name));
        created->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item"));
        return created;
    };
    const auto add = [this](QMenu* target, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (name == nullptr)
                target->addSeparator();
            else
                target->addAction(Action(name));
        }
    };
    fileMenu_ = menu(nullptr, "File1");
    add(fileMenu_, {"New2", "Property1", nullptr, "Open1", "Save1", "SaveAs1", nullptr,
                    "CreateGPSFile1", "ImportGPSFile1", nullptr, "Imprimer1", nullptr, "Exit1",
                    nullptr});
    for (int slot = 0; slot < 5; ++slot) {
        QAction* recent = fileMenu_->addAction(QString());
        recent->setObjectName(QStringLiteral("RecentFile%1").arg(slot + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, recent]() {
            const auto position = recent->data().value<qulonglong>();
            RunGuarded(this, [this, position]() { commands_.RecentFileClick(position); });
        });
        recentSlots_[slot] = recent;
    }
    editMenu_ = menu(nullptr, "Edit1");
    add(editMenu_, {"Undo1", "Redo1", nullptr, "New1", "NewGPSFromGoogleMapsClipboard1",
                    "Delete1", nullptr, "Cut1", "Copy1", "Paste1", "SelectAll1"});
    optionsMenu_ = menu(nullptr, "Options1");
    languageMenu_ = menu(optionsMenu_, "Language1");
    add(languageMenu_, {"English1", "French1", "Espaol1", "Deutsch1", "Italian1"});
    helpMenu_ = menu(nullptr, "Help1");
    add(helpMenu_, {"About1", nullptr});
    webMenu_ = menu(helpMenu_, "Web1");
    add(webMenu_, {"HomePage1", "SendEmailToSupport1"});

    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    add(popupMenu_, {"Delete2", nullptr, "Cut2", "Copy2", "Paste2", nullptr, "ShowInGoogleMap1"});
}

void TForm1::CreateToolBar()
{
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolBar);

    const auto button = [this, toolBar](const char* name, const char* command) {
        for (const CommandRow& row : CommandTable) {
            if (qstrcmp(row.name, command) != 0)
                continue;
            auto* tool = new QToolButton(toolBar);
            tool->setObjectName(QString::fromLatin1(name));
            tool->setIcon(ToolbarIconFor(*row.icon));
            tool->setAutoRaise(true);
            tool->setFixedSize(40, 34);
            tool->setIconSize(QSize(24, 24));
            // Toolbar buttons never take the focus: Delete must still see the list focused.
            tool->setFocusPolicy(Qt::NoFocus);
            QAction* action = Action(command);
            connect(tool, &QToolButton::clicked, action, &QAction::trigger);
            toolBar->addWidget(tool);
        }
    };
    button("SpeedButton8", "New2");
    button("SpeedButton4", "Open1");
    button("SpeedButton3", "Save1");
    toolBar->addSeparator();
    button("SpeedButton5", "CreateGPSFile1");
    toolBar->addSeparator();
    button("SpeedButton1", "New1");
    button("SpeedButton2", "Delete1");
    button("SpeedButton6", "Undo1");
    button("SpeedButton7", "Redo1");
    toolBar->addSeparator();

    auto* modes = new QWidget(toolBar);
    modes->setObjectName(QStringLiteral("Panel5"));
    modes->setFixedSize(121, 34);
    auto* grid = new QGridLayout(modes);
    grid->setContentsMargins(2, 0, 2, 0);
    grid->setSpacing(0);
    displayModes_ = new QButtonGroup(this);
    const struct { const char* name; const char* caption; int tag, row, column; } radios[] = {
        {"mxFlatRadioButton3", "D.d", 1, 0, 0}, {"mxFlatRadioButton1", "DM.d", 2, 0, 1},
        {"mxFlatRadioButton5", "DMS.d", 3, 1, 0}, {"mxFlatRadioButton6", "DMS", 4, 1, 1}};
    for (const auto& r : radios) {
        auto* radio = new QRadioButton(QString::fromLatin1(r.caption), modes);
        radio->setObjectName(QString::fromLatin1(r.name));
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(8);
        radio->setFont(font);
        displayModes_->addButton(radio, r.tag);
        grid->addWidget(radio, r.row, r.column);
    }
    connect(displayModes_, &QButtonGroup::idClicked, this, [this](int mode) {
        if (mode != points_.DisplayMode())
            RunGuarded(this, [this, mode]() { points_.SwitchDisplayMode(mode); });
    });
    toolBar->addWidget(modes);
}

void TForm1::CreateCentralArea()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* listArea = new QWidget(central);
    listArea->setObjectName(QStringLiteral("Panel1"));
    listArea->setAutoFillBackground(true);
    QPalette palette = listArea->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    listArea->setPalette(palette);
    auto* listLayout = new QVBoxLayout(listArea);
    listLayout->setContentsMargins(0, 0, 0, 0);

    listModel_ = new PointListModel(document_, points_.DisplayModeRef(), this);
    listView_ = new QTableView(listArea);
    listView_->setObjectName(QStringLiteral("ListView1"));
    listView_->setModel(listModel_);
    listView_->setShowGrid(true);
    listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView_->setSortingEnabled(false);
    listView_->setWordWrap(false);
    listView_->setContextMenuPolicy(Qt::PreventContextMenu);
    listView_->verticalHeader()->hide();
    listView_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    listView_->verticalHeader()->setDefaultSectionSize(listView_->fontMetrics().height() + 4);
    listView_->horizontalHeader()->setSectionsClickable(false);
    listView_->horizontalHeader()->setHighlightSections(false);
    listView_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The selection stays visible while the focus is in the editor panel.
    QPalette listPalette = listView_->palette();
    listPalette.setColor(QPalette::Inactive, QPalette::Highlight,
                         listPalette.color(QPalette::Active, QPalette::Highlight));
    listPalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         listPalette.color(QPalette::Active, QPalette::HighlightedText));
    listView_->setPalette(listPalette);
    // Widths measured once, in the list's own font, when the columns are made.
    const QFontMetrics metrics = listView_->fontMetrics();
    const int widths[] = {
        metrics.horizontalAdvance(QString::fromUtf8("N°")) + 16,
        metrics.horizontalAdvance(QStringLiteral("+XXX.XX.XX.XXXX")) + 16,
        metrics.horizontalAdvance(QStringLiteral("+XXX.XX.XX.XXXX")) + 16,
        metrics.horizontalAdvance(QStringLiteral("Tolerance")) + 16,
        metrics.horizontalAdvance(QStringLiteral("Parcours")) + 16,
        metrics.horizontalAdvance(QStringLiteral("Fichier")) + 16,
        32 * metrics.horizontalAdvance(QStringLiteral("X")) + 16,
    };
    for (int column = 0; column < 7; ++column)
        listView_->setColumnWidth(column, widths[column]);
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this]() { RunGuarded(this, [this]() { points_.ListView1SelectItem(); }); });
    listView_->viewport()->installEventFilter(this);
    listLayout->addWidget(listView_);
    layout->addWidget(listArea, 1);

    auto* editorArea = new QScrollArea(central);
    editorArea->setObjectName(QStringLiteral("ScrollBox1"));
    editorArea->setFrameShape(QFrame::NoFrame);
    editorArea->setFixedHeight(245);
    panel_ = new EditorPanel(editorArea);
    editorArea->setWidget(panel_);
    connect(panel_, &EditorPanel::SetDataClicked, this,
            [this]() { RunGuarded(this, [this]() { points_.SetPointData(); }); });
    connect(panel_, &EditorPanel::NewClicked, this,
            [this]() { RunGuarded(this, [this]() { points_.PanelNewClick(); }); });
    layout->addWidget(editorArea);
    setCentralWidget(central);
}

void TForm1::CreateMap()
{
    map_ = new MapPanel(*this, document_, *this, *this, points_);
    optionsMenu_->addSeparator();
    optionsMenu_->addAction(map_->ShowMapAction());
    optionsMenu_->addAction(map_->SettingsAction());
    connect(listView_->selectionModel(), &QItemSelectionModel::selectionChanged, map_->View(),
            &MapView::SelectionChanged);
}

void TForm1::ApplyLanguage()
{
    LoadQtTranslations(LanguageIndex);
    const auto label = [this](const char* name, TextTable table, int item) {
        Action(name)->setText(Text(table, item));
    };
    fileMenu_->setTitle(Text(TextTable::FileMenuTexts, 1));
    const char* fileItems[] = {"New2", "Property1", "Open1", "Save1", "SaveAs1", "Exit1",
                               "CreateGPSFile1", "ImportGPSFile1", "Imprimer1"};
    for (int i = 0; i < 9; ++i)
        label(fileItems[i], TextTable::FileMenuTexts, i + 2);
    editMenu_->setTitle(Text(TextTable::EditMenuTexts, 1));
    const char* editItems[] = {"New1", "Delete1", "Cut1", "Copy1", "Paste1", "SelectAll1",
                               "Undo1", "Redo1", "NewGPSFromGoogleMapsClipboard1"};
    for (int i = 0; i < 9; ++i)
        label(editItems[i], TextTable::EditMenuTexts, i + 2);
    optionsMenu_->setTitle(Text(TextTable::OptionsMenuTexts, 1));
    languageMenu_->setTitle(Text(TextTable::LanguageMenuTexts, 1));
    const char* languageItems[] = {"English1", "French1", "Espaol1", "Deutsch1", "Italian1"};
    for (int i = 0; i < 5; ++i)
        label(languageItems[i], TextTable::LanguageMenuTexts, i + 2);
    helpMenu_->setTitle(Text(TextTable::HelpMenuTexts, 1));
    label("About1", TextTable::HelpMenuTexts, 2);
    webMenu_->setTitle(Text(TextTable::HelpMenuTexts, 3));
    label("HomePage1", TextTable::HelpMenuTexts, 4);
    label("SendEmailToSupport1", TextTable::HelpMenuTexts, 5);
    const char* popupItems[] = {"Delete2", "Cut2", "Copy2", "Paste2", "ShowInGoogleMap1"};
    for (int i = 0; i < 5; ++i)
        label(popupItems[i], TextTable::PopupMenuTexts, i + 1);

    listModel_->RefreshHeaders();
    panel_->ApplyLanguage();
    if (map_ != nullptr)
        map_->ApplyLanguage();
    // Mode cells follow the language; the other cells hold numbers and the user's comments.
    listModel_->RefreshAllRows();

    const struct { const char* name; int item; } hints[] = {
        {"SpeedButton1", 1}, {"SpeedButton2", 2}, {"SpeedButton8", 6}, {"SpeedButton4", 7},
        {"SpeedButton3", 8}, {"SpeedButton5", 9}, {"SpeedButton6", 10}, {"SpeedButton7", 11}};
    for (const auto& hint : hints)
        ToolButton(hint.name)->setToolTip(Text(TextTable::ToolbarHintTexts, hint.item));
}

void TForm1::LanguageClick(int language)
{
    const char* names[] = {"French1", "English1", "Espaol1", "Deutsch1", "Italian1"};
    Action(names[language - 1])->setChecked(true);
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
    const struct { const char* name; bool enabled; } states[] = {
        {"Property1", s.ProjectProperties}, {"Save1", s.Save}, {"SaveAs1", s.SaveAs},
        {"CreateGPSFile1", s.BuildGPSFile}, {"Undo1", s.Undo}, {"Redo1", s.Redo},
        {"New1", s.NewPoint}, {"NewGPSFromGoogleMapsClipboard1", s.NewFromGoogleMaps},
        {"Delete1", s.Delete}, {"Delete2", s.Delete}, {"Cut1", s.Cut}, {"Cut2", s.Cut},
        {"Copy1", s.Copy}, {"Copy2", s.Copy}, {"Paste1", s.Paste}, {"Paste2", s.Paste},
        {"SelectAll1", s.SelectAll}, {"ShowInGoogleMap1", s.ShowInGoogleMaps}};
    for (const auto& state : states)
        Action(state.name)->setEnabled(state.enabled);
    const struct { const char* button; const char* command; } buttons[] = {
        {"SpeedButton3", "Save1"}, {"SpeedButton5", "CreateGPSFile1"}, {"SpeedButton1", "New1"},
        {"SpeedButton2", "Delete1"}, {"SpeedButton6", "Undo1"}, {"SpeedButton7", "Redo1"}};
    for (const auto& b : buttons)
        ToolButton(b.button)->setEnabled(Action(b.command)->isEnabled());

    listView_->setVisible(s.ListAndPanelVisible);
    panel_->setVisible(s.ListAndPanelVisible);
    if (s.ListAndPanelVisible) {
        panel_->SetButtonStates(s.SetData, s.PanelNew);
        panel_->ArrangeCoordinateFields(s.DecimalFields, s.MinutesOnly);
    }
    ClearFieldHighlight();
}

MessageAnswer TForm1::ShowMessage(MessageKind kind, const std::string& text)
{
    return ShowMessageBox(this, kind, Q(text));
}

std::optional<std::string> TForm1::ChooseFile(FileDialog dialog, const std::string& presetName)
{
    const bool project = dialog == FileDialog::OpenProject || dialog == FileDialog::SaveProject;
    const bool save = dialog == FileDialog::SaveProject || dialog == FileDialog::SaveGPSFile;
    static const char* const names[] = {"OpenDialog1", "SaveDialog1", "OpenDialog2", "SaveDialog2"};

    FileChooser chooser(this);
    chooser.setObjectName(QString::fromLatin1(names[static_cast<int>(dialog)]));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setNameFilter(project ? QStringLiteral("OVRA GPS Project Files (*.gps)")
                                  : QStringLiteral("fichier OVRA/GPS (*.csv)"));
    chooser.setDefaultSuffix(project ? QStringLiteral("gps") : QStringLiteral("csv"));
    chooser.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!presetName.empty())
        chooser.selectFile(Q(presetName));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return chooser.selectedFiles().front().toStdString();
}

bool TForm1::EditProperties(ProjectProperties& values)
{
    return properties_->Edit(values);
}

void TForm1::SetTitle(const std::string& title)
{
    setWindowTitle(Q(title));
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
}

ProgressSink& TForm1::Progress()
{
    return *progress_;
}

void TForm1::OpenUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(Q(url), QUrl::TolerantMode));
}

void TForm1::RecentFilesChanged()
{
    for (QAction* slot : recentSlots_)
        slot->setVisible(false);
    const auto menuSlots = commands_.Recent.Slots();
    for (std::size_t k = 0; k < menuSlots.size() && k < 5; ++k) {
        QString caption = Q(menuSlots[k].Caption);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        recentSlots_[k]->setText(caption);
        recentSlots_[k]->setData(QVariant::fromValue<qulonglong>(menuSlots[k].Position));
        recentSlots_[k]->setVisible(true);
    }
}

void TForm1::LoadSettings()
{
    Settings state = commands_.CurrentSettings(LanguageIndex, points_.DisplayMode());
    try {
        commands_.LoadSettings(settingsPath_.toStdString(), state);
    } catch (...) {
        // Shown once the window is up; the program goes on with what could be read.
        pendingSettingsFailure_ = std::current_exception();
    }
    const int language = state.LanguageIndex >= 1 && state.LanguageIndex <= 5 ? state.LanguageIndex : 2;
    const char* names[] = {"French1", "English1", "Espaol1", "Deutsch1", "Italian1"};
    Action(names[language - 1])->setChecked(true);
    LanguageIndex = static_cast<std::uint8_t>(language);
    SelectDisplayMode(state.DisplayMode & 0xFF);
}

void TForm1::SaveSettings()
{
    try {
        WriteSettingsFile(settingsPath_.toStdString(),
                          commands_.CurrentSettings(LanguageIndex, points_.DisplayMode()));
    } catch (...) {
        ReportSettingsFailure(std::current_exception());
    }
}

void TForm1::ReportSettingsFailure(std::exception_ptr failure)
{
    if (failure)
        ShowFailure(this, failure);
}

std::optional<std::string> TForm1::ClipboardText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

RowSelection TForm1::Selection() const
{
    RowSelection selection;
    if (listView_->selectionModel() == nullptr)
        return selection;
    for (const QItemSelectionRange& range : listView_->selectionModel()->selection())
        if (range.isValid() && range.top() >= 0)
            selection.Add(static_cast<std::size_t>(range.top()), static_cast<std::size_t>(range.bottom()));
    return selection;
}

void TForm1::SetSelection(const RowSelection& selection)
{
    QItemSelection rows;
    for (const RowSelection::Range& range : selection.Ranges())
        rows.select(listModel_->index(static_cast<int>(range.First), 0),
                    listModel_->index(static_cast<int>(range.Last), 6));
    QItemSelectionModel* model = listView_->selectionModel();
    if (!selection.Empty())
        model->setCurrentIndex(listModel_->index(static_cast<int>(*selection.FirstRow()), 0),
                               QItemSelectionModel::NoUpdate);
    model->select(rows, QItemSelectionModel::ClearAndSelect);
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
}

void TForm1::RowsAboutToBeRemoved(const RowSelection& rows)
{
    listModel_->RowsAboutToBeRemoved(rows);
}

void TForm1::RowsRemoved(const RowSelection&)
{
    listModel_->RowsRemoved();
    map_->View()->ProjectChanged();
}

void TForm1::RefreshListRow(std::size_t row)
{
    listModel_->RefreshRow(static_cast<int>(row));
    map_->View()->ProjectChanged();
}

void TForm1::RefreshAllListRows()
{
    listModel_->RefreshAllRows();
    map_->View()->ProjectChanged();
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

std::optional<std::size_t> TForm1::RowAtListMouse() const
{
    const int row = listView_->rowAt(listMouse_.y());
    if (row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

int TForm1::ColumnAtListMouse() const
{
    const int x = listMouse_.x() + listView_->horizontalScrollBar()->value();
    int edge = 0;
    for (int column = 0; column < 7; ++column) {
        const int next = edge + listView_->columnWidth(column);
        if (x >= edge && x < next)
            return column;
        edge = next;
    }
    return -1;
}

void TForm1::ListView1DblClick()
{
    RunGuarded(this, [this]() { points_.ListView1DblClick(RowAtListMouse(), ColumnAtListMouse()); });
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
                popupMenu_->popup(QCursor::pos());
            // The first press already selected the row; the view does nothing more with the
            // second, so the pointer can act before it.
            if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
                ListView1DblClick();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormActivate()
{
    if (pendingSettingsFailure_) {
        const std::exception_ptr failure = pendingSettingsFailure_;
        pendingSettingsFailure_ = nullptr;
        ReportSettingsFailure(failure);
    }
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
        mayClose = commands_.FormClose([this]() { SaveSettings(); });
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
