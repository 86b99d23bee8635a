#pragma once

#include "layout/StripGeometry.h"

namespace tavrin {

// Generic defaults of a text group.
void ResetTextGroup(TextGroup &group);

// Every field to its default, with the per-group changes of the sub-items and prices groups.
// The four crop values and the brightness keep theirs: they matter only while the strip has
// a picture, and assigning a picture sets them.
void ResetStrip(Strip &strip);

// ResetStrip on all 9 x 201 records, then the working strip's three text colours become
// the current palette colour.
void ResetAllStrips(MenuLayout &layout, Strip &workingStrip, Colour paletteColour);

// Zeroes the three hit boxes and the strip rectangle of one position; the cell rectangle
// and the price-tab width stay.
void ClearStripGeometry(GeometryRecords &geometry, int column, int row);
void ClearAllGeometry(GeometryRecords &geometry);

bool IsStripInUse(const Strip &strip);
bool StripHasText(const Strip &strip);

// Every group whose text is empty gets the generic defaults (not the per-group changes).
void ResetEmptyGroups(Strip &strip);

// Resets board strips that lost all their text but still carry areas from an earlier render;
// returns how many were reset.
int SweepEmptyStrips(MenuLayout &layout, GeometryRecords &geometry);

// The values a new editor starts with.
void InitialiseNewEditorLayout(MenuLayout &layout, Strip &workingStrip, GeometryRecords &geometry,
                               Colour paletteColour);

} // namespace tavrin
