#pragma once

#include <QIcon>

namespace uzuviv {

// Menu items and the pop-up items that raise the same handler share one icon.
enum class CommandIcon { NewProject, ProjectProperties, Open, Save, SaveAs, BuildGPSFile,
    ImportGPSFile, Print, Exit, Undo, Redo, NewPoint, NewFromGoogleMaps, DeletePoint, Cut, Copy,
    Paste, SelectAll, About, HomePage, SendEmail, ShowInGoogleMaps };

// Every CommandIcon, in declaration order.
inline constexpr CommandIcon AllCommandIcons[] = { CommandIcon::NewProject,
    CommandIcon::ProjectProperties, CommandIcon::Open, CommandIcon::Save, CommandIcon::SaveAs,
    CommandIcon::BuildGPSFile, CommandIcon::ImportGPSFile, CommandIcon::Print, CommandIcon::Exit,
    CommandIcon::Undo, CommandIcon::Redo, CommandIcon::NewPoint, CommandIcon::NewFromGoogleMaps,
    CommandIcon::DeletePoint, CommandIcon::Cut, CommandIcon::Copy, CommandIcon::Paste,
    CommandIcon::SelectAll, CommandIcon::About, CommandIcon::HomePage, CommandIcon::SendEmail,
    CommandIcon::ShowInGoogleMaps };

// The desktop theme's icon by its freedesktop name, with a bundled drawing of our own as the
// fallback, so no button is ever blank.
QIcon IconFor(CommandIcon icon);

// The icon for a toolbar button (may be the same artwork at 24 px, or a variant).
QIcon ToolbarIconFor(CommandIcon icon);

// Our own drawing alone (16 and 24 px, and twice those), whatever the desktop theme holds.
QIcon BundledIconFor(CommandIcon icon);

} // namespace uzuviv
