#include "editing/DocumentCommands.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "files/Exchange.h"
#include "files/GpxFile.h"
#include "files/KmlFile.h"
#include "text/text.h"

namespace uzuviv {

namespace {

bool IsExistingFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// `extension` (".csv", lower case) in any case.
bool HasExtension(const std::string& path, std::string_view extension)
{
    const std::string actual = std::filesystem::path(path).extension().string();
    return std::equal(actual.begin(), actual.end(), extension.begin(), extension.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

} // namespace

std::string ExportName(const std::string& fileName, const std::string& projectName, const std::string& extension)
{
    if (!fileName.empty())
        return std::filesystem::path(fileName).replace_extension(extension).string();
    if (projectName.empty())
        return {};
    std::string name = projectName;
    std::replace(name.begin(), name.end(), '/', '_');
    return name + extension;
}

void DocumentCommands::SetTitleFromProject()
{
    const TProjectType* project = document_.CurrentProject();
    view_.SetTitle(TitlePrefix + (project ? project->ProjectName : std::string()));
}

bool DocumentCommands::AskSaveChanges()
{
    if (!document_.IsProjectModified())
        return true;
    if (view_.ShowMessage(MessageKind::Confirmation, LanguageText(TextTable::MessageTexts, 1))
        != MessageAnswer::Yes)
        return true;
    return Save1Click();
}

void DocumentCommands::New2Click()
{
    if (AskSaveChanges()) {
        ProjectProperties values;
        values.ProjectName = LanguageText(TextTable::ProjectNameTexts, 1);
        values.ProjectComments = {"..."};
        if (view_.EditProperties(values)) {
            view_.PointListAboutToBeRebuilt();
            document_.ResetProject();
            ApplyHeader(values, *document_.CurrentProject());
            SetTitleFromProject();
            document_.History.Reset();
            document_.History.Start(document_.CurrentProject());
            view_.RebuildPointList();
        }
    }
    view_.RefreshCommands();
}

void DocumentCommands::Property1Click()
{
    TProjectType* project = document_.CurrentProject();
    if (project == nullptr)
        return;
    ProjectProperties values = HeaderOf(*project);
    if (!view_.EditProperties(values) || values == HeaderOf(*project))
        return;
    ApplyHeader(values, *project);
    SetTitleFromProject();
    // An undo step of its own: otherwise Undo would bring back the older properties and Redo
    // could never bring the new ones back.
    document_.RecordUndoSnapshot();
    view_.RefreshCommands();
}

void DocumentCommands::Open1Click()
{
    if (AskSaveChanges()) {
        if (auto path = view_.ChooseFile(FileDialog::OpenProject, std::string()))
            OpenChosenProject(*path);
    }
    view_.RefreshCommands();
}

void DocumentCommands::OpenChosenProject(const std::string& path)
{
    if (OpenFile(path)) {
        Recent.Add(document_.CurrentFileName);
        view_.RecentFilesChanged();
    }
}

bool DocumentCommands::OpenFile(const std::string& path)
{
    view_.PointListAboutToBeRebuilt();
    document_.ResetProject();
    view_.RebuildPointList();
    document_.CurrentFileName = path;
    const bool read = OpenProject(path);
    view_.RefreshCommands();
    return read;
}

bool DocumentCommands::OpenProject(const std::string& path)
{
    ProjectFileLoad load;
    view_.PointListAboutToBeRebuilt();
    try {
        load = LoadProjectFile(path, *document_.CurrentProject(), view_.Progress());
    } catch (...) {
        // Nothing half-read stays: the empty default project, without a file name.
        document_.ResetProject();
        SetTitleFromProject();
        view_.RebuildPointList();
        view_.RefreshCommands();
        throw;
    }
    view_.RebuildPointList();
    switch (load.Version) {
    case ProjectFileVersion::TooNew:
        view_.ShowMessage(MessageKind::Warning, LanguageText(TextTable::ProgressTexts, 2)
                                                    + load.VersionText
                                                    + LanguageText(TextTable::ProgressTexts, 3));
        document_.CurrentFileName.clear();
        SetTitleFromProject();
        return false;
    case ProjectFileVersion::Unknown:
        view_.ShowMessage(MessageKind::Warning, LanguageText(TextTable::ProgressTexts, 4));
        document_.CurrentFileName.clear();
        SetTitleFromProject();
        return false;
    case ProjectFileVersion::Accepted:
        break;
    }
    SetTitleFromProject();
    document_.MarkSaved();
    return true;
}

bool DocumentCommands::Save1Click()
{
    if (!document_.HasProject())
        return false;
    if (!IsExistingFile(document_.CurrentFileName))
        return SaveAs1Click();
    SaveTo(document_.CurrentFileName);
    return true;
}

bool DocumentCommands::SaveAs1Click()
{
    if (!document_.HasProject())
        return false;
    const auto path = view_.ChooseFile(FileDialog::SaveProject, std::string());
    if (!path)
        return false;
    SaveTo(*path);
    return true;
}

void DocumentCommands::SaveTo(const std::string& path)
{
    // A failed write throws before anything below runs: the project keeps counting as
    // modified and keeps its file name.
    SaveProjectFile(path, *document_.CurrentProject(), view_.Progress());
    document_.CurrentFileName = path;
    document_.MarkSaved();
    // The history was just restarted, so Undo and Redo must not stay enabled.
    view_.RefreshCommands();
}

void DocumentCommands::CreateGPSFile1Click()
{
    if (!document_.HasProject())
        return;
    // "gps.csv" every time, not the name chosen last.
    if (const auto path = view_.ChooseFile(FileDialog::SaveGPSFile, "gps.csv"))
        WriteGPSFile(*path, *document_.CurrentProject(), view_.Progress());
}

void DocumentCommands::ImportGPSFile1Click()
{
    Import(FileDialog::OpenGPSFile, ReadGPSFile);
}

void DocumentCommands::ImportChosenGPSFile(const std::string& path)
{
    ImportChosenFile(path, ReadGPSFile);
}

void DocumentCommands::ImportGpxFile1Click()
{
    Import(FileDialog::OpenGpxFile, ReadGpxFile);
}

void DocumentCommands::Import(FileDialog dialog, ProjectReader read)
{
    if (AskSaveChanges()) {
        if (const auto path = view_.ChooseFile(dialog, std::string()))
            ImportChosenFile(*path, read);
    }
    view_.RefreshCommands();
}

void DocumentCommands::ImportChosenGpxFile(const std::string& path)
{
    ImportChosenFile(path, ReadGpxFile);
}

void DocumentCommands::ImportChosenFile(const std::string& path, ProjectReader read)
{
    // The file's own properties, where it has them, replace the defaults.
    TProjectType imported;
    imported.ProjectName = LanguageText(TextTable::ProjectNameTexts, 2);
    read(path, imported, view_.Progress());
    // The saved state stays the empty default project: an import counts as modified.
    view_.PointListAboutToBeRebuilt();
    document_.ResetProject();
    *document_.CurrentProject() = std::move(imported);
    SetTitleFromProject();
    view_.RebuildPointList();
    document_.History.Reset();
    document_.History.Start(document_.CurrentProject());
}

void DocumentCommands::ExportGpxFile1Click()
{
    Export(FileDialog::SaveGpxFile, ".gpx", true, WriteGpxFile);
}

void DocumentCommands::ExportKmlFile1Click()
{
    Export(FileDialog::SaveKmlFile, ".kml", false, WriteKmlFile);
}

void DocumentCommands::Export(FileDialog dialog, const std::string& extension, bool allProperties,
                              ProjectWriter write)
{
    const TProjectType* project = document_.CurrentProject();
    if (project == nullptr)
        return;
    // Told at once, rather than after choosing a file that is then not written.
    try {
        CheckExportable(*project, allProperties);
    } catch (const ExportRefusal& refusal) {
        view_.ShowMessage(MessageKind::Warning, refusal.what());
        return;
    }
    if (const auto path = view_.ChooseFile(dialog, ExportName(document_.CurrentFileName, project->ProjectName, extension)))
        write(*path, *project, view_.Progress());
}

void DocumentCommands::RecentFileClick(std::size_t position)
{
    if (position >= 1 && position <= Recent.Entries().size() && AskSaveChanges()) {
        const std::string path = Recent.Entries()[position - 1];
        if (OpenFile(path)) {
            Recent.Add(path);
            view_.RecentFilesChanged();
        }
    }
    view_.RefreshCommands();
}

void DocumentCommands::LoadSettings(const std::string& path, Settings& state)
{
    const Settings startup = state;
    const auto take = [this, &state]() {
        document_.CurrentFileName = state.LastProject;
        for (const std::string& recent : state.RecentFiles)
            Recent.Add(recent);
        state.RecentFiles = Recent.Entries();
        view_.RecentFilesChanged();
    };
    SettingsFileStatus status = SettingsFileStatus::Read;
    try {
        status = ReadSettingsFile(path, state);
        if (status == SettingsFileStatus::Missing) {
            WriteSettingsFile(path, startup);
            status = ReadSettingsFile(path, state);
        }
    } catch (...) {
        take();
        throw;
    }
    if (status == SettingsFileStatus::OtherVersion) {
        WriteSettingsFile(path, startup);
        return;
    }
    take();
}

Settings DocumentCommands::CurrentSettings(std::uint8_t languageIndex, int displayMode) const
{
    Settings settings;
    settings.LanguageIndex = languageIndex;
    settings.LastProject = document_.CurrentFileName;
    settings.DisplayMode = displayMode;
    settings.RecentFiles = Recent.Entries();
    return settings;
}

void DocumentCommands::FormActivate()
{
    if (!startupOpenPending_)
        return;
    startupOpenPending_ = false;
    if (startupFile_) {
        const std::string path = std::move(*startupFile_);
        startupFile_.reset();
        if (HasExtension(path, ".csv"))
            ImportChosenGPSFile(path);
        else if (HasExtension(path, ".gpx"))
            ImportChosenGpxFile(path);
        else
            OpenChosenProject(path);
        view_.RefreshCommands();
        return;
    }
    if (IsExistingFile(document_.CurrentFileName)) {
        const std::string path = document_.CurrentFileName;
        OpenFile(path);
    }
}

bool DocumentCommands::FormClose(const std::function<void()>& afterPrompt)
{
    if (!AskSaveChanges())
        return false;
    if (afterPrompt)
        afterPrompt();
    view_.PointListAboutToBeRebuilt();
    document_.CloseProject();
    view_.RebuildPointList();
    return true;
}

} // namespace uzuviv
