#include "editing/CommandTable.h"

#include <functional>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace uzuviv {
namespace {

CommandRow& Row(std::vector<CommandRow>& rows, CommandId id)
{
    for (CommandRow& row : rows)
        if (row.id == id)
            return row;
    throw std::logic_error("no row");
}

TEST(CommandTableTest, ASlipInTheTableStopsTheStartAndNamesTheRow)
{
    EXPECT_NO_THROW(CheckCommandTable(CommandTable(), MenuTable()));
    using Rows = std::vector<CommandRow>;
    using Menus = std::vector<MenuRow>;
    const struct {
        std::function<void(Rows&, Menus&)> slip;
        const char* message;
    } cases[] = {
        {[](Rows& r, Menus&) { Row(r, CommandId::Save).name = "Open1"; },
         "Open1: the name Open1 is used twice"},
        {[](Rows& r, Menus&) { Row(r, CommandId::Cut).popup.name = "Delete2"; },
         "Cut1: the name Delete2 is used twice"},
        {[](Rows& r, Menus&) { Row(r, CommandId::Save).place = Row(r, CommandId::Open).place; },
         "Save1: its place is taken"},
        {[](Rows& r, Menus&) { Row(r, CommandId::Redo).toolbar.order = 3; },
         "Redo1: its place is taken"},
        {[](Rows& r, Menus&) { Row(r, CommandId::Exit).label.item = 99; },
         "Exit1: text item 99 does not exist"},
        {[](Rows& r, Menus&) { Row(r, CommandId::Undo).toolbar.hint.item = 0; },
         "SpeedButton6: text item 0 does not exist"},
        {[](Rows& r, Menus&) { Row(r, CommandId::Copy).id = CommandId::Cut; },
         "Copy1: its command already has a row"},
        {[](Rows&, Menus& m) { m.pop_back(); }, "ShowInGoogleMap1: its menu does not exist"},
        {[](Rows& r, Menus&) { Row(r, CommandId::French).checkedWhen = &CommandStates::Save; },
         "French1: only an on/off item follows a checked rule"},
    };
    for (const auto& c : cases) {
        Rows rows(CommandTable().begin(), CommandTable().end());
        Menus menus(MenuTable().begin(), MenuTable().end());
        c.slip(rows, menus);
        try {
            CheckCommandTable(rows, menus);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const std::logic_error& error) {
            EXPECT_EQ(error.what(), std::string("command table: ") + c.message);
        }
    }
}

} // namespace
} // namespace uzuviv
