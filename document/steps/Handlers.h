// The step handlers, each in the file of its kind of step; StepPlayer.cpp maps events to them.
#pragma once

#include <string>

#include "document/steps/StepSupport.h"

namespace zem::document::steps {

// Layers (LayerSteps.cpp).
StepOutcome Make(StepContext& step);
StepOutcome Set(StepContext& step);
StepOutcome Select(StepContext& step);
StepOutcome Delete(StepContext& step);
StepOutcome Hide(StepContext& step);
StepOutcome Show(StepContext& step);
StepOutcome Duplicate(StepContext& step);
StepOutcome CopyToLayer(StepContext& step);
StepOutcome Move(StepContext& step);
StepOutcome Flatten(StepContext& step);
StepOutcome MergeVisible(StepContext& step);
StepOutcome StampVisible(StepContext& step);
StepOutcome MergeDown(StepContext& step);

// Selections (SelectionSteps.cpp); `Set` passes on selections it is given.
StepOutcome SetSelection(StepContext& step, const Value& to);
StepOutcome Inverse(StepContext& step);
StepOutcome Feather(StepContext& step);

// The clipboard, a new document, and selections by colour or changed in size (MoreSteps.cpp).
StepOutcome CopyPixels(StepContext& step);
StepOutcome CopyMerged(StepContext& step);
StepOutcome Paste(StepContext& step);
StepOutcome NewDocument(StepContext& step, const Descriptor& settings);
StepOutcome Contract(StepContext& step);
StepOutcome Expand(StepContext& step);
// The pixels of the composite within `tolerance` levels of the colour at `x`, `y` (joined to it
// when `contiguous`), as coverage 0 or 255.
Mask SimilarColour(const Document& document, int x, int y, int tolerance, bool contiguous,
                   const hostsim::RowWorkers& workers);
// The point ('Pnt ' with 'Hrzn' and 'Vrtc') a magic wand or paint bucket was used at.
void PointOf(const Value& value, const Document& document, int& x, int& y);

// Pixels (PixelSteps.cpp).
StepOutcome Adjust(StepContext& step, const std::string& id);
StepOutcome Fill(StepContext& step);
StepOutcome Blur(StepContext& step);
StepOutcome Unsharp(StepContext& step);
StepOutcome HighPassStep(StepContext& step);

// The document's size and orientation (GeometrySteps.cpp).
StepOutcome ImageSize(StepContext& step);
StepOutcome CanvasSize(StepContext& step);
StepOutcome Crop(StepContext& step);
StepOutcome FlipStep(StepContext& step);
StepOutcome Rotate(StepContext& step);
StepOutcome Trim(StepContext& step);

// Helpers shared by the handlers.
// The current pixel layer's pixels changed by `change` within the selection.
template <typename Change>
void ChangePixelsWithinSelection(Document& document, Layer& layer, Change change);
// A new layer of a kind with the values of a 'Usng' layer object (name, opacity, mode...).
void ApplyLayerSettings(Document& document, Layer& layer, const Descriptor& settings);

}  // namespace zem::document::steps

#include "document/steps/SelectionMix.h"
