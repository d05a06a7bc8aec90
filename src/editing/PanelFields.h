#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/ProjectClasses.h"

namespace uzuviv {

// The thirteen edit boxes of the editor panel, in focus order.
enum class PanelBox {
    LatitudeDecimal,      // mxFlatEdit2
    LongitudeDecimal,     // mxFlatEdit3
    LatitudeDegrees,      // mxFlatEdit4
    LatitudeMinutes,      // mxFlatEdit5
    LatitudeSeconds,      // mxFlatEdit6
    LatitudeHemisphere,   // mxFlatEdit12
    LongitudeDegrees,     // mxFlatEdit7
    LongitudeMinutes,     // mxFlatEdit8
    LongitudeSeconds,     // mxFlatEdit9
    LongitudeHemisphere,  // mxFlatEdit13
    Tolerance,            // mxFlatEdit10
    FileRef,              // mxFlatEdit11
    Comments,             // mxFlatEdit1
};
inline constexpr int PanelBoxCount = 13;

// The component name of a box: PanelBoxName(PanelBox::Tolerance) is "mxFlatEdit10".
const char* PanelBoxName(PanelBox box);

// The panel's captions that a double-click can turn red.
enum class PanelCaption {
    LatitudeDecimal,   // Label3
    LongitudeDecimal,  // Label2
    LatitudeDegrees,   // Label4
    LongitudeDegrees,  // Label5
    Tolerance,         // Label1
    Mode,              // Label10
    FileRef,           // Label12
    Comments,          // Label13
};

// What the panel shows: the box texts and the checked mode radio button (0 none, 1 Track,
// 2 Alarm, 3 Free Tour).
struct PanelTexts {
    std::array<std::string, PanelBoxCount> Boxes{};
    int CheckedMode = 0;

    std::string& operator[](PanelBox box) { return Boxes[static_cast<int>(box)]; }
    const std::string& operator[](PanelBox box) const { return Boxes[static_cast<int>(box)]; }
    bool operator==(const PanelTexts&) const = default;
};

// What a double-click on a list column points at.
struct FieldHighlight {
    std::optional<PanelBox> Focus;
    int FocusMode = 0;   // 1..3: the mode radio button to focus (the row's own mode); 0 none
    std::vector<PanelBox> RedBoxes;
    std::optional<PanelCaption> RedCaption;
    bool SetDataRed = false;
};

} // namespace uzuviv
