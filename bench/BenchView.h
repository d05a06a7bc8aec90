#pragma once

#include <optional>
#include <string>

#include "BenchSupport.h"
#include "editing/DocumentView.h"
#include "editing/PointCommands.h"
#include "editing/PointListView.h"

namespace uzuviv::bench {

// A window that does no drawing: what the editing layer costs on its own. Every box is
// answered with OK or No, every dialog cancelled.
class BenchView : public DocumentView, public PointListView {
public:
    // Set once the commands exist: a selection change loads the panel, as the window does.
    PointCommands* Points = nullptr;
    RowSelection Selected;
    PanelTexts Panel;
    int Messages = 0;
    NullProgress Sink;

    MessageAnswer ShowMessage(MessageKind kind, const std::string&) override
    {
        ++Messages;
        return kind == MessageKind::Confirmation ? MessageAnswer::No : MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(FileDialog, const std::string&) override { return std::nullopt; }
    bool EditProperties(ProjectProperties&) override { return false; }
    void SetTitle(const std::string&) override {}
    void PointListAboutToBeRebuilt() override {}
    void RebuildPointList() override { Selected = {}; }
    void RefreshCommands() override {}
    ProgressSink& Progress() override { return Sink; }
    void OpenUrl(const std::string&) override {}
    void RecentFilesChanged() override {}
    std::optional<std::string> ClipboardText() override { return std::nullopt; }

    RowSelection Selection() const override { return Selected; }
    void SetSelection(const RowSelection& selection) override
    {
        Selected = selection;
        if (Points != nullptr)
            Points->ListView1SelectItem();
    }
    bool ListHasFocus() const override { return true; }
    void ScrollToRow(std::size_t) override {}
    void RowsAboutToBeAppended(std::size_t, std::size_t) override {}
    void RowsAppended(std::size_t, std::size_t) override {}
    void RowsAboutToBeRemoved(const RowSelection&) override { Selected = {}; }
    void RowsRemoved(const RowSelection&) override {}
    void RefreshListRow(std::size_t) override {}
    void RefreshAllListRows() override {}
    PanelTexts ReadPanel() const override { return Panel; }
    void WritePanel(const PanelTexts& texts) override { Panel = texts; }
    void ShowHighlight(const FieldHighlight&) override {}
    void ClearFieldHighlight() override {}
    void StartHighlightTimer() override {}
};

} // namespace uzuviv::bench
