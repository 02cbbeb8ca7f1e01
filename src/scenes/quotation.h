// The opening quotation: lit, textured 3D letters seen by a slowly moving
// camera in two shots; the recall at the end of the show draws it again.
// Its set-up also loads the bitmap font that every text of the show uses.
#pragma once
#include "core/vec3.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// Loads the font image and the title texture, builds the font lists and loads
// the title model. A file that cannot be loaded ends the program.
void setupQuotation(const Stage& stage);
// call.r: progress of the shot in [0, 1]; call.mode: shot 0 or 1.
void drawQuotation(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);
void releaseQuotation();

// Where the camera stands and looks in a shot; any other shot gives zeros.
struct QuotationCamera {
    Vec3 eye;
    Vec3 target;
};
QuotationCamera quotationCamera(float t, int shot);
// Light 0 follows the camera: above and behind it, seen from the target.
void quotationLightPosition(const QuotationCamera& camera, float out[4]);
