#pragma once

#include <optional>

#include "editing/PanelFields.h"
#include "model/ProjectClasses.h"

namespace uzuviv {

// The texts the editor panel shows for `record` in `displayMode`.
PanelTexts LoadPanel(const TGPSRecord& record, int displayMode);

enum class PanelError { None, Latitude, Longitude, Tolerance, FileRef };

// Checks the panel's texts and stores what is valid into `record`; a field that does not convert
// or is out of range keeps its stored value. Returns the last failing field, in the order
// latitude, longitude, tolerance, file reference.
// `loaded` is what loading wrote into the panel for this record in this mode, if known: a
// coordinate whose boxes still hold exactly those texts keeps its stored value untouched, so an
// untouched point never moves (whole seconds in DMS, the 15 digits of a box).
PanelError StorePanel(const PanelTexts& texts, const std::optional<PanelTexts>& loaded,
                      int displayMode, TGPSRecord& record);

// The warning for a failed store (MessageTexts item), or 0.
int PanelErrorMessageItem(PanelError error);

// What a double-click on `column` (0..6, -1 for none) of a row whose Mode is `rowMode` points at.
FieldHighlight DoubleClickHighlight(int column, int displayMode, int rowMode);

} // namespace uzuviv
