#pragma once

namespace Tempolane {

// The faded and mixed colours the controls and screens paint with, each named once. A role
// has its own strength in light and dark and follows the desktop's contrast, so no view holds
// a colour or an alpha of its own. `Palette::role` gives the colour for a palette.
enum class Role
{
    // The translucent panel of an editor card and its edge.
    cardFill,
    cardEdge,
    // The panel behind a borderless text field and its edge.
    wellFill,
    wellEdge,
    // Drawn around a control that has the keyboard focus, and as the edge of a field's well
    // while the field has it.
    focusRing,
    // The line between parts of a card.
    separator,
    // The line between the window's columns and below its toolbar.
    hairline,
    // A toolbar button under the pointer and pressed.
    toolHover,
    toolPressed,
    // A plain button under the pointer and pressed.
    buttonHover,
    buttonPressed,
    // The shadow under a filled button and the label on it; the neutral fill of one that cannot
    // be pressed, so it never reads as enabled.
    prominentShadow,
    onProminent,
    prominentDisabled,
    // The disclosure header under the pointer and pressed.
    disclosureHover,
    disclosurePressed,
    // The segmented picker: its track, the chosen segment with its shadow, a segment under the
    // pointer.
    segmentTrack,
    segmentSelected,
    segmentShadow,
    segmentHover,
    // The switch's track while off, its knob and the knob's shadow.
    switchTrackOff,
    switchKnob,
    switchKnobShadow,
    // A list row under the pointer; the chosen job row and sidebar entry.
    rowHover,
    rowSelected,
    sidebarSelected,
    // The schedule line of a job row, on a chosen row and on any other.
    selectedScheduleText,
    scheduleText,
    // The bar of a suggestion above the list and its lower edge.
    barFill,
    barEdge,
    // The two glows behind the window's content.
    leadingGlow,
    trailingGlow,
    // The timeline: the track of a lane, the lines at whole hours and days, the part of the axis
    // that lies in the past, the "jetzt" line, and the wash behind a time a note points out.
    timelineTrack,
    timelineGrid,
    timelinePast,
    timelineNow,
    timelineNoteWash,
    // A planned run: its bar and the edge around it.
    plannedFill,
    plannedEdge,
    // The run chart's line at the median duration.
    chartMedian,
};

} // namespace Tempolane
