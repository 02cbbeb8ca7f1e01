// The overlays drawn on the window after a composite's post chain, each with
// the GL state it needs set right before it.
#include "effects/overlays.h"

#include <epoxy/gl.h>

#include "effects/credits.h"
#include "effects/font.h"
#include "effects/lens_flares.h"
#include "gfx/bitmap_text.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "timeline/show_table.h"

const char* const kTitleWords[4] = {
    "BACK             ",
    "     TO          ",
    "        THE      ",
    "            ROOTS",
};

const char* const kGreetingNames[8] = {
    "NOCTILUX", "ASHVALE", "GLIMMERFEN", "VIREOX", "QUELLSTONE", "DUSKWEAVE", "ORBELLIS", "MERIDRAL",
};

namespace {

// Where each greeted name decodes: far, then a nearer, fainter echo that
// starts with it and lasts a little longer. Reveal times are in the ramp.
struct GreetingSlot {
    Vec3 far;
    float start, end;
    Vec3 echo;
    float echoEnd, echoAlpha;
};
const GreetingSlot kGreetingSlots[8] = {
    {{-45, 0, -50}, 0.065f, 0.12f, {-25, -5, -25}, 0.15f, 0.5f},
    {{0, 0, -55}, 0.1898f, 0.2448f, {-20, -5, -25}, 0.2748f, 0.5f},
    {{-40, 15, -55}, 0.315f, 0.37f, {-23, -2, -25}, 0.40f, 0.5f},
    {{-10, 0, -55}, 0.4398f, 0.4948f, {-10, 0, -25}, 0.5248f, 0.5f},
    {{0, -15, -55}, 0.5646f, 0.6196f, {-20, -5, -25}, 0.6496f, 0.5f},
    {{-5, 10, -55}, 0.6894f, 0.7444f, {-25, 5, -25}, 0.7744f, 0.35f},
    {{-45, 20, -55}, 0.8142f, 0.8692f, {-25, 5, -25}, 0.8992f, 0.35f},
    {{-5, -20, -55}, 0.939f, 0.994f, {-20, -5, -25}, 0.996f, 0.35f},
};

void drawTitleWords(float r)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_FOG);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    ImageManager::bind(fontTexture());
    const Vec3 position{-75.0f, -5.0f, -95.0f};
    for (int i = 0; i < 4; ++i)
        drawText(position, titleWordFade(i, r), kTitleWords[i]);
}

void drawGreetingNames(const std::vector<DecodedLine>& lines)
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    ImageManager::bind(fontTexture());
    for (size_t i = 0; i < 8 && 2 * i + 1 < lines.size(); ++i) {
        const GreetingSlot& slot = kGreetingSlots[i];
        drawDecodedText(slot.far, lines[2 * i], 1.0f);
        drawDecodedText(slot.echo, lines[2 * i + 1], slot.echoAlpha);
    }
}

} // namespace

OverlayText updateOverlays(const Overlays& o)
{
    OverlayText text;
    if (o.creditsPage)
        text.credits = decodeCredits(o.creditsR, *o.creditsPage);
    if (o.greetingNames) {
        for (int i = 0; i < 8; ++i) {
            const GreetingSlot& slot = kGreetingSlots[i];
            const char* name = kGreetingNames[i];
            text.greetings.push_back(decodeText(name, bitmaptext::colouredProgress(o.r, slot.start, slot.end)));
            text.greetings.push_back(decodeText(name, bitmaptext::colouredProgress(o.r, slot.start, slot.echoEnd)));
        }
    }
    return text;
}

void drawOverlays(const Overlays& o, const OverlayText& text, int width, int height)
{
    if (o.lensFlares)
        drawLensFlares(o.lensFlaresR, *o.lensFlares);
    if (o.creditsPage)
        drawCredits(o.creditsR, *o.creditsPage, text.credits);
    if (o.flash > 0.0f) {
        glColor4f(0.7f, 0.85f, 1.0f, o.flash); // blending is still source-alpha, one
        ImageManager::bind(proceduralTextures().flare);
        ImageManager::drawZoomed(0.95f * o.flash);
    }
    if (o.titleWords)
        drawTitleWords(o.r);
    if (o.glow) {
        const float left[3] = {0.05f, 0.25f, 0.5f};
        const float right[3] = {0.05f, 0.25f, 0.04f};
        ImageManager::drawStreaks(4, 0.015f, left, right, blurTarget()->colorTexture, static_cast<float>(width),
                                   static_cast<float>(height));
    }
    if (o.greetingNames)
        drawGreetingNames(text.greetings);
}
