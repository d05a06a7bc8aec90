// The editing commands through the editing layer alone, with a view that draws nothing.
#include "BenchView.h"
#include "CommandBenchmarks.h"
#include "editing/DocumentCommands.h"
#include "editing/PointCommands.h"

namespace uzuviv::bench {
namespace {

class EditingDriver {
public:
    EditingDriver() { view_.Points = &points_; }

    Document& Doc() { return document_; }

    void Load(const TProjectType& project)
    {
        document_.ResetProject();
        *document_.CurrentProject() = project;
        document_.MarkSaved();
        view_.RebuildPointList();
    }

    void Select(const RowSelection& rows) { view_.SetSelection(rows); }
    PanelTexts ReadPanel() const { return view_.ReadPanel(); }
    void WritePanel(const PanelTexts& texts) { view_.WritePanel(texts); }

    void SetData() { points_.SetPointData(); }
    void Delete() { points_.DeleteSelectedPoints(); }
    void Paste() { points_.Paste1Click(); }
    void Undo() { points_.Undo1Click(); }
    void Redo() { points_.Redo1Click(); }
    void SwitchMode(int mode) { points_.SwitchDisplayMode(mode); }
    // The editing layer's whole share of a language change: the tables are looked up on demand.
    void SwitchLanguage(int language)
    {
        LanguageIndex = static_cast<std::uint8_t>(language);
        view_.RefreshCommands();
    }
    void Settle() {}
    void Refresh(bool rebuildList)
    {
        if (rebuildList)
            view_.RebuildPointList();
    }

private:
    Document document_;
    BenchView view_;
    DocumentCommands commands_{document_, view_};
    PointCommands points_{document_, view_, view_};
};

} // namespace

template <>
EditingDriver& TheDriver<EditingDriver>()
{
    static EditingDriver driver;
    return driver;
}

UZUVIV_REGISTER_COMMANDS(EditingDriver);

} // namespace uzuviv::bench

BENCHMARK_MAIN();
