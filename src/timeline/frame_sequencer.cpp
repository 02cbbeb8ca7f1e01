#include "timeline/frame_sequencer.h"

#include <epoxy/gl.h>

#include <iterator>

#include "core/frame_timer.h"
#include "effects/sky_and_ground.h"
#include "effects/credits.h"
#include "effects/opening_text.h"
#include "effects/scenes_to_come.h"
#include "gfx/bitmap_text.h"
#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"
#include "gfx/shader_program.h"
#include "platform/platform.h"

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

const Vec3 kEmber{1.0f, 0.45f, 0.125f};

Backdrop backdrop(Vec3 colour, float alpha, int mode)
{
    Backdrop b;
    b.present = true;
    b.colour = colour;
    b.alpha = alpha;
    b.mode = mode;
    return b;
}

BlurValues blur(float outline, Vec3 tint, float blurShare, float outlineShare)
{
    BlurValues b;
    b.outline = outline;
    b.tint = tint;
    b.strength[0] = blurShare;
    b.strength[1] = outlineShare;
    return b;
}

FinalValues grading(float saturation, float godrays, Vec3 ambient, float bias, float focus, float alpha)
{
    FinalValues f;
    f.saturation = saturation;
    f.godrayintensity = godrays;
    f.ambientCol = ambient;
    f.bias = bias;
    f.focus = focus;
    f.alpha = alpha;
    return f;
}

void useQuad(FinalValues& f, FinalQuad quad, float amount)
{
    f.quad = quad;
    f.amount = amount;
}

// --- The show table: one function per window, in the order of the show. ---

WindowValues quotation(Window w, int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[w]);
    bool first = (w == Window::Citation);
    float a = first ? bump(r, 0.0f, 1.0f, 2.5f) : ramp(r, 0.0f, 0.1f) - ramp(r, 0.95f, 1.0f);
    v.scene = {Scene::OpeningText, r, first ? 0 : 1};
    v.backdrop = backdrop({0.8f, 0.8f, 0.8f}, 1.0f, 3);
    v.backdrop.lightingOffAfter = true;
    v.blur = blur(0.0f, {0.8f, 0.8f, 0.8f}, 0.35f, 0.65f);
    v.final = grading(first ? 2.0f * r + 0.35f : 1.5f, 0.0f, {1.0f, 0.9f, 0.9f}, 0.01135f, 0.72f, a);
    return v;
}

WindowValues mist(Window w, int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[w]);
    bool under = (w == Window::SousLaBrume);
    float s = bump(r, 0.0f, 1.0f, 1.85f);
    float m = windowRamp(t, ws[Window::SousLaBrume]);
    v.scene = {Scene::Mist, r, under ? 1 : 0};
    v.backdrop = backdrop({0.95f, 0.95f, 0.95f}, 1.0f, 0);
    v.blur = blur(1.0f, lerp(kEmber, {0.98f, 0.5f, 0.725f}, ramp(m, 0.0f, 0.1f)), 0.85f, 0.15f);
    float bias = (1.0f - s) * 0.0125f + 0.015285750253051612f;
    if (under)
        v.final = grading(0.62762548552f * s, 0.25f, {0.95f, 0.95f, 1.0f}, bias, 0.72f, s);
    else
        v.final = grading(0.62762548552f * s, 0.51f, lerp({0.9f, 0.95f, 1.0f}, {1.2f, 0.85f, 0.75f}, ramp(r, 0.05f, 0.525f)),
                        bias, 0.72f, s);
    v.overlays.lensFlares = under ? 1 : 0;
    v.overlays.lensFlaresR = r;
    return v;
}

WindowValues directorcut(int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[Window::OuGitLaBete]); // reaches only 0.75 inside the window
    float a = bump(r, 0.0f, 1.0f, 2.5f);
    float b = ramp(r, 0.0f, 0.1f);
    float e = 1.0f - ramp(r, 0.8f, 1.0f);
    v.scene = {Scene::Lair, r, 0};
    v.backdrop = backdrop({0.85f, 0.85f, 0.85f}, 1.0f, 0);
    v.backdrop.translateY = -5.0f;
    v.blur = blur(1.0f, lerp(kEmber, {0.28f, 0.5f, 0.725f}, b), 0.85f, 0.15f);
    v.final = grading(0.62762547f, 0.325f, {1.2f, 0.85f, 0.7f}, (1.0f - b) * 0.0125f + e * 0.01652857502530516f, 0.72f, a);
    useQuad(v.final, FinalQuad::Zoom,
            0.8f - 0.8f * ramp(r, 0.0f, 0.125f) + ramp(r, 0.815f, 1.0f) + 0.4f * bump(r, 0.4f, 0.5f, 1.0f));
    v.overlays.lensFlares = 2;
    v.overlays.lensFlaresR = r;
    return v;
}

