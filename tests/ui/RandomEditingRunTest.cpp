// A long seeded random editing session through the real main window. Every action goes through
// the widgets a user touches; after each one the window must still agree with the document.
//
// UZUVIV_RANDOM_SEED replays a run, UZUVIV_RANDOM_ACTIONS sets its length, and
// UZUVIV_RANDOM_TRACE=1 prints every action as it runs.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "editing/CommandStates.h"
#include "editing/PanelLogic.h"
#include "editing/WebLinks.h"
#include "files/UnitOfCodes.h"
#include "model/CoordinateFormats.h"
#include "model/NumberText.h"
#include "text/text.h"
#include "ui/EditorPanel.h"
#include "ui/FieldEdit.h"
#include "ui/Gauge.h"
#include "ui/Help.h"
#include "ui/Main.h"
#include "ui/ModalHelper.h"
#include "ui/ProjetProperty.h"

namespace uzuviv {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Stands in for the browser and the mail program. Registered as the URL handler through its
// inherited setSource slot, which ends in doSetSource: no page is ever loaded.
class UrlSink : public QTextBrowser {
public:
    std::vector<QUrl> Opened;

protected:
    void doSetSource(const QUrl& url, QTextDocument::ResourceType) override { Opened.push_back(url); }
};

struct NullProgress : ProgressSink {
    void Show(const std::string&) override {}
    void SetProgress(int) override {}
    void Close() override {}
};

// A project file holds each coordinate with 15 significant digits.
TProjectType AsWrittenToFile(const TProjectType& project)
{
    TProjectType copy = project;
    for (TGPSRecord& record : copy.Records) {
        record.Latitude = ParseDecimal(CoordinateText(record.Latitude));
        record.Longitude = ParseDecimal(CoordinateText(record.Longitude));
    }
    return copy;
}

std::string FirstDifference(const TProjectType& expected, const TProjectType& actual)
{
    std::ostringstream out;
    const struct { const char* name; const std::string& a; const std::string& b; } properties[] = {
        {"ProjectName", expected.ProjectName, actual.ProjectName},
        {"Subject", expected.Subject, actual.Subject},
        {"Author", expected.Author, actual.Author},
        {"Copyright", expected.Copyright, actual.Copyright},
        {"Customer", expected.Customer, actual.Customer},
        {"CreationDate", expected.CreationDate, actual.CreationDate}};
    const auto record = [&out](const TGPSRecord& r) {
        out << CoordinateText(r.Latitude) << " " << CoordinateText(r.Longitude) << " " << r.Tolerance
            << " " << int(r.Mode) << " " << r.FileRef << " '" << r.Comments << "'";
    };
    for (const auto& p : properties)
        if (p.a != p.b) {
            out << p.name << ": '" << p.a << "' became '" << p.b << "'";
            return out.str();
        }
    if (expected.ProjectComments != actual.ProjectComments) {
        out << "comment lines: " << expected.ProjectComments.size() << " became "
            << actual.ProjectComments.size();
    } else if (expected.Records.size() != actual.Records.size()) {
        out << "records: " << expected.Records.size() << " became " << actual.Records.size();
    } else {
        for (std::size_t i = 0; i < expected.Records.size(); ++i)
            if (RecordsDiffer(expected.Records[i], actual.Records[i])) {
                out << "record " << i << ": ";
                record(expected.Records[i]);
                out << " became ";
                record(actual.Records[i]);
                break;
            }
    }
    return out.str();
}

// Answers every modal window through one timer: it looks for the active modal widget and hands
// it to `answer` from a queued call, so a modal opened by the answer itself (the overwrite
// question of a file dialog) is answered in its turn.
class ModalAnswerer : public QObject {
public:
    explicit ModalAnswerer(std::function<void(QWidget*, int attempt)> answer)
        : answer_(std::move(answer))
    {
        poll_.setInterval(2);
        connect(&poll_, &QTimer::timeout, this, [this]() { Poll(); });
        poll_.start();
    }
    ~ModalAnswerer() override { poll_.stop(); }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || queued_
            || std::find(answering_.begin(), answering_.end(), modal) != answering_.end())
            return;
        queued_ = true;
        QMetaObject::invokeMethod(this, [this, target = QPointer<QWidget>(modal)]() {
            queued_ = false;
            if (!target || target != QApplication::activeModalWidget())
                return;
            answering_.push_back(target.data());
            answer_(target.data(), ++Attempts(target.data()));
            answering_.pop_back();
        }, Qt::QueuedConnection);
    }

    int& Attempts(QWidget* modal)
    {
        attempts_.erase(std::remove_if(attempts_.begin(), attempts_.end(),
                                       [](const auto& entry) { return entry.first.isNull(); }),
                        attempts_.end());
        for (auto& entry : attempts_)
            if (entry.first == modal)
                return entry.second;
        attempts_.emplace_back(modal, 0);
        return attempts_.back().second;
    }

    QTimer poll_;
    std::function<void(QWidget*, int)> answer_;
    bool queued_ = false;
    std::vector<QWidget*> answering_;
    std::vector<std::pair<QPointer<QWidget>, int>> attempts_;
};

// What an action may change, taken before it runs.
struct Observed {
    bool HasProject = false;
    bool Modified = false;
    TProjectType Project;
    std::string FileName;
    bool Clipboard = false;
    std::size_t ClipboardSize = 0;
    std::size_t HistoryCount = 0, HistoryPosition = 0;
    int DisplayMode = 0;
    std::vector<int> SelectedRows;
};

const char* const MenuCommands[] = {
    "New2", "Property1", "Open1", "Save1", "SaveAs1", "CreateGPSFile1", "ImportGPSFile1", "Undo1",
    "Redo1", "New1", "NewGPSFromGoogleMapsClipboard1", "Delete1", "Cut1", "Copy1", "Paste1",
    "SelectAll1", "About1", "HomePage1", "SendEmailToSupport1", "Delete2", "Cut2", "Copy2",
    "Paste2", "ShowInGoogleMap1", "RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4",
    "RecentFile5", "English1", "French1", "Espaol1", "Deutsch1", "Italian1"};
const char* const ToolButtons[] = {"SpeedButton8", "SpeedButton4", "SpeedButton3", "SpeedButton5",
                                   "SpeedButton1", "SpeedButton2", "SpeedButton6", "SpeedButton7"};
const char* const DisplayModeButtons[] = {"mxFlatRadioButton3", "mxFlatRadioButton1",
                                          "mxFlatRadioButton5", "mxFlatRadioButton6"};
const char* const PointModeButtons[] = {"mxFlatRadioButton7", "mxFlatRadioButton8",
                                        "mxFlatRadioButton2"};

