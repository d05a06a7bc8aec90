#pragma once

#include <optional>
#include <string>

#include "editing/DocumentView.h"

class QWidget;

namespace uzuviv {

// The open and save dialogs of projects (*.gps) and GPS files (*.csv), modal over `parent`;
// nothing when the user cancels.
std::optional<std::string> ChooseFileName(QWidget* parent, FileDialog dialog,
                                          const std::string& presetName);

} // namespace uzuviv