WindowValues beast(Window w, int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[w]);
    float a = bump(r, 0.0f, 1.0f, 2.5f);
    v.final = grading(0.62762547f, 0.325f, {1.2f, 0.85f, 0.7f}, 0.016528575f, 0.72f, a);
    v.backdrop = backdrop({0.85f, 0.85f, 0.85f}, 1.0f, 0);
    if (w == Window::Linkbeast) {
        // The beast moves on the longer linkbeast2 ramp, already 0.57 here.
        v.scene = {Scene::Beast, windowRamp(t, ws[Window::Linkbeast2]), 0};
        v.backdrop.translateY = -5.0f;
        v.blur = blur(1.0f, {1.0f, 1.0f, 1.0f}, 0.85f, 0.15f);
        useQuad(v.final, FinalQuad::Mirror, 15.0f * r);
    } else {
        v.scene = {Scene::Beast, r, 0};
        v.blur = blur(1.0f, lerp(kEmber, {0.28f, 0.5f, 0.725f}, ramp(r, 0.0f, 0.1f)), 0.85f, 0.15f);
    }
    return v;
}

WindowValues clouds(int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[Window::DansLesNuees]);
    float a = bump(r, 0.0f, 1.0f, 5.0f);
    float b = ramp(r, 0.0f, 0.1f);
    v.scene = {Scene::Moon, r, 0};
    v.backdrop = backdrop({0.75f, 0.76f, 0.8f}, 0.95f, 1);
    v.blur = blur(1.0f, lerp({0.0f, 0.45f, 0.825f}, {0.4f, 0.25f, 0.8725f}, b), 0.275f, 0.725f);
    v.final = grading(0.62762547f, 0.425f, {1.0f, 0.85f, 1.1f}, 0.0128f - 0.01f * bump(r, 0.68f, 0.725f, 1.0f), 0.722f,
                    a - 0.35f * bump(r, 0.255f, 0.27f, 1.0f));
    v.final.colour[0] = v.final.colour[1] = v.final.colour[2] = 0.95f;
    useQuad(v.final, FinalQuad::Zoom, 0.4f - 0.25f * b + 0.55f * bump(r, 0.66f, 0.735f, 1.0f));
    v.overlays.lensFlares = 3;
    v.overlays.lensFlaresR = r;
    v.overlays.creditsPage = 1;
    v.overlays.creditsR = r;
    return v;
}

WindowValues iterations(int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[Window::Iterations]);
    float a = bump(r, 0.0f, 1.0f, 5.0f);
    v.scene = {Scene::Iterations, r, 0}; // draws its own sky and ground
    v.blur = blur(0.0f, {1.0f, 1.0f, 1.0f}, 0.75f, 1.0f);
    v.final = grading(1.1727625f, 0.3f, {1.0f, 1.0f, 1.05f}, 0.0148f, 0.522f, a);
    useQuad(v.final, FinalQuad::Zoom, 1.0f - 0.9f * a);
    return v;
}

WindowValues roots(int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[Window::Roots]);
    float f = ramp(r, 0.46f, 0.501f) - ramp(r, 0.501f, 0.52f); // the flash
    float g = ramp(r, 0.501f, 0.52f);
    float a = bump(r, 0.0f, 1.0f, 5.0f);
    v.scene = {Scene::Roots, r, 0};
    v.backdrop = backdrop({0.75f, 0.76f, 0.8f}, 0.95f, 2);
    v.blur = blur(0.0f, lerp({0.1f, 0.85f, 0.95f}, {1.0f, 0.9f, 0.9f}, ramp(g, 0.0f, 0.1f)), 0.5f, 0.5f);
    float bias = r < 0.501f ? 0.0128f : 0.01873158f - 0.022f * bump(r, 0.66f, 0.735f, 1.0f);
    v.final = grading(0.852762548552f * (1.0f - f), 0.0f, {1.25f, 0.9f, 0.59f}, bias, 0.322f,
                    a - 0.4f * bump(r, 0.1825f, 0.19f, 1.0f) - 0.4f * bump(r, 0.275f, 0.285f, 1.0f));
    useQuad(v.final, FinalQuad::Zoom, 0.35f - 0.25f * ramp(r, 0.0f, 0.1f) + 0.55f * bump(r, 0.66f, 0.735f, 1.0f));
    v.overlays.flash = f;
    v.overlays.titleWords = titleWordFade(0, r) > 0.0f;
    v.overlays.r = r;
    return v;
}

