#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editing/EditHistory.h"
#include "files/UnitOfCodes.h"

namespace uzuviv {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class MessageAnswer { Ok, Yes, No };

enum class FileDialog {
    OpenProject,   // OpenDialog1
    SaveProject,   // SaveDialog1
    OpenGPSFile,   // OpenDialog2
    SaveGPSFile,   // SaveDialog2
    OpenGpxFile,   // OpenGpxDialog
    SaveGpxFile,   // SaveGpxDialog
    SaveKmlFile    // SaveKmlDialog
};

// What the Project Properties dialog edits: the project's header.
using ProjectProperties = ProjectHeader;

// What the document commands need from the window. The Qt window implements it; tests use a
// scripted fake.
class DocumentView {
public:
    virtual ~DocumentView() = default;

    // A modal box; a confirmation offers Yes and No, every other kind one OK button.
    virtual MessageAnswer ShowMessage(MessageKind kind, const std::string& text) = 0;
    // The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> ChooseFile(FileDialog dialog, const std::string& presetName) = 0;
    // Shows the Project Properties dialog modally on `values`; true when closed with OK.
    virtual bool EditProperties(ProjectProperties& values) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The records are about to change as a whole; RebuildPointList follows once they have.
    virtual void PointListAboutToBeRebuilt() = 0;
    // The records changed as a whole: the list is rebuilt and no row stays selected.
    virtual void RebuildPointList() = 0;
    virtual void RefreshCommands() = 0;
    virtual ProgressSink& Progress() = 0;
    // Hands a URL or a mailto link to the desktop's default handler; the result is not checked.
    virtual void OpenUrl(const std::string& url) = 0;
    // The recent-files list changed: the File menu's slots are rebuilt.
    virtual void RecentFilesChanged() = 0;
    // The system clipboard's plain text, or nothing when it holds none.
    virtual std::optional<std::string> ClipboardText() = 0;
};

} // namespace uzuviv
