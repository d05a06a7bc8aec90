#pragma once

#include <QIcon>

#include "editing/CommandTable.h"

namespace uzuviv {

// The desktop theme's icon by its freedesktop name, with a bundled drawing of our own as the
// fallback, so no button is ever blank.
QIcon IconFor(const IconName& icon);

// The icon for a toolbar button (may be the same artwork at 24 px, or a variant).
QIcon ToolbarIconFor(const IconName& icon);

// Our own drawing alone (16 and 24 px, and twice those), whatever the desktop theme holds.
QIcon BundledIconFor(const IconName& icon);

} // namespace uzuviv