class RandomEditingRun {
public:
    RandomEditingRun(std::uint64_t seed, long actions)
        : seed_(seed), total_(actions), rng_(seed), checkRng_(seed ^ 0x5DEECE66DULL)
        , answerer_([this](QWidget* modal, int attempt) { Answer(modal, attempt); })
    {
        trace_ = !qEnvironmentVariableIsEmpty("UZUVIV_RANDOM_TRACE");
        std::filesystem::copy_file(UZUVIV_TEST_DATA "/sample-project.gps", folder_.File("sample.gps"));
        std::filesystem::copy_file(UZUVIV_TEST_DATA "/sample-gps.csv", folder_.File("sample.csv"));
        WriteBytes(folder_.File("bad.gps"), "DAV Uzuviv Project File of OVRA\r\nFile version : \r\n"
                                            "1.0.0\r\n*****\r\nP\r\n\r\n\r\n\r\n\r\n\r\nabc\r\n");
        WriteBytes(folder_.File("newer.gps"), "DAV Uzuviv Project File of OVRA\r\nFile version : "
                                              "\r\n2.0.0\r\n*****\r\n");
        WriteBytes(folder_.File("bad.csv"), "header\r\n1;north;2;3;1;001;x\r\n");
        ScanFiles(false);
        OpenWindow();
    }

    ~RandomEditingRun()
    {
        if (window_) {
            window_->close();
            window_.reset();
        }
    }

    void Run()
    {
        const auto started = std::chrono::steady_clock::now();
        while (index_ < total_ && !::testing::Test::HasFailure())
            RandomAction();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::cout << "[ random run ] " << index_ << " actions in " << seconds << " s: "
                  << projectFilesChecked_ << " saved project files and " << gpsFilesChecked_
                  << " GPS files read back, " << modalsAnswered_ << " modal windows answered, "
                  << urls_.Opened.size() << " URLs, " << restarts_ << " restarts, up to "
                  << largestProject_ << " points" << std::endl;
        if (total_ >= 2000 && !::testing::Test::HasFailure()) {
            EXPECT_GT(projectFilesChecked_, 0) << "the run never saved a project";
            EXPECT_GT(gpsFilesChecked_, 0) << "the run never built a GPS file";
        }
    }

    UrlSink& Urls() { return urls_; }

private:
    // ---- the window ------------------------------------------------------------------------

    TForm1& W() { return *window_; }
    Document& Doc() { return window_->CurrentDocument(); }
    QTableView* List() { return window_->PointList(); }
    QAction* Action(const char* name) { return window_->findChild<QAction*>(QString::fromLatin1(name)); }
    template <typename T = QWidget> T* Child(const char* name)
    {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }

    // A program start on the run's settings file; the first activation reopens the last project.
    void OpenWindow()
    {
        window_ = std::make_unique<TForm1>(QString::fromStdString(folder_.File("DAVUzuviv.cfg")));
        window_->show();
        EnsureActive();
    }