WindowValues branch(Window w, int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[w]);
    bool first = (w == Window::Noname);
    v.scene = {Scene::Branch, r, first ? 0 : 1};
    v.backdrop = backdrop({0.8f, 0.8f, 0.8f}, 1.0f, 2);
    v.backdrop.lightingOff = false; // lit as the scene leaves it
    v.blur = blur(1.0f, {0.5f, 0.7f, 1.0f}, 0.35f, 0.65f);
    v.final = grading(0.7276255f, 0.0f, {1.0f, 1.0f, 1.05f}, 0.0148f, 0.522f, first ? ramp(r, 0.0f, 0.1f) : 1.0f);
    return v;
}

WindowValues greetings(int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[Window::Greetings]);
    v.scene = {Scene::Greetings, r, 0};
    v.blur = blur(0.0f, {0.5f, 0.7f, 1.0f}, 0.35f, 0.65f);
    v.final = grading(2.5727625f, 0.0f, {1.0f, 1.0f, 1.05f}, 0.0148f, 0.522f, 1.0f);
    v.overlays.glow = true;
    v.overlays.greetingNames = true;
    v.overlays.r = r;
    return v;
}

WindowValues recall(int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    float r = windowRamp(t, ws[Window::Rappel]);
    v.scene = {Scene::OpeningText, r, 1};
    v.backdrop = backdrop({0.8f, 0.8f, 0.8f}, 1.0f, 3);
    v.backdrop.lightingOffAfter = true;
    v.blur = blur(0.0f, {0.8f, 0.8f, 0.8f}, 0.35f, 0.65f);
    float saturation = inWindow(t, ws[Window::Citation]) ? 2.0f * r + 0.35f : 1.85f * (1.0f - r);
    v.final = grading(saturation, 0.0f, {1.0f, 0.9f, 0.9f}, 0.01135f + 0.075f * r, 0.72f, 1.0f - r);
    v.overlays.creditsPage = 0;
    v.overlays.creditsR = r;
    v.overlays.quit = r > 0.98f; // 0.98 itself goes on
    return v;
}

// --- Drawing. ---

void drawSceneCall(const SceneCall& call)
{
    switch (call.scene) {
    case Scene::OpeningText: drawOpeningText(call.r, call.mode); break;
    case Scene::Mist: drawMistScene(call.r, call.mode); break;
    case Scene::Lair: drawLairScene(call.r); break;
    case Scene::Beast: drawBeastScene(call.r); break;
    case Scene::Moon: drawMoonScene(call.r); break;
    case Scene::Iterations: drawIterationsScene(call.r); break;
    case Scene::Roots: drawRootsScene(call.r); break;
    case Scene::Branch: drawBranchScene(call.r, call.mode); break;
    case Scene::Greetings: drawGreetingsScene(call.r, call.mode); break;
    }
}

void drawBackdrop(const Backdrop& b)
{
    if (!b.present)
        return;
    if (b.lightingOff)
        glDisable(GL_LIGHTING);
    if (b.translateY != 0.0f)
        glTranslatef(0.0f, b.translateY, 0.0f);
    drawSkyAndGround(b.colour, b.alpha, Vec3::zero(), b.mode, frameTimer().elapsed);
    if (b.lightingOffAfter)
        glDisable(GL_LIGHTING);
}

void drawTitleWords(float r)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_FOG);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    imageManager().bind(fontTexture());
    const Vec3 position{-75.0f, -5.0f, -95.0f};
    for (int i = 0; i < 4; ++i)
        drawText(position, titleWordFade(i, r), kTitleWords[i]);
}

void drawGreetingNames(float r)
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    imageManager().bind(fontTexture());
    for (int i = 0; i < 8; ++i) {
        const GreetingSlot& slot = kGreetingSlots[i];
        drawDecodingText(slot.far, r, slot.start, slot.end, 1.0f, kGreetingNames[i]);
        drawDecodingText(slot.echo, r, slot.start, slot.echoEnd, slot.echoAlpha, kGreetingNames[i]);
    }
}

