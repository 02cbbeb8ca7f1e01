// The chain every scene goes through on its way to the screen: the scene into
// SceneTarget, its brightness as depth into DepthTarget, a blur (with an
// optional outline) into BlurTarget, and a depth-of-field and grading pass
// onto the window through a plain, zooming or mirrored full-screen quad.
#pragma once
#include <cstdint>
#include <functional>

#include "core/display_settings.h"
#include "gfx/image_manager.h"
#include "timeline/window_values.h"

// Runs the whole chain once; drawScene draws the scene and its backdrop into
// the bound SceneTarget, and the final pass draws into the window's viewport.
// Leaves texture unit 0 active and no program in use.
void runPostChain(ImageManager& images, const Viewport& window, const std::function<void()>& drawScene,
                  const BlurValues& blur, const FinalValues& final);
