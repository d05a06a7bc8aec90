#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "editing/DocumentView.h"
#include "editing/PointCommands.h"
#include "editing/PointListView.h"

namespace uzuviv::fuzz {

// The smallest window the point commands can drive: a clipboard, a selection, a panel, and
// message boxes that answer OK. A dialog or a question is never expected on the paths fuzzed.
class FuzzWindow : public DocumentView, public PointListView {
public:
    struct Message {
        MessageKind Kind;
        std::string Text;
    };

    std::optional<std::string> Clipboard;
    std::vector<Message> Messages;
    // The window reports every selection change to the commands, as the real list does.
    PointCommands* Commands = nullptr;

    MessageAnswer ShowMessage(MessageKind kind, const std::string& text) override
    {
        FUZZ_CHECK(kind != MessageKind::Confirmation);
        Messages.push_back({kind, text});
        return MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(FileDialog, const std::string&) override
    {
        Fail(__FILE__, __LINE__, "unexpected file dialog");
    }
    bool EditProperties(ProjectProperties&) override
    {
        Fail(__FILE__, __LINE__, "unexpected properties dialog");
    }
    void SetTitle(const std::string&) override {}
    void PointListAboutToBeRebuilt() override {}
    void RebuildPointList() override { selected_ = {}; }
    void RefreshCommands() override {}
    ProgressSink& Progress() override { return progress_; }
    void OpenUrl(const std::string&) override {}
    void RecentFilesChanged() override {}
    std::optional<std::string> ClipboardText() override { return Clipboard; }

    RowSelection Selection() const override { return selected_; }
    void SetSelection(const RowSelection& selection) override
    {
        selected_ = selection;
        if (Commands != nullptr)
            Commands->ListView1SelectItem();
    }
    bool ListHasFocus() const override { return true; }
    void ScrollToRow(std::size_t) override {}
    void RowsAboutToBeAppended(std::size_t, std::size_t) override {}
    void RowsAppended(std::size_t, std::size_t) override {}
    void RowsAboutToBeRemoved(const RowSelection&) override { selected_ = {}; }
    void RowsRemoved(const RowSelection&) override {}
    void RefreshListRow(std::size_t) override {}
    void RefreshAllListRows() override {}
    PanelTexts ReadPanel() const override { return panel_; }
    void WritePanel(const PanelTexts& texts) override { panel_ = texts; }
    void ShowHighlight(const FieldHighlight&) override {}
    void ClearFieldHighlight() override {}
    void StartHighlightTimer() override {}

private:
    CheckingProgress progress_;
    RowSelection selected_;
    PanelTexts panel_;
};

} // namespace uzuviv::fuzz