    void EnsureActive()
    {
        if (QApplication::activeWindow() == window_.get())
            return;
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get(), 5000));
        // The offscreen platform can leave a closed pop-up menu as the application's active
        // window while the main window's platform window counts as active; the window
        // shortcuts would then go nowhere.
        if (QApplication::activeWindow() != window_.get())
            QApplication::setActiveWindow(window_.get());
        EXPECT_EQ(QApplication::activeWindow(), window_.get());
    }

    // ---- random choices --------------------------------------------------------------------

    std::size_t Pick(std::size_t count) { return static_cast<std::size_t>(rng_() % count); }
    bool Chance(int percent) { return static_cast<int>(rng_() % 100) < percent; }
    template <typename T, std::size_t N> const T& OneOf(const T (&items)[N]) { return items[Pick(N)]; }

    std::string RandomAscii(std::size_t maxLength)
    {
        std::string text(Pick(maxLength + 1), ' ');
        for (char& c : text)
            c = static_cast<char>(' ' + Pick(95));
        return text;
    }

    std::string Decimal(double low, double high, int maxDecimals)
    {
        const double value = low + (high - low) * static_cast<double>(rng_() % 1000001) / 1e6;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(Pick(maxDecimals + 1)), value);
        return buffer;
    }

    std::string Integer(long low, long high)
    {
        return std::to_string(low + static_cast<long>(Pick(static_cast<std::size_t>(high - low + 1))));
    }

    // ---- modal windows ---------------------------------------------------------------------

    void Note(const std::string& text) { notes_ += "; " + text; }

    std::vector<std::string> ExistingFiles(const char* extension)
    {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
            if (entry.path().extension() == extension)
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    void Answer(QWidget* modal, int attempt)
    {
        ++modalsAnswered_;
        const std::string name = modal->objectName().toStdString();
        if (attempt > 4) {
            Note("gave up on " + name);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            if (buttons.isEmpty()) {
                ADD_FAILURE() << "a message box without buttons: " << box->text().toStdString();
                box->close();
                return;
            }
            if (box->windowTitle() == QStringLiteral("Confirmation"))
                ++confirmations_;
            QAbstractButton* button = buttons[static_cast<int>(Pick(buttons.size()))];
            Note("box \"" + box->text().left(60).toStdString() + "\" -> "
                 + button->text().toStdString());
            button->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            AnswerFileDialog(dialog);
        } else if (auto* properties = qobject_cast<TForm3*>(modal)) {
            AnswerProperties(properties);
        } else if (qobject_cast<TForm2*>(modal) != nullptr) {
            Note("About -> OK");
            modal->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        } else {
            ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className() << " '"
                          << name << "'";
            modal->close();
        }
    }

    void AnswerFileDialog(QFileDialog* dialog)
    {
        const std::string name = dialog->objectName().toStdString();
        std::vector<std::string> choices;
        if (name == "SaveDialog1") {
            choices = {folder_.File("p0"), folder_.File("p1.gps"), folder_.File("p2"),
                       folder_.File("sample.gps")};
        } else if (name == "OpenDialog1") {
            choices = ExistingFiles(".gps");
            choices.push_back(folder_.File("missing.gps"));
        } else if (name == "SaveDialog2") {
            choices = {folder_.File("g0.csv"), folder_.File("g1"), folder_.File("sample.csv")};
        } else if (name == "OpenDialog2") {
            choices = ExistingFiles(".csv");
            choices.push_back(folder_.File("sample.gps"));
        } else {
            ADD_FAILURE() << "unexpected file dialog '" << name << "'";
        }
        if (choices.empty() || Chance(15)) {
            Note(name + " -> cancel");
            dialog->reject();
            return;
        }
        // As a user does it: go to the folder and type the name.
        const std::filesystem::path target = choices[Pick(choices.size())];
        if (!testing::TypeIntoFileDialog(dialog, QString::fromStdString(target.string()))) {
            ADD_FAILURE() << "no file name box in " << name;
            dialog->reject();
            return;
        }
        const std::string chosen = dialog->selectedFiles().value(0).toStdString();
        Note(name + " -> " + std::filesystem::path(chosen).filename().string());
        // What the command writes next is the project as it stands now.
        if (name == "SaveDialog1")
            projectWrites_[chosen] = *Doc().CurrentProject();
        if (name == "SaveDialog2")
            gpsWrites_[chosen] = *Doc().CurrentProject();
        static_cast<QDialog*>(dialog)->accept();   // QFileDialog::accept checks the name
    }

    void TypeInto(QWidget* box, const std::string& text)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromStdString(text));
    }

    void AnswerProperties(TForm3* form)
    {
        const char* edits[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
        for (const char* edit : edits) {
            if (!Chance(30))
                continue;
            const std::string text = RandomAscii(Chance(10) ? 70 : 12);
            TypeInto(form->findChild<QLineEdit*>(QString::fromLatin1(edit)), text);
            Note(std::string(edit) + " := '" + text + "'");
        }
        if (Chance(25)) {
            auto* memo = form->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
            TypeInto(memo, std::string());
            const std::size_t lines = Pick(4);
            for (std::size_t line = 0; line < lines; ++line) {
                if (line > 0)
                    QTest::keyClick(memo, Qt::Key_Return);
                QTest::keyClicks(memo, QString::fromStdString(RandomAscii(10)));
            }
            Note("Memo1 := " + std::to_string(lines) + " lines");
        }
        const bool ok = Chance(70);
        Note(ok ? "properties -> OK" : "properties -> Cancel");
        form->findChild<QPushButton*>(ok ? QStringLiteral("Button1") : QStringLiteral("Button2"))->click();
    }

    // ---- one action and the checks after it ------------------------------------------------

    Observed Observe()
    {
        Observed o;
        o.HasProject = Doc().HasProject();
        o.Modified = o.HasProject && Doc().IsProjectModified();
        if (o.HasProject)
            o.Project = *Doc().CurrentProject();
        o.FileName = Doc().CurrentFileName;
        o.Clipboard = Doc().PointClipboard.has_value();
        o.ClipboardSize = o.Clipboard ? Doc().PointClipboard->Records.size() : 0;
        o.HistoryCount = Doc().History.Count();
        o.HistoryPosition = Doc().History.Position();
        o.DisplayMode = W().DisplayMode();
        o.SelectedRows = SelectedRows();
        return o;
    }

    std::vector<int> SelectedRows()
    {
        std::vector<int> rows;
        for (const QModelIndex& index : List()->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // Runs one user action, then checks everything the window must still agree on.
    void Act(const std::string& what, const std::function<void()>& perform,
             const std::function<void(const Observed&)>& verify = {})
    {
        ++index_;
        SCOPED_TRACE(::testing::Message() << "action " << index_ << ": " << what);
        const Observed before = Observe();
        notes_.clear();
        confirmations_ = 0;
        projectWrites_.clear();
        gpsWrites_.clear();
        const auto started = std::chrono::steady_clock::now();
        perform();
        if (trace_)
            std::cout << index_ << ": " << what << notes_ << " ("
                      << std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - started).count()
                      << " ms)" << std::endl;
        if (window_ && !window_->isVisible()) {
            // Exit closed the program: start it again on the same settings file.
            EXPECT_FALSE(Doc().HasProject()) << "the project outlived the closed window";
            window_.reset();
            OpenWindow();
            ++restarts_;
            Note("restarted");
        }
        log_.push_back(std::to_string(index_) + ": " + what + notes_);
        {
            SCOPED_TRACE(::testing::Message() << "answers: " << (notes_.empty() ? "none" : notes_));
            CheckWindow();
            CheckFiles(before);
            if (verify)
                verify(before);
        }
        if (::testing::Test::HasFailure()) {
            std::cout << "Replay with UZUVIV_RANDOM_SEED=" << seed_ << " UZUVIV_RANDOM_ACTIONS="
                      << index_ << "; the last actions:\n";
            for (std::size_t i = log_.size() > 40 ? log_.size() - 40 : 0; i < log_.size(); ++i)
                std::cout << "  " << log_[i] << "\n";
            std::cout << std::flush;
        }
    }

    void ExpectUnchanged(const Observed& before)
    {
        ASSERT_EQ(Doc().HasProject(), before.HasProject) << "the project came or went";
        if (before.HasProject) {
            EXPECT_FALSE(ProjectsDiffer(before.Project, *Doc().CurrentProject()))
                << "the project changed: " << FirstDifference(before.Project, *Doc().CurrentProject());
        }
        EXPECT_EQ(Doc().CurrentFileName, before.FileName);
        EXPECT_EQ(Doc().PointClipboard.has_value(), before.Clipboard);
        if (before.Clipboard && Doc().PointClipboard) {
            EXPECT_EQ(Doc().PointClipboard->Records.size(), before.ClipboardSize);
        }
        EXPECT_EQ(Doc().History.Count(), before.HistoryCount);
        EXPECT_EQ(Doc().History.Position(), before.HistoryPosition);
    }

    // The first selected point, as the panel must show it after a load.
    void ExpectPanelShowsSelectedPoint()
    {
        const std::vector<int> rows = SelectedRows();
        if (rows.empty() || !Doc().HasProject())
            return;
        const TGPSRecord& record = Doc().CurrentProject()->Records.at(static_cast<std::size_t>(rows[0]));
        EXPECT_TRUE(W().Panel()->Texts() == LoadPanel(record, W().DisplayMode()))
            << "the panel does not show point " << rows[0] + 1;
    }

    void CheckWindow()
    {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a modal window stayed open";
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a pop-up menu stayed open";
        EXPECT_FALSE(W().ProgressWindow()->isVisible()) << "the progress window stayed open";

        const Document& document = Doc();
        const std::size_t records = document.HasProject() ? document.CurrentProject()->Records.size() : 0;
        largestProject_ = std::max(largestProject_, records);
        QAbstractItemModel* model = List()->model();
        ASSERT_EQ(static_cast<std::size_t>(model->rowCount()), records) << "list rows and records differ";
        if (records > 0) {
            const std::size_t rows[] = {0, records - 1, static_cast<std::size_t>(checkRng_() % records)};
            for (const std::size_t row : rows)
                for (int column = 0; column < 7; ++column) {
                    const std::string shown =
                        model->index(static_cast<int>(row), column).data().toString().toStdString();
                    const std::string expected = ListCell(document.CurrentProject()->Records[row], row,
                                                          W().DisplayMode(), column);
                    ASSERT_EQ(shown, expected) << "cell " << row << ", " << column;
                }
        }

        const EditHistory& history = document.History;
        if (history.Exists()) {
            EXPECT_LT(history.Position(), history.Count());
        }
        EXPECT_EQ(history.Exists(), document.HasProject());
        if (document.HasProject()) {
            EXPECT_EQ(W().windowTitle().toStdString(), TitlePrefix + document.CurrentProject()->ProjectName);
        }

        const bool anySelected = List()->selectionModel()->hasSelection();
        const CommandStates s = ComputeCommandStates(CommandInputsOf(document, anySelected, W().DisplayMode()));
        const struct { const char* name; bool enabled; } actions[] = {
            {"New2", true}, {"Open1", true}, {"ImportGPSFile1", true}, {"Imprimer1", true},
            {"Exit1", true}, {"About1", true}, {"HomePage1", true}, {"SendEmailToSupport1", true},
            {"English1", true}, {"French1", true}, {"Property1", s.ProjectProperties}, {"Save1", s.Save},
            {"SaveAs1", s.SaveAs}, {"CreateGPSFile1", s.BuildGPSFile}, {"Undo1", s.Undo},
            {"Redo1", s.Redo}, {"New1", s.NewPoint},
            {"NewGPSFromGoogleMapsClipboard1", s.NewFromGoogleMaps}, {"Delete1", s.Delete},
            {"Delete2", s.Delete}, {"Cut1", s.Cut}, {"Cut2", s.Cut}, {"Copy1", s.Copy},
            {"Copy2", s.Copy}, {"Paste1", s.Paste}, {"Paste2", s.Paste},
            {"SelectAll1", s.SelectAll}, {"ShowInGoogleMap1", s.ShowInGoogleMaps}};
        for (const auto& a : actions)
            EXPECT_EQ(Action(a.name)->isEnabled(), a.enabled) << a.name;
        const struct { const char* name; bool enabled; } buttons[] = {
            {"SpeedButton8", true}, {"SpeedButton4", true}, {"SpeedButton3", s.Save},
            {"SpeedButton5", s.BuildGPSFile}, {"SpeedButton1", s.NewPoint},
            {"SpeedButton2", s.Delete}, {"SpeedButton6", s.Undo}, {"SpeedButton7", s.Redo}};
        for (const auto& b : buttons)
            EXPECT_EQ(Child<QToolButton>(b.name)->isEnabled(), b.enabled) << b.name;

        EditorPanel* panel = W().Panel();
        EXPECT_EQ(List()->isVisibleTo(window_.get()), s.ListAndPanelVisible);
        EXPECT_EQ(panel->isVisibleTo(window_.get()), s.ListAndPanelVisible);
        if (s.ListAndPanelVisible) {
            EXPECT_EQ(Child(("mxFlatSpeedButton1"))->isEnabled(), s.SetData) << "Set data";
            EXPECT_EQ(Child(("mxFlatSpeedButton2"))->isEnabled(), s.PanelNew) << "panel New";
            EXPECT_EQ(panel->Box(PanelBox::LatitudeDecimal)->isEnabled(), s.DecimalFields);
            EXPECT_EQ(panel->Box(PanelBox::LongitudeDegrees)->isEnabled(), !s.DecimalFields);
            EXPECT_EQ(panel->Box(PanelBox::LatitudeSeconds)->isVisibleTo(panel), !s.MinutesOnly);
            EXPECT_EQ(Child("Label19")->isVisibleTo(panel), s.MinutesOnly);
        }
        const int mode = W().DisplayMode();
        const int checked = mode >= 2 && mode <= 4 ? mode : 1;
        EXPECT_TRUE(Child<QRadioButton>(DisplayModeButtons[checked - 1])->isChecked());
    }

    // Every project or GPS file the action wrote must read back as what was written.
    void CheckFiles(const Observed& before)
    {
        const std::vector<std::string> changed = ScanFiles(true);
        NullProgress progress;
        for (const std::string& path : changed) {
            SCOPED_TRACE("file " + std::filesystem::path(path).filename().string());
            TProjectType loaded;
            if (std::filesystem::path(path).extension() == ".csv") {
                const auto written = gpsWrites_.find(path);
                if (written == gpsWrites_.end()) {
                    ADD_FAILURE() << "a GPS file was written without being chosen";
                    continue;
                }
                try {
                    ReadGPSFile(path, loaded, progress);
                } catch (const std::exception& e) {
                    ADD_FAILURE() << "the GPS file just built does not read back: " << e.what()
                                  << "\nthe file: " << ::testing::PrintToString(ReadBytes(path).substr(0, 400));
                    continue;
                }
                ExpectGpsFileHolds(written->second, loaded);
                ++gpsFilesChecked_;
                continue;
            }
            const TProjectType* expected = nullptr;
            if (const auto written = projectWrites_.find(path); written != projectWrites_.end())
                expected = &written->second;
            else if (before.HasProject && path == before.FileName)
                expected = &before.Project;   // Save to the current file, no dialog
            if (expected == nullptr) {
                ADD_FAILURE() << "a project file was written without being chosen";
                continue;
            }
            try {
                const ProjectFileLoad load = LoadProjectFile(path, loaded, progress);
                EXPECT_EQ(load.Version, ProjectFileVersion::Accepted);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "the file just saved does not open: " << e.what();
                continue;
            }
            const TProjectType rounded = AsWrittenToFile(*expected);
            EXPECT_FALSE(ProjectsDiffer(rounded, loaded))
                << "saved file differs: " << FirstDifference(rounded, loaded);
            ++projectFilesChecked_;
        }
        // A document that counts as saved to a file must be what that file holds.
        const Document& document = Doc();
        const bool refreshed = document.CurrentFileName != before.FileName
                               || std::find(changed.begin(), changed.end(), document.CurrentFileName)
                                      != changed.end();
        if (refreshed && document.HasProject() && !document.CurrentFileName.empty()
            && std::filesystem::exists(document.CurrentFileName)) {
            TProjectType loaded;
            try {
                LoadProjectFile(document.CurrentFileName, loaded, progress);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "the document's file does not open: " << e.what();
                return;
            }
            const TProjectType saved = AsWrittenToFile(*document.SavedProject());
            EXPECT_FALSE(ProjectsDiffer(saved, loaded))
                << "the saved state is not the file's content: " << FirstDifference(saved, loaded);
        }
    }

    void ExpectGpsFileHolds(const TProjectType& written, const TProjectType& loaded)
    {
        ASSERT_EQ(loaded.Records.size(), written.Records.size()) << "GPS file record count";
        for (std::size_t i = 0; i < written.Records.size(); ++i) {
            const TGPSRecord& a = written.Records[i];
            const TGPSRecord& b = loaded.Records[i];
            SCOPED_TRACE(::testing::Message() << "GPS file record " << i);
            // Six decimals, rounded half away from zero.
            EXPECT_LE(std::fabs(static_cast<double>(a.Latitude - b.Latitude)), 5.000001e-7);
            EXPECT_LE(std::fabs(static_cast<double>(a.Longitude - b.Longitude)), 5.000001e-7);
            EXPECT_EQ(a.Tolerance, b.Tolerance);
            EXPECT_EQ(a.Mode, b.Mode);
            EXPECT_EQ(a.FileRef, b.FileRef);
            // The comment is the last field: a ";" in it ends it on reading.
            EXPECT_EQ(a.Comments.substr(0, a.Comments.find(';')), b.Comments);
        }
    }

    // The .gps and .csv files whose bytes changed since the last scan.
    std::vector<std::string> ScanFiles(bool report)
    {
        std::vector<std::string> changed;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
            const auto extension = entry.path().extension();
            if (extension != ".gps" && extension != ".csv")
                continue;
            const std::string path = entry.path().string();
            std::string bytes = ReadBytes(path);
            auto& known = fileBytes_[path];
            if (bytes != known) {
                known = std::move(bytes);
                if (report)
                    changed.push_back(path);
            }
        }
        return changed;
    }

    // ---- the actions -----------------------------------------------------------------------

    void RandomAction()
    {
        // Weights: list and panel work dominate, as in real use; file commands stay frequent
        // enough for many save/open round trips.
        static const struct { int weight; bool (RandomEditingRun::*run)(); } kinds[] = {
            {12, &RandomEditingRun::MenuCommand},    {8, &RandomEditingRun::ToolbarButton},
            {3, &RandomEditingRun::ShortcutKey},     {16, &RandomEditingRun::ListClick},
            {4, &RandomEditingRun::DoubleClick},     {6, &RandomEditingRun::RightClick},
            {15, &RandomEditingRun::TypeInBox},      {3, &RandomEditingRun::PointModeRadio},
            {8, &RandomEditingRun::SetData},         {4, &RandomEditingRun::PanelNew},
            {3, &RandomEditingRun::DisplayModeSwitch}, {2, &RandomEditingRun::LanguageSwitch},
            {4, &RandomEditingRun::UndoRedoRun},     {3, &RandomEditingRun::MapsClipboard},
            {4, &RandomEditingRun::FileCommand},     {1, &RandomEditingRun::Exit},
            {2, &RandomEditingRun::GrowByPaste}};
        int sum = 0;
        for (const auto& kind : kinds)
            sum += kind.weight;
        // A user acts on what is on screen: the views finish their delayed layout (the scroll
        // range after a model reset) before the next click is aimed.
        QCoreApplication::processEvents();
        for (;;) {
            int draw = static_cast<int>(Pick(static_cast<std::size_t>(sum)));
            for (const auto& kind : kinds) {
                if (draw < kind.weight) {
                    if ((this->*kind.run)())
                        return;
                    break;
                }
                draw -= kind.weight;
            }
        }
    }

    bool ListShown() { return Doc().HasProject() && List()->isVisible(); }

    void VerifyTrigger(const char* name, bool enabled, const Observed& before,
                       std::optional<int> mapRow = std::nullopt, std::size_t urlsBefore = 0)
    {
        if (!enabled) {
            ExpectUnchanged(before);
            return;
        }
        const std::string command = name;
        // Leaving the document asks about unsaved changes, and only then.
        if (command == "New2" || command == "SpeedButton8" || command == "Open1"
            || command == "SpeedButton4" || command == "ImportGPSFile1" || command == "Exit1"
            || command.rfind("RecentFile", 0) == 0) {
            EXPECT_EQ(confirmations_, before.Modified ? 1 : 0) << "save prompts on leaving the document";
        }
        std::optional<std::string> url;
        if (command == "HomePage1")
            url = HomePageUrl();
        else if (command == "SendEmailToSupport1")
            url = SupportMailLink();
        else if (command == "ShowInGoogleMap1" && before.HasProject && mapRow && *mapRow >= 0)
            url = GoogleMapsUrl(before.Project.Records.at(static_cast<std::size_t>(*mapRow)), LanguageIndex);
        else if (command == "ShowInGoogleMap1" && mapRow) {
            EXPECT_EQ(urls_.Opened.size(), urlsBefore) << "a URL for the empty space of the list";
        }
        if (url) {
            ASSERT_EQ(urls_.Opened.size(), urlsBefore + 1) << command << " opened nothing";
            EXPECT_EQ(urls_.Opened.back().toString().toStdString(),
                      QUrl(QString::fromStdString(*url), QUrl::TolerantMode).toString().toStdString());
        }
    }

    bool MenuCommand() { return TriggerMenu(OneOf(MenuCommands)); }

    // Select All, Copy and a few Pastes: the quick way to large projects and the point limit.
    bool GrowByPaste()
    {
        if (!ListShown())
            return false;
        const char* steps[] = {"SelectAll1", "Copy1", "Paste1", "Paste1", "Paste1"};
        const std::size_t count = 3 + Pick(3);
        for (std::size_t step = 0; step < count && index_ < total_ && !::testing::Test::HasFailure(); ++step)
            TriggerMenu(steps[step]);
        return true;
    }

    bool TriggerMenu(const char* name)
    {
        QAction* action = Action(name);
        // A hidden recent-file slot is out of the user's reach. A hidden action reports itself
        // disabled yet still triggers: the three languages without menu items work that way.
        if (!action->isVisible() && std::string(name).rfind("RecentFile", 0) == 0)
            return false;
        const bool enabled = action->isEnabled() || !action->isVisible();
        const int mapRow = List()->rowAt(W().ListMouse().y());
        const std::size_t urls = urls_.Opened.size();
        Act(std::string("menu ") + name + (enabled ? "" : " (disabled)"), [action]() { action->trigger(); },
            [=, this](const Observed& before) { VerifyTrigger(name, enabled, before, mapRow, urls); });
        return true;
    }

    bool ToolbarButton()
    {
        const char* name = OneOf(ToolButtons);
        auto* button = Child<QToolButton>(name);
        const bool enabled = button->isEnabled();
        Act(std::string("toolbar ") + name + (enabled ? "" : " (disabled)"),
            [button]() { QTest::mouseClick(button, Qt::LeftButton); },
            [=, this](const Observed& before) { VerifyTrigger(name, enabled, before); });
        return true;
    }

    bool ShortcutKey()
    {
        static const struct { const char* text; Qt::Key key; Qt::KeyboardModifiers modifiers; } keys[] = {
            {"Ctrl+N", Qt::Key_N, Qt::ControlModifier}, {"Ctrl+P", Qt::Key_P, Qt::ControlModifier},
            {"Ctrl+O", Qt::Key_O, Qt::ControlModifier}, {"Ctrl+S", Qt::Key_S, Qt::ControlModifier},
            {"F9", Qt::Key_F9, Qt::NoModifier},          {"F12", Qt::Key_F12, Qt::NoModifier},
            {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier},
            {"Ctrl+Alt+Z", Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier},
            {"Ctrl+Alt+N", Qt::Key_N, Qt::ControlModifier | Qt::AltModifier},
            {"Ctrl+Alt+G", Qt::Key_G, Qt::ControlModifier | Qt::AltModifier},
            {"Del", Qt::Key_Delete, Qt::NoModifier},     {"Ctrl+X", Qt::Key_X, Qt::ControlModifier},
            {"Ctrl+C", Qt::Key_C, Qt::ControlModifier}, {"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
            {"Ctrl+A", Qt::Key_A, Qt::ControlModifier}, {"F1", Qt::Key_F1, Qt::NoModifier}};
        const auto& key = OneOf(keys);
        EnsureActive();
        QWidget* target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window_.get();
        Act(std::string("key ") + key.text + " in " + target->objectName().toStdString(),
            [&key, target]() { QTest::keyClick(target, key.key, key.modifiers); });
        return true;
    }

    // A point inside the list: on a cell of a random row, or on the empty space below the rows.
    std::optional<QPoint> ListPosition(bool allowEmptySpace)
    {
        const int rows = List()->model()->rowCount();
        if (rows == 0 || (allowEmptySpace && Chance(10))) {
            const int below = rows == 0 ? 2 : List()->rowViewportPosition(rows - 1) + List()->rowHeight(rows - 1) + 2;
            if (below < List()->viewport()->height() - 2)
                return QPoint(5 + static_cast<int>(Pick(200)), below + static_cast<int>(Pick(
                    static_cast<std::size_t>(List()->viewport()->height() - 2 - below))));
            if (rows == 0)
                return std::nullopt;
        }
        const QModelIndex index = List()->model()->index(static_cast<int>(Pick(rows)), static_cast<int>(Pick(7)));
        List()->scrollTo(index);
        return List()->visualRect(index).center();
    }

    bool ListClick()
    {
        if (!ListShown())
            return false;
        const auto position = ListPosition(true);
        if (!position)
            return false;
        const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::NoModifier, Qt::ControlModifier,
                                                   Qt::ShiftModifier};
        const Qt::KeyboardModifiers modifier = OneOf(modifiers);
        const QPoint at = *position;
        std::ostringstream what;
        what << "click list row " << List()->rowAt(at.y()) << " column " << List()->columnAt(at.x())
             << (modifier == Qt::ControlModifier ? " with Ctrl" : modifier == Qt::ShiftModifier ? " with Shift" : "");
        Act(what.str(), [this, at, modifier]() { QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifier, at); },
            [this, at](const Observed& before) {
                EXPECT_EQ(W().ListMouse(), at);
                if (SelectedRows() != before.SelectedRows)
                    ExpectPanelShowsSelectedPoint();
            });
        return true;
    }

    bool DoubleClick()
    {
        if (!ListShown())
            return false;
        const auto position = ListPosition(true);
        if (!position)
            return false;
        const QPoint at = *position;
        const int row = List()->rowAt(at.y());
        Act("double-click list row " + std::to_string(row) + " column " + std::to_string(List()->columnAt(at.x())),
            [this, at]() {
                QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseRelease(List()->viewport(), Qt::LeftButton, {}, at);
            },
            [this, row, at](const Observed&) {
                // Any row hit turns the Set data border red; empty space clears the highlight.
                EXPECT_EQ(W().Panel()->SetDataBorderColor() == QColor(255, 0, 0), row >= 0)
                    << "at " << at.x() << "," << at.y() << " row now " << List()->rowAt(at.y())
                    << " rows " << List()->model()->rowCount() << " viewport height "
                    << List()->viewport()->height() << " scroll " << List()->verticalScrollBar()->value()
                    << " list mouse " << W().ListMouse().x() << "," << W().ListMouse().y();
            });
        return true;
    }

    bool RightClick()
    {
        if (!ListShown())
            return false;
        const auto position = ListPosition(true);
        if (!position)
            return false;
        const QPoint at = *position;
        QMenu* popup = Child<QMenu>("PopupMenu1");
        std::vector<QAction*> items;
        for (QAction* item : popup->actions())
            if (!item->isSeparator())
                items.push_back(item);
        QAction* chosen = Chance(15) ? nullptr : items[Pick(items.size())];
        const std::string name = chosen ? chosen->objectName().toStdString() : "nothing";
        const int row = List()->rowAt(at.y());
        const std::size_t urls = urls_.Opened.size();
        auto enabled = std::make_shared<bool>(false);
        Act("right-click list row " + std::to_string(row) + ", pop-up " + name,
            [this, at, popup, chosen, enabled]() {
                QTest::mousePress(List()->viewport(), Qt::RightButton, {}, at);
                EXPECT_TRUE(popup->isVisible()) << "no pop-up menu";
                if (chosen != nullptr && popup->isVisible()) {
                    *enabled = chosen->isEnabled();
                    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(chosen).center());
                }
                if (popup->isVisible())
                    popup->close();
                QTest::mouseRelease(List()->viewport(), Qt::RightButton, {}, at);
            },
            [=, this](const Observed& before) {
                EXPECT_EQ(W().ListMouse(), at);
                if (chosen != nullptr && !*enabled) {
                    // The press may select the row; nothing else changes.
                    ExpectUnchanged(before);
                } else if (chosen != nullptr) {
                    VerifyTrigger(chosen->objectName().toLatin1().constData(), true, before, row, urls);
                }
            });
        return true;
    }

    std::string BoxText(PanelBox box)
    {
        const int mode = W().DisplayMode();
        switch (Pick(6)) {
        case 0: {   // out of range
            const char* texts[] = {"91", "-90.0001", "181", "-180.5", "61", "60.01", "1001", "-1",
                                   "0", "1000", "99999", "-91"};
            return OneOf(texts);
        }
        case 1: {   // garbage
            const char* texts[] = {"abc", "--5", "1e5", "1,5", ".", "+", "12.5.6", " ", "n", "s45",
                                   "0x1f", "1 2", "-", "E", "w3", "@#!", "4.5E-5", "++1", "5-"};
            return OneOf(texts);
        }
        case 2:
            return std::string();
        default:
            break;
        }
        switch (box) {
        case PanelBox::LatitudeDecimal: return Decimal(-90, 90, 9);
        case PanelBox::LongitudeDecimal: return Decimal(-180, 180, 9);
        case PanelBox::LatitudeDegrees: return Integer(-90, 90);
        case PanelBox::LongitudeDegrees: return Integer(-180, 180);
        case PanelBox::LatitudeMinutes:
        case PanelBox::LongitudeMinutes: return mode == 2 ? Decimal(0, 60, 4) : Integer(0, 60);
        case PanelBox::LatitudeSeconds:
        case PanelBox::LongitudeSeconds: return mode == 4 ? Integer(0, 60) : Decimal(0, 60, 4);
        case PanelBox::LatitudeHemisphere: return Chance(50) ? "N" : "s";
        case PanelBox::LongitudeHemisphere: return Chance(50) ? "e" : "W";
        case PanelBox::Tolerance: return Integer(0, 1000);
        case PanelBox::FileRef: return Integer(1, 999);
        case PanelBox::Comments: return Chance(3) ? RandomAscii(520) : RandomAscii(30);
        }
        return std::string();
    }

    bool TypeInBox()
    {
        if (!ListShown())
            return false;
        EditorPanel* panel = W().Panel();
        std::vector<PanelBox> boxes;
        for (int b = 0; b < PanelBoxCount; ++b) {
            const PanelBox box = static_cast<PanelBox>(b);
            if (panel->Box(box)->isEnabled() && panel->Box(box)->isVisibleTo(panel))
                boxes.push_back(box);
        }
        const PanelBox box = boxes[Pick(boxes.size())];
        FieldEdit* edit = panel->Box(box);
        const std::string text = BoxText(box);
        const int how = static_cast<int>(Pick(4));   // replace, append, insert in front, clear
        const char* hows[] = {"replace", "append", "insert", "clear"};
        const int lengthBefore = static_cast<int>(edit->text().size());
        Act(std::string("type ") + hows[how] + " '" + text.substr(0, 40) + "' in " + PanelBoxName(box),
            [edit, text, how]() {
                QTest::mouseClick(edit, Qt::LeftButton);
                if (how == 0 || how == 3) {
                    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                    QTest::keyClick(edit, Qt::Key_Backspace);
                } else {
                    QTest::keyClick(edit, how == 1 ? Qt::Key_End : Qt::Key_Home);
                }
                if (how != 3)
                    QTest::keyClicks(edit, QString::fromStdString(text));
            },
            [this, edit, box, how, lengthBefore](const Observed& before) {
                const QString now = edit->text();
                if (edit->UpperCase()) {
                    EXPECT_EQ(now, now.toUpper()) << "lower case in " << PanelBoxName(box);
                }
                const int limit = edit->TypedMaxLength();
                if (limit > 0 && how != 3) {
                    EXPECT_LE(now.size(), std::max(limit, lengthBefore)) << "typed past the limit";
                }
                if (how == 3) {
                    EXPECT_TRUE(now.isEmpty());
                }
                ExpectUnchanged(before);
            });
        return true;
    }

    bool PointModeRadio()
    {
        if (!ListShown())
            return false;
        auto* radio = Child<QRadioButton>(OneOf(PointModeButtons));
        Act(std::string("click ") + radio->objectName().toStdString(), [radio]() { radio->click(); },
            [this](const Observed& before) { ExpectUnchanged(before); });
        return true;
    }

    bool SetData()
    {
        if (!ListShown())
            return false;
        auto* button = Child<QPushButton>("mxFlatSpeedButton1");
        const bool enabled = button->isEnabled();
        Act(std::string("Set data") + (enabled ? "" : " (disabled)"),
            [button]() { QTest::mouseClick(button, Qt::LeftButton); },
            [this, enabled](const Observed& before) {
                if (!enabled)
                    return ExpectUnchanged(before);
                // One snapshot on every run, and the panel shows what was stored.
                EXPECT_EQ(Doc().History.Position(), before.HistoryPosition + 1);
                EXPECT_EQ(Doc().History.Count(), before.HistoryPosition + 2);
                EXPECT_EQ(Doc().CurrentProject()->Records.size(), before.Project.Records.size());
                ExpectPanelShowsSelectedPoint();
            });
        return true;
    }

    bool PanelNew()
    {
        if (!ListShown())
            return false;
        auto* button = Child<QPushButton>("mxFlatSpeedButton2");
        const bool enabled = button->isEnabled();
        Act(std::string("panel New") + (enabled ? "" : " (disabled)"),
            [button]() { QTest::mouseClick(button, Qt::LeftButton); },
            [this, enabled](const Observed& before) {
                if (!enabled)
                    return ExpectUnchanged(before);
                EXPECT_EQ(Doc().CurrentProject()->Records.size(), before.Project.Records.size() + 1);
                EXPECT_EQ(Doc().History.Position(), before.HistoryPosition + 2);
                EXPECT_EQ(SelectedRows(), std::vector<int>{static_cast<int>(before.Project.Records.size())});
                ExpectPanelShowsSelectedPoint();
            });
        return true;
    }

    bool DisplayModeSwitch()
    {
        const int mode = static_cast<int>(Pick(4)) + 1;
        auto* radio = Child<QRadioButton>(DisplayModeButtons[mode - 1]);
        Act("display mode " + radio->text().toStdString(), [radio]() { radio->click(); },
            [this, mode](const Observed& before) {
                EXPECT_EQ(W().DisplayMode(), mode);
                ExpectUnchanged(before);
                if (mode != before.DisplayMode)
                    ExpectPanelShowsSelectedPoint();
            });
        return true;
    }

    bool LanguageSwitch()
    {
        // English and French are in the menu; the other three are reachable by trigger only.
        const struct { const char* name; int language; } languages[] = {
            {"English1", 2}, {"French1", 1}, {"English1", 2}, {"French1", 1},
            {"Espaol1", 3}, {"Deutsch1", 4}, {"Italian1", 5}};
        const auto& language = OneOf(languages);
        QAction* action = Action(language.name);
        Act(std::string("language ") + language.name, [action]() { action->trigger(); },
            [this, language, action](const Observed& before) {
                EXPECT_EQ(LanguageIndex, language.language);
                EXPECT_TRUE(action->isChecked());
                EXPECT_EQ(List()->model()->headerData(1, Qt::Horizontal).toString().toStdString(),
                          LanguageText(TextTable::ListTexts, 2));
                ExpectUnchanged(before);
            });
        return true;
    }

    bool UndoRedoRun()
    {
        const bool undo = Chance(60);
        const std::size_t steps = 1 + Pick(8);
        const int means = static_cast<int>(Pick(3));   // menu, toolbar, shortcut in the list
        for (std::size_t step = 0; step < steps && index_ < total_; ++step) {
            QAction* action = Action(undo ? "Undo1" : "Redo1");
            const bool enabled = action->isEnabled();
            Act(std::string(undo ? "undo" : "redo") + " by " + (means == 0 ? "menu" : means == 1 ? "toolbar" : "key")
                    + (enabled ? "" : " (disabled)"),
                [this, action, undo, means]() {
                    if (means == 0) {
                        action->trigger();
                    } else if (means == 1) {
                        QTest::mouseClick(Child<QToolButton>(undo ? "SpeedButton6" : "SpeedButton7"), Qt::LeftButton);
                    } else {
                        EnsureActive();
                        List()->setFocus();
                        QTest::keyClick(List(), Qt::Key_Z, undo ? Qt::ControlModifier
                                                                : Qt::ControlModifier | Qt::AltModifier);
                    }
                },
                [this, enabled, undo](const Observed& before) {
                    if (!enabled)
                        return ExpectUnchanged(before);
                    EXPECT_EQ(Doc().History.Position(), undo ? before.HistoryPosition - 1 : before.HistoryPosition + 1);
                    EXPECT_EQ(Doc().History.Count(), before.HistoryCount);
                    EXPECT_TRUE(SelectedRows().empty()) << "the rebuilt list keeps a selection";
                });
            if (::testing::Test::HasFailure())
                break;
        }
        return true;
    }

    bool MapsClipboard()
    {
        std::string text;
        bool wellFormed = false;
        bool clear = false;
        std::string label = "...", latitude, longitude;
        switch (Pick(9)) {
        case 0: case 1: case 2: case 3:
            latitude = Decimal(-90, 90, 7);
            longitude = Decimal(-180, 180, 7);
            if (Chance(50)) {
                label.clear();
                for (char c : RandomAscii(15))
                    if (c != '@')
                        label += c;
                text = label + "@";
            }
            text += latitude + (Chance(50) ? ", " : ",") + longitude;
            wellFormed = true;
            break;
        case 4: text = Chance(50) ? "S33.86,E151.21" : "95.5,200"; break;
        case 5: text = Chance(50) ? "N45.5 W0.25" : "45.76,4.83,15z"; break;
        case 6: text = Chance(50) ? "45.5S,0.25" : "abc,def"; break;
        case 7: text = Chance(50) ? "" : "@"; break;
        default: clear = true; break;
        }
        QAction* action = Action("NewGPSFromGoogleMapsClipboard1");
        const bool enabled = action->isEnabled();
        const bool byKey = Chance(30);
        Act("New from Google Maps with " + (clear ? std::string("no text") : "'" + text + "'")
                + (byKey ? " by key" : "") + (enabled ? "" : " (disabled)"),
            [this, text, clear, action, byKey]() {
                if (clear)
                    QGuiApplication::clipboard()->clear();
                else
                    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
                if (byKey) {
                    EnsureActive();
                    List()->setFocus();
                    QTest::keyClick(List(), Qt::Key_G, Qt::ControlModifier | Qt::AltModifier);
                } else {
                    action->trigger();
                }
            },
            [=, this](const Observed& before) {
                if (!enabled)
                    return ExpectUnchanged(before);
                if (!wellFormed)
                    return;
                const auto& records = Doc().CurrentProject()->Records;
                ASSERT_EQ(records.size(), before.Project.Records.size() + 1);
                EXPECT_EQ(records.back().Latitude, ParseDecimal(latitude));
                EXPECT_EQ(records.back().Longitude, ParseDecimal(longitude));
                EXPECT_EQ(records.back().Comments, label);
            });
        return true;
    }

    bool FileCommand()
    {
        const char* commands[] = {"Open1", "Open1", "Save1", "SaveAs1", "SaveAs1", "New2",
                                  "ImportGPSFile1", "CreateGPSFile1", "RecentFile1", "RecentFile2"};
        const char* name = OneOf(commands);
        QAction* action = Action(name);
        if (!action->isVisible())
            return false;
        const bool enabled = action->isEnabled();
        Act(std::string("file command ") + name + (enabled ? "" : " (disabled)"), [action]() { action->trigger(); },
            [=, this](const Observed& before) { VerifyTrigger(name, enabled, before); });
        return true;
    }

    bool Exit()
    {
        QAction* action = Action("Exit1");
        Act("Exit", [action]() { action->trigger(); },
            [this](const Observed& before) { VerifyTrigger("Exit1", true, before); });
        return true;
    }

    TempFolder folder_;
    std::uint64_t seed_;
    long total_;
    long index_ = 0;
    std::mt19937_64 rng_;
    std::mt19937_64 checkRng_;
    bool trace_ = false;
    UrlSink urls_;
    ModalAnswerer answerer_;
    std::unique_ptr<TForm1> window_;

    std::string notes_;
    std::vector<std::string> log_;
    std::map<std::string, TProjectType> projectWrites_;
    std::map<std::string, TProjectType> gpsWrites_;
    std::map<std::string, std::string> fileBytes_;
    std::size_t largestProject_ = 0;
    int confirmations_ = 0;
    int projectFilesChecked_ = 0, gpsFilesChecked_ = 0, modalsAnswered_ = 0, restarts_ = 0;
};