void drawOverlays(const Overlays& o)
{
    if (o.lensFlares >= 0)
        drawLensFlares(o.lensFlaresR, o.lensFlares);
    if (o.creditsPage >= 0)
        drawCredits(o.creditsR, o.creditsPage);
    if (o.flash > 0.0f) {
        glColor4f(0.7f, 0.85f, 1.0f, o.flash); // blending is still source-alpha, one
        imageManager().bind(proceduralTextures().flare);
        imageManager().drawZoomed(0.95f * o.flash);
    }
    if (o.titleWords)
        drawTitleWords(o.r);
    if (o.glow) {
        const float left[3] = {0.05f, 0.25f, 0.5f};
        const float right[3] = {0.05f, 0.25f, 0.04f};
        imageManager().drawStreaks(4, 0.015f, left, right, blurTarget()->colorTexture);
    }
    if (o.greetingNames)
        drawGreetingNames(o.r);
}

} // namespace

float titleWordFade(int i, float r)
{
    const float starts[4] = {0.005f, 0.01f, 0.015f, 0.02f};
    return bump(r, starts[i], 0.07f, 2.0f);
}

std::vector<Window> compositesAt(int32_t t, const MarkerWindows& ws)
{
    std::vector<Window> order;
    auto test = [&](Window w) {
        if (inWindow(t, ws[w]))
            order.push_back(w);
        return inWindow(t, ws[w]);
    };
    // Of a pair sharing one test, the first window that holds t is the one drawn.
    if (!test(Window::SousLaBrume))
        test(Window::DansLeBrouillard);
    for (Window w : {Window::Directorcut, Window::Linkbeast, Window::LaBeteSeDechaine, Window::DansLesNuees,
                     Window::Roots, Window::Iterations, Window::Noname, Window::Noname2, Window::Greetings})
        test(w);
    if (!test(Window::Citation))
        test(Window::Citation2);
    test(Window::Rappel);
    return order;
}

WindowValues windowValues(Window w, int32_t t, const MarkerWindows& ws)
{
    WindowValues v;
    switch (w) {
    case Window::Citation:
    case Window::Citation2: v = quotation(w, t, ws); break;
    case Window::SousLaBrume:
    case Window::DansLeBrouillard: v = mist(w, t, ws); break;
    case Window::Directorcut: v = directorcut(t, ws); break;
    case Window::Linkbeast:
    case Window::LaBeteSeDechaine: v = beast(w, t, ws); break;
    case Window::DansLesNuees: v = clouds(t, ws); break;
    case Window::Iterations: v = iterations(t, ws); break;
    case Window::Roots: v = roots(t, ws); break;
    case Window::Noname:
    case Window::Noname2: v = branch(w, t, ws); break;
    case Window::Greetings: v = greetings(t, ws); break;
    case Window::Rappel: v = recall(t, ws); break;
    default: break; // the ramp-only windows and demoend have no composite
    }
    v.window = w;
    return v;
}

bool showEndsAt(int32_t t, const MarkerWindows& ws)
{
    if (inWindow(t, ws[Window::Rappel]) && windowValues(Window::Rappel, t, ws).overlays.quit)
        return true;
    return inWindow(t, ws[Window::Demoend]);
}

void FrameSequencer::drawFrame(int timeMs)
{
    const MarkerWindows& windows = markerWindows();
    for (Window w : compositesAt(timeMs, windows)) {
        const WindowValues v = windowValues(w, timeMs, windows);
        runPostChain([&v] {
            drawSceneCall(v.scene);
            drawBackdrop(v.backdrop);
        }, v.blur, v.final);
        drawOverlays(v.overlays);
        if (v.overlays.quit)
            platform::postQuit(0);
    }
    // Last of all in the frame: the end of the show.
    if (inWindow(timeMs, windows[Window::Demoend]))
        platform::postQuit(0);
}

Window shownWindow(int32_t t, const MarkerWindows& windows)
{
    std::vector<Window> order = compositesAt(t, windows);
    return order.empty() ? Window::Count : order.back();
}

const char* windowReportName(Window w)
{
    if (w == Window::Count)
        return "none";
    return kWindowDefinitions[static_cast<int>(w)].name;
}
