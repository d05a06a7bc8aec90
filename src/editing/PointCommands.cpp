#include "editing/PointCommands.h"

#include <algorithm>

#include "editing/PanelLogic.h"
#include "editing/WebLinks.h"
#include "files/Cp1252.h"
#include "model/CoordinateFormats.h"
#include "text/text.h"

namespace uzuviv {

void PointCommands::RecordUndoSnapshot()
{
    document_.RecordUndoSnapshot();
    view_.RefreshCommands();
}

void PointCommands::ListView1SelectItem()
{
    const RowSelection selection = list_.Selection();
    TProjectType* project = Project();
    if (project != nullptr && !selection.Empty()) {
        const std::size_t row = *selection.FirstRow();
        if (row < project->Records.size()) {
            loaded_ = LoadPanel(project->Records[row], displayMode_);
            loadedRow_ = row;
            loadedMode_ = displayMode_;
            list_.WritePanel(*loaded_);
        }
    }
    view_.RefreshCommands();
}

bool PointCommands::AddNewPoint(const TGPSRecord& record)
{
    TProjectType* project = Project();
    if (project == nullptr)
        return false;
    if (project->Records.size() >= static_cast<std::size_t>(MaxRecords)) {
        view_.ShowMessage(MessageKind::Warning, LanguageText(TextTable::MessageTexts, 2));
        view_.RefreshCommands();
        return false;
    }
    const std::size_t last = project->Records.size();
    list_.RowsAboutToBeAppended(last, 1);
    document_.AppendRecords({record});
    list_.RowsAppended(last, 1);
    list_.SetSelection(RowSelection::Single(last));
    list_.ScrollToRow(last);
    RecordUndoSnapshot();
    return true;
}

void PointCommands::DeleteSelectedPoints()
{
    TProjectType* project = Project();
    if (project == nullptr || project->Records.empty())
        return;
    const RowSelection selection = list_.Selection();
    if (!list_.ListHasFocus() || selection.Empty())
        return;
    list_.RowsAboutToBeRemoved(selection);
    document_.RemoveRows(selection);
    list_.RowsRemoved(selection);
    list_.RefreshAllListRows();
    RecordUndoSnapshot();
}

void PointCommands::SelectAll1Click()
{
    if (Project() != nullptr && !Project()->Records.empty())
        list_.SetSelection(RowSelection::All(Project()->Records.size()));
    view_.RefreshCommands();
}

void PointCommands::CopySelectionToClipboard(const RowSelection& selection)
{
    if (Project() == nullptr || !document_.PointClipboard)
        return;
    auto& target = document_.PointClipboard->Records;
    target.clear();
    const auto& records = Project()->Records;
    for (const RowSelection::Range& range : selection.Ranges())
        for (std::size_t row = range.First; row <= range.Last && row < records.size(); ++row)
            target.push_back(records[row]);
}

void PointCommands::Cut1Click()
{
    if (!document_.PointClipboard)
        document_.PointClipboard.emplace();
    const RowSelection selection = list_.Selection();
    if (!selection.Empty())
        CopySelectionToClipboard(selection);
    DeleteSelectedPoints();
    view_.RefreshCommands();
}

void PointCommands::Copy1Click()
{
    if (!document_.PointClipboard)
        document_.PointClipboard.emplace();
    const RowSelection selection = list_.Selection();
    if (!selection.Empty())
        CopySelectionToClipboard(selection);
    view_.RefreshCommands();
}

void PointCommands::Paste1Click()
{
    TProjectType* project = Project();
    if (project != nullptr && document_.PointClipboard) {
        view_.PointListAboutToBeRebuilt();
        document_.AppendRecords(document_.PointClipboard->Records);
        view_.RebuildPointList();
        RecordUndoSnapshot();
    }
    view_.RefreshCommands();
}

void PointCommands::Restore(bool (Document::*step)(), bool possible)
{
    if (Project() == nullptr || !possible)
        return;
    const std::string name = Project()->ProjectName;
    view_.PointListAboutToBeRebuilt();
    (document_.*step)();
    view_.RebuildPointList();
    // The title shows the project's name, which the older state may have brought back.
    if (Project()->ProjectName != name)
        view_.SetTitle(TitlePrefix + Project()->ProjectName);
    view_.RefreshCommands();
}

void PointCommands::Undo1Click()
{
    Restore(&Document::Undo, document_.History.CanUndo());
}

void PointCommands::Redo1Click()
{
    Restore(&Document::Redo, document_.History.CanRedo());
}

void PointCommands::SetPointData()
{
    TProjectType* project = Project();
    if (project == nullptr)
        return;
    const RowSelection selection = list_.Selection();
    if (selection.Empty() || *selection.FirstRow() >= project->Records.size())
        return;
    const std::size_t row = *selection.FirstRow();
    const bool loadedHere = loaded_ && loadedRow_ == row && loadedMode_ == displayMode_;
    TGPSRecord stored = project->Records[row];
    const PanelError error =
        StorePanel(list_.ReadPanel(), loadedHere ? loaded_ : std::nullopt, displayMode_, stored);
    document_.ReplaceRecord(row, std::move(stored));
    if (error != PanelError::None)
        view_.ShowMessage(MessageKind::Warning,
                          LanguageText(TextTable::MessageTexts, PanelErrorMessageItem(error)));
    list_.RefreshListRow(row);
    ListView1SelectItem();
    RecordUndoSnapshot();
}

void PointCommands::PanelNewClick()
{
    const PanelTexts typed = list_.ReadPanel();
    if (!AddNewPoint())
        return;
    PanelTexts texts = list_.ReadPanel();
    for (int box = 0; box < PanelBoxCount; ++box)
        if (!typed.Boxes[box].empty())
            texts.Boxes[box] = typed.Boxes[box];
    texts.CheckedMode = typed.CheckedMode == 3 || typed.CheckedMode == 2 ? typed.CheckedMode : 1;
    list_.WritePanel(texts);
    SetPointData();
}

void PointCommands::SwitchDisplayMode(int mode)
{
    displayMode_ = mode;
    view_.RefreshCommands();
    list_.RefreshAllListRows();
    ListView1SelectItem();
}

void PointCommands::ListView1DblClick(std::optional<std::size_t> row, int column)
{
    list_.ClearFieldHighlight();
    if (!row || Project() == nullptr || *row >= Project()->Records.size())
        return;
    list_.ShowHighlight(DoubleClickHighlight(column, displayMode_, Project()->Records[*row].Mode));
    list_.StartHighlightTimer();
}

void PointCommands::NewGPSFromGoogleMapsClipboard1Click()
{
    if (Project() == nullptr)
        return;
    const std::string& useless = LanguageText(TextTable::MessageTexts, 7);
    const std::optional<std::string> clipboard = view_.ClipboardText();
    if (!clipboard) {
        view_.ShowMessage(MessageKind::Warning, useless);
        return;
    }
    std::string text = *clipboard;
    std::string comment = "...";
    if (const auto at = text.find('@'); at != std::string::npos) {
        // The label becomes the comment: one line, only what the files can hold.
        comment = FieldText(std::string_view(text).substr(0, at));
        text.erase(0, at + 1);
    }
    std::string latitude, longitude;
    if (const auto comma = text.find(','); comma != std::string::npos) {
        latitude = MapCoordinateText(std::string_view(text).substr(0, comma));
        longitude = MapCoordinateText(std::string_view(text).substr(comma + 1));
    }
    if (latitude.empty() || longitude.empty()) {
        view_.ShowMessage(MessageKind::Warning, useless);
        return;
    }
    if (!AddNewPoint())
        return;
    PanelTexts texts = list_.ReadPanel();
    texts[PanelBox::LatitudeDecimal] = latitude;
    texts[PanelBox::LongitudeDecimal] = longitude;
    texts[PanelBox::Comments] = comment;
    list_.WritePanel(texts);

    const int restored = displayMode_;
    displayMode_ = 1;
    SetPointData();
    displayMode_ = restored;
    // The second store runs in the restored mode on the panel loaded for that mode, so the
    // coordinates read from the clipboard stay exactly as they are whatever the mode.
    ListView1SelectItem();
    SetPointData();
}

void PointCommands::ShowInGoogleMap1Click(std::optional<std::size_t> row)
{
    if (Project() == nullptr || !row || *row >= Project()->Records.size())
        return;
    view_.OpenUrl(GoogleMapsUrl(Project()->Records[*row], LanguageIndex));
}

} // namespace uzuviv
