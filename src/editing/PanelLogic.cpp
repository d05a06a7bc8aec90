#include "editing/PanelLogic.h"

#include <cstdint>
#include <string>

#include "model/CoordinateFormats.h"
#include "model/NumberText.h"

namespace uzuviv {

namespace {

int EffectiveMode(int displayMode)
{
    return displayMode == 2 || displayMode == 3 || displayMode == 4 ? displayMode : 1;
}

// The boxes of one coordinate: latitude or longitude.
struct Axis {
    PanelBox Decimal, Degrees, Minutes, Seconds, Hemisphere;
    char Positive, Negative;
    Extended Bound;
    bool NorthSouth;
};

const Axis LatitudeAxis{PanelBox::LatitudeDecimal, PanelBox::LatitudeDegrees,
                        PanelBox::LatitudeMinutes, PanelBox::LatitudeSeconds,
                        PanelBox::LatitudeHemisphere, 'N', 'S', 90, true};
const Axis LongitudeAxis{PanelBox::LongitudeDecimal, PanelBox::LongitudeDegrees,
                         PanelBox::LongitudeMinutes, PanelBox::LongitudeSeconds,
                         PanelBox::LongitudeHemisphere, 'E', 'W', 180, false};

void LoadAxis(PanelTexts& texts, const Axis& axis, Extended value, int mode)
{
    texts[axis.Decimal] = PlainCoordinateText(value);
    if (mode == 2) {
        const DMValue dm = DegreesToDM(value);
        texts[axis.Degrees] = std::to_string(dm.Degrees);
        texts[axis.Minutes] = PlainCoordinateText(dm.Minutes);
        texts[axis.Seconds].clear();
    } else if (mode == 4) {
        const DMSValue dms = DegreesToDMS(value);
        texts[axis.Degrees] = std::to_string(dms.Degrees);
        texts[axis.Minutes] = std::to_string(dms.Minutes);
        texts[axis.Seconds] = std::to_string(dms.Seconds);
    } else {
        const DMSdValue dms = DegreesToDMSd(value);
        texts[axis.Degrees] = std::to_string(dms.Degrees);
        texts[axis.Minutes] = std::to_string(dms.Minutes);
        texts[axis.Seconds] = PlainCoordinateText(dms.Seconds);
    }
    texts[axis.Hemisphere] = std::string(1, value >= 0 ? axis.Positive : axis.Negative);
}

// The boxes a mode reads for one coordinate.
bool SameAxisTexts(const PanelTexts& a, const PanelTexts& b, const Axis& axis, int mode)
{
    if (mode == 1)
        return a[axis.Decimal] == b[axis.Decimal];
    const bool same = a[axis.Hemisphere] == b[axis.Hemisphere] && a[axis.Degrees] == b[axis.Degrees]
                      && a[axis.Minutes] == b[axis.Minutes];
    return mode == 2 ? same : same && a[axis.Seconds] == b[axis.Seconds];
}

std::string Filter(const std::string& text, bool digits, bool signs, bool decimalMarks,
                   bool northSouth = false, bool eastWest = false)
{
    return FilterCoordinateText(text, digits, signs, decimalMarks, northSouth, eastWest);
}

// Converts and checks one coordinate; false leaves `value` as stored.
bool StoreAxis(const PanelTexts& texts, const Axis& axis, int mode, Extended& value)
{
    Extended v = 0, part = 0;
    std::int64_t degrees = 0, minutes = 0, seconds = 0;
    try {
        if (mode == 1) {
            v = ParseDecimal(Filter(texts[axis.Decimal], true, true, true, true, true));
        } else {
            // A minus typed before the degrees and an S (W) in the hemisphere box both count.
            const std::string degreeText =
                Filter(texts[axis.Hemisphere], false, false, false, axis.NorthSouth, !axis.NorthSouth)
                + Filter(texts[axis.Degrees], true, true, false);
            degrees = ParseInteger(degreeText);
            const bool negative = !degreeText.empty() && degreeText.front() == '-';
            if (mode == 2) {
                part = ParseDecimal(Filter(texts[axis.Minutes], true, false, true));
                v = DMToDegrees(negative, degrees, part);
            } else if (mode == 3) {
                minutes = ParseInteger(Filter(texts[axis.Minutes], true, false, false));
                part = ParseDecimal(Filter(texts[axis.Seconds], true, false, true));
                v = DMSdToDegrees(negative, degrees, minutes, part);
            } else {
                minutes = ParseInteger(Filter(texts[axis.Minutes], true, false, false));
                seconds = ParseInteger(Filter(texts[axis.Seconds], true, false, false));
                v = DMSToDegrees(negative, degrees, minutes, seconds);
            }
        }
    } catch (const ConversionError&) {
        return false;
    }
    const auto within = [](auto x, auto low, auto high) { return x >= low && x <= high; };
    if (!within(v, -axis.Bound, axis.Bound) || !within(degrees, -axis.Bound, axis.Bound)
        || !within(part, 0, 60) || !within(minutes, 0, 60) || !within(seconds, 0, 60))
        return false;
    value = v;
    return true;
}

bool StoreInteger(const std::string& text, int low, int high, std::uint16_t& field)
{
    std::int32_t value = 0;
    try {
        value = ParseInteger(text);
    } catch (const ConversionError&) {
        return false;
    }
    if (value < low || value > high)
        return false;
    field = static_cast<std::uint16_t>(value);
    return true;
}

} // namespace

const char* PanelBoxName(PanelBox box)
{
    static const char* const names[PanelBoxCount] = {
        "mxFlatEdit2", "mxFlatEdit3", "mxFlatEdit4", "mxFlatEdit5",  "mxFlatEdit6",
        "mxFlatEdit12", "mxFlatEdit7", "mxFlatEdit8", "mxFlatEdit9", "mxFlatEdit13",
        "mxFlatEdit10", "mxFlatEdit11", "mxFlatEdit1"};
    return names[static_cast<int>(box)];
}

PanelTexts LoadPanel(const TGPSRecord& record, int displayMode)
{
    const int mode = EffectiveMode(displayMode);
    PanelTexts texts;
    LoadAxis(texts, LatitudeAxis, record.Latitude, mode);
    LoadAxis(texts, LongitudeAxis, record.Longitude, mode);
    texts[PanelBox::Tolerance] = std::to_string(record.Tolerance);
    texts[PanelBox::FileRef] = std::to_string(record.FileRef);
    texts[PanelBox::Comments] = record.Comments;
    texts.CheckedMode = record.Mode == 2 || record.Mode == 3 ? record.Mode : 1;
    return texts;
}

PanelError StorePanel(const PanelTexts& texts, const std::optional<PanelTexts>& loaded,
                      int displayMode, TGPSRecord& record)
{
    const int mode = EffectiveMode(displayMode);
    PanelError error = PanelError::None;
    for (const Axis* axis : {&LatitudeAxis, &LongitudeAxis}) {
        Extended& value = axis == &LatitudeAxis ? record.Latitude : record.Longitude;
        if (loaded && SameAxisTexts(texts, *loaded, *axis, mode))
            continue;
        if (!StoreAxis(texts, *axis, mode, value))
            error = axis == &LatitudeAxis ? PanelError::Latitude : PanelError::Longitude;
    }
    if (!StoreInteger(texts[PanelBox::Tolerance], 0, MaxTolerance, record.Tolerance))
        error = PanelError::Tolerance;
    if (!StoreInteger(texts[PanelBox::FileRef], MinFileRef, MaxFileRef, record.FileRef))
        error = PanelError::FileRef;
    if (texts.CheckedMode >= 1 && texts.CheckedMode <= 3)
        record.Mode = static_cast<std::uint8_t>(texts.CheckedMode);
    record.Comments = texts[PanelBox::Comments];
    return error;
}

int PanelErrorMessageItem(PanelError error)
{
    switch (error) {
    case PanelError::Latitude: return 3;
    case PanelError::Longitude: return 4;
    case PanelError::Tolerance: return 5;
    case PanelError::FileRef: return 6;
    case PanelError::None: break;
    }
    return 0;
}

FieldHighlight DoubleClickHighlight(int column, int displayMode, int rowMode)
{
    const bool decimal = EffectiveMode(displayMode) == 1;
    FieldHighlight h;
    h.SetDataRed = true;
    switch (column) {
    case 1:
    case 2: {
        const Axis& axis = column == 1 ? LatitudeAxis : LongitudeAxis;
        if (decimal) {
            h.Focus = axis.Decimal;
            h.RedBoxes = {axis.Decimal};
            h.RedCaption = column == 1 ? PanelCaption::LatitudeDecimal : PanelCaption::LongitudeDecimal;
        } else {
            h.Focus = axis.Degrees;
            h.RedBoxes = {axis.Degrees, axis.Minutes, axis.Seconds, axis.Hemisphere};
            h.RedCaption = column == 1 ? PanelCaption::LatitudeDegrees : PanelCaption::LongitudeDegrees;
        }
        break;
    }
    case 3:
        h.Focus = PanelBox::Tolerance;
        h.RedBoxes = {PanelBox::Tolerance};
        h.RedCaption = PanelCaption::Tolerance;
        break;
    case 4:
        // The row's own mode, whatever the panel has checked meanwhile.
        h.FocusMode = rowMode == 2 || rowMode == 3 ? rowMode : 1;
        h.RedCaption = PanelCaption::Mode;
        break;
    case 5:
        h.Focus = PanelBox::FileRef;
        h.RedBoxes = {PanelBox::FileRef};
        h.RedCaption = PanelCaption::FileRef;
        break;
    case 6:
        h.Focus = PanelBox::Comments;
        h.RedBoxes = {PanelBox::Comments};
        h.RedCaption = PanelCaption::Comments;
        break;
    default:  // the number column, or no column at all
        break;
    }
    return h;
}

} // namespace uzuviv
