#include "editing/CommandStates.h"

#include "editing/Document.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

CommandStates ComputeCommandStates(const CommandInputs& in)
{
    CommandStates s;
    if (in.HasProject) {
        const bool roomForMore = in.RecordCount < static_cast<std::size_t>(MaxRecords);
        s.ProjectProperties = s.Save = s.SaveAs = s.BuildGPSFile = s.CheckProject = true;
        s.NewPoint = s.NewFromGoogleMaps = s.PanelNew = roomForMore;
        s.Cut = s.Copy = in.AnySelected;
        s.Paste = in.ClipboardExists && roomForMore;
        s.Undo = in.CanUndo;
        s.Redo = in.CanRedo;
        s.SelectAll = s.ShowInGoogleMaps = in.RecordCount > 0;
        s.Delete = in.RecordCount > 0 && in.AnySelected;
        s.SetData = in.AnySelected;
        s.ListAndPanelVisible = true;
        s.PanelButtonsTouched = true;
    }
    s.DecimalFields = in.DisplayMode != 2 && in.DisplayMode != 3 && in.DisplayMode != 4;
    s.MinutesOnly = in.DisplayMode == 2;
    return s;
}

CommandInputs CommandInputsOf(const Document& document, bool anySelected, int displayMode)
{
    CommandInputs in;
    in.HasProject = document.HasProject();
    in.RecordCount = in.HasProject ? document.CurrentProject()->Records.size() : 0;
    in.AnySelected = anySelected;
    in.ClipboardExists = document.PointClipboard.has_value();
    in.CanUndo = document.History.CanUndo();
    in.CanRedo = document.History.CanRedo();
    in.DisplayMode = displayMode;
    return in;
}

} // namespace uzuviv