std::uint64_t SeedFromEnvironment()
{
    const QByteArray text = qgetenv("UZUVIV_RANDOM_SEED");
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok);
    return ok ? seed : 20240501;
}

long ActionsFromEnvironment()
{
    bool ok = false;
    const long actions = qEnvironmentVariableIntValue("UZUVIV_RANDOM_ACTIONS", &ok);
    return ok && actions > 0 ? actions : 10000;
}

TEST(RandomEditingRunTest, EveryActionKeepsListHistoryCommandsAndSavedFilesConsistent)
{
    const std::uint64_t seed = SeedFromEnvironment();
    const long actions = ActionsFromEnvironment();
    std::cout << "[ random run ] UZUVIV_RANDOM_SEED=" << seed << " UZUVIV_RANDOM_ACTIONS=" << actions
              << std::endl;
    SCOPED_TRACE(::testing::Message() << "UZUVIV_RANDOM_SEED=" << seed);

    const bool quitOnLastWindowClosed = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    const std::uint8_t language = LanguageIndex;
    {
        RandomEditingRun run(seed, actions);
        for (const char* scheme : {"https", "http", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &run.Urls(), "setSource");
        run.Run();
        for (const char* scheme : {"https", "http", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QApplication::setQuitOnLastWindowClosed(quitOnLastWindowClosed);
    LanguageIndex = language;
}

} // namespace
} // namespace uzuviv
