#pragma once

#include <functional>
#include <optional>
#include <string>

#include "editing/Document.h"
#include "editing/DocumentView.h"
#include "editing/RecentFiles.h"
#include "files/SettingsFile.h"

namespace uzuviv {

// The name an export proposes: the project file's with `extension` (".gpx"), or, for a project
// without a file, its name (a "/" becoming "_") with the extension; empty without either.
std::string ExportName(const std::string& fileName, const std::string& projectName, const std::string& extension);

// Start-up, New, Open, Save, Save As, the save prompt and closing: the life of the one document.
// Reading and writing failures (InOutError, ConversionError) leave these functions as
// exceptions, after the document has been put back into a sound state; the window's top-level
// handler shows them.
class DocumentCommands {
public:
    DocumentCommands(Document& document, DocumentView& view) : document_(document), view_(view) {}

    RecentFiles Recent;

    // Asks whether to save a modified project. Returns false when the user asked to save and
    // the project was not saved (Save As cancelled): the asking operation must not go on.
    bool AskSaveChanges();

    void New2Click();
    void Property1Click();
    void Open1Click();
    // Open after its dialog: `path` becomes the document and, when read, a recent file.
    void OpenChosenProject(const std::string& path);
    // True when the project was written.
    bool Save1Click();
    bool SaveAs1Click();

    // Build GPS File: writes the points; nothing else changes.
    void CreateGPSFile1Click();
    // Import GPS File: a new, unsaved project from a GPS file. A file that cannot be read leaves
    // the previous project as it was.
    void ImportGPSFile1Click();
    // Import after its dialog.
    void ImportChosenGPSFile(const std::string& path);

    // Import GPX File: as Import GPS File; the project is named by the file's metadata when it
    // has a name, else "Imported Project".
    void ImportGpxFile1Click();
    void ImportChosenGpxFile(const std::string& path);
    // Export GPX File, Export KML File: write the project and change nothing in it; the
    // project file's name with the new extension is proposed. A project the format cannot hold
    // is refused with a warning before any file is chosen.
    void ExportGpxFile1Click();
    void ExportKmlFile1Click();

    // A recent-file slot: `position` is 1-based in Recent.Entries().
    void RecentFileClick(std::size_t position);

    // Start-up: reads the settings file over `state`, the state set up so far, and takes the
    // last project and the recent files from it. A missing file is first written from `state`;
    // a file of another version is replaced by `state` and nothing of it is used. A failure
    // throws after `state` received what was read before it.
    void LoadSettings(const std::string& path, Settings& state);
    // The state to write at exit: `state`'s language and display mode, the document's file name
    // and the recent files.
    Settings CurrentSettings(std::uint8_t languageIndex, int displayMode) const;

    // Opens `path` as the new document (the recent-file entries use it too). True when read;
    // false when refused for its version or when the save prompt stopped it.
    bool OpenFile(const std::string& path);

    // A file named on the command line. The first activation opens it (a GPS file, "*.csv",
    // is imported; any other name is opened as a project file) instead of reopening the last
    // project.
    void SetStartupFile(std::string path) { startupFile_ = std::move(path); }
    // First activation of the main window: opens the start-up file, or else reopens the last
    // project, once.
    void FormActivate();
    // The window is closing; false when it must stay open (the save prompt was not honoured).
    // `afterPrompt` runs between the save prompt and closing the project (the settings are
    // written there, so they name the file the prompt just saved).
    bool FormClose(const std::function<void()>& afterPrompt = {});

    void SetTitleFromProject();

private:
    using ProjectReader = void (*)(const std::string&, TProjectType&, ProgressSink&);
    using ProjectWriter = void (*)(const std::string&, const TProjectType&, ProgressSink&);
    void Import(FileDialog dialog, ProjectReader read);
    void ImportChosenFile(const std::string& path, ProjectReader read);
    void Export(FileDialog dialog, const std::string& extension, bool allProperties, ProjectWriter write);

    // Reads `path` into the freshly reset project; on any failure the document is left as the
    // empty default project without a file name, and the failure goes on.
    bool OpenProject(const std::string& path);
    void SaveTo(const std::string& path);

    Document& document_;
    DocumentView& view_;
    bool startupOpenPending_ = true;
    std::optional<std::string> startupFile_;
};

} // namespace uzuviv
