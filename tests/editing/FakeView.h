#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editing/DocumentView.h"
#include "editing/PointListView.h"

namespace uzuviv::testing {

struct RecordingProgress : ProgressSink {
    std::vector<std::string> Events;
    void Show(const std::string& caption) override { Events.push_back("show " + caption); }
    void SetProgress(int percent) override { Events.push_back(std::to_string(percent)); }
    void Close() override { Events.push_back("close"); }
};

// A window that answers from a script and remembers what it was asked.
class FakeView : public DocumentView, public PointListView {
public:
    struct Message {
        MessageKind Kind;
        std::string Text;
    };

    std::deque<MessageAnswer> Answers;                       // for confirmations
    std::deque<std::optional<std::string>> FileChoices;      // nullopt = cancelled
    std::deque<std::optional<ProjectProperties>> PropertiesAnswers;  // nullopt = Cancel

    std::vector<Message> Messages;
    std::vector<FileDialog> DialogsShown;
    std::vector<std::string> PresetNames;
    std::vector<ProjectProperties> PropertiesShown;
    std::string Title;
    int Rebuilds = 0;
    int Refreshes = 0;
    RecordingProgress ProgressEvents;

    MessageAnswer ShowMessage(MessageKind kind, const std::string& text) override
    {
        Messages.push_back({kind, text});
        if (kind != MessageKind::Confirmation)
            return MessageAnswer::Ok;
        if (Answers.empty())
            throw std::logic_error("unexpected confirmation: " + text);
        const MessageAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::optional<std::string> ChooseFile(FileDialog dialog, const std::string& presetName) override
    {
        DialogsShown.push_back(dialog);
        PresetNames.push_back(presetName);
        if (FileChoices.empty())
            throw std::logic_error("unexpected file dialog");
        auto choice = FileChoices.front();
        FileChoices.pop_front();
        return choice;
    }

    bool EditProperties(ProjectProperties& values) override
    {
        PropertiesShown.push_back(values);
        if (PropertiesAnswers.empty())
            throw std::logic_error("unexpected properties dialog");
        auto answer = PropertiesAnswers.front();
        PropertiesAnswers.pop_front();
        if (!answer)
            return false;
        values = *answer;
        return true;
    }

    void SetTitle(const std::string& title) override { Title = title; }
    void PointListAboutToBeRebuilt() override {}
    void RebuildPointList() override
    {
        ++Rebuilds;
        Selected = {};
    }
    void RefreshCommands() override { ++Refreshes; }
    ProgressSink& Progress() override { return ProgressEvents; }
    std::vector<std::string> OpenedUrls;
    std::optional<std::string> Clipboard;
    void OpenUrl(const std::string& url) override { OpenedUrls.push_back(url); }
    int RecentChanges = 0;
    void RecentFilesChanged() override { ++RecentChanges; }
    std::optional<std::string> ClipboardText() override { return Clipboard; }

    // The point list and the editor panel.
    RowSelection Selected;
    bool ListFocused = true;
    PanelTexts Panel;
    std::function<void()> SelectionChanged;   // what the window runs on a selection change
    std::vector<FieldHighlight> Highlights;
    int HighlightClears = 0;
    int TimerStarts = 0;
    int RowRefreshes = 0;

    RowSelection Selection() const override { return Selected; }
    void SetSelection(const RowSelection& selection) override
    {
        Selected = selection;
        if (SelectionChanged)
            SelectionChanged();
    }
    bool ListHasFocus() const override { return ListFocused; }
    std::optional<std::size_t> ScrolledTo;
    void ScrollToRow(std::size_t row) override { ScrolledTo = row; }
    void RowsAboutToBeAppended(std::size_t, std::size_t) override {}
    void RowsAppended(std::size_t, std::size_t) override {}
    void RowsAboutToBeRemoved(const RowSelection&) override { Selected = {}; }
    void RowsRemoved(const RowSelection&) override {}
    void RefreshListRow(std::size_t) override { ++RowRefreshes; }
    void RefreshAllListRows() override {}
    PanelTexts ReadPanel() const override { return Panel; }
    void WritePanel(const PanelTexts& texts) override { Panel = texts; }
    void ShowHighlight(const FieldHighlight& highlight) override { Highlights.push_back(highlight); }
    void ClearFieldHighlight() override { ++HighlightClears; }
    void StartHighlightTimer() override { ++TimerStarts; }
};

} // namespace uzuviv::testing
