#pragma once

#include <cstddef>

namespace uzuviv {

class Document;

// What the enabled state of every command depends on.
struct CommandInputs {
    bool HasProject = false;
    std::size_t RecordCount = 0;
    bool AnySelected = false;
    bool ClipboardExists = false;
    bool CanUndo = false;
    bool CanRedo = false;
    int DisplayMode = 1;
};

// Which command is enabled, and how the point list and the editor panel are shown. A menu item
// and its toolbar button always share one state.
struct CommandStates {
    bool ProjectProperties = false, Save = false, SaveAs = false, BuildGPSFile = false;
    bool NewPoint = false, NewFromGoogleMaps = false, PanelNew = false;
    bool Cut = false, Copy = false, Paste = false;
    bool Undo = false, Redo = false;
    bool SelectAll = false, ShowInGoogleMaps = false, Delete = false, SetData = false;
    bool CheckProject = false;
    // Without a project only the menus, the toolbar and the grey list area show.
    bool ListAndPanelVisible = false;
    // The editor panel's coordinate boxes: decimal degrees, or degrees/minutes(/seconds).
    bool DecimalFields = true;
    bool MinutesOnly = false;
    // The panel's own buttons keep their state while there is no project.
    bool PanelButtonsTouched = false;
};

CommandStates ComputeCommandStates(const CommandInputs& inputs);
CommandInputs CommandInputsOf(const Document& document, bool anySelected, int displayMode);

} // namespace uzuviv
