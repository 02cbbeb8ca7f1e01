// The final pass of every window: a depth-of-field blur driven by the
// brightness-as-depth image, then saturation, colour grading, a column mask
// and a slow caustic pattern steered by the current colour (Y).
#version 110

uniform sampler2D bgl_RenderedTexture;
uniform sampler2D bgl_DepthTexture;
uniform float saturation;
uniform float godrayintensity;
uniform vec3 ambientCol;
uniform float bias;
uniform float focus;
uniform float alpha;

varying vec4 Y;

const float zNear = 0.1;
const float zFar = 500.0;
const float blurclamp = 1.5;
const vec2 aspectcorrect = vec2(1.0, 1024.0 / 768.0);
const vec3 lumWeights = vec3(0.572125, 0.67154, 0.57221);
const float PI = 3.1415926;

float hash(vec2 co)
{
    return fract(sin(dot(co, vec2(12.9898, 78.233))) * 43758.5453);
}

float norm(float x)
{
    return 0.5 * x + 0.5;
}

vec4 tap(vec2 uv, vec2 offset, vec2 spread, float k)
{
    return texture2D(bgl_RenderedTexture, uv + offset * spread * k);
}

void main()
{
    vec2 uv = gl_TexCoord[0].st;

    // The jittered depth sample; coordinates below 0 read the clamped border.
    float nx = clamp(hash(uv), 0.0, 1.0) * 2.0 - 1.0;
    float ny = clamp(hash(uv * 2.0), 0.0, 1.0) * 2.0 - 1.0;
    float d = texture2D(bgl_DepthTexture, vec2(nx, ny)).x;
    float z = 2.0 * zNear / (zFar + zNear - d * (zFar - zNear));
    float factor = texture2D(bgl_DepthTexture, uv).x - focus * z;
    vec2 spread = aspectcorrect * vec2(clamp(factor * bias, -blurclamp, blurclamp));

    vec4 col = texture2D(bgl_RenderedTexture, uv);
    col += tap(uv, vec2(0.0, 0.4), spread, 1.0);
    col += tap(uv, vec2(0.29, 0.29), spread, 1.0);
    col += tap(uv, vec2(0.4, 0.0), spread, 1.0);
    col += tap(uv, vec2(0.29, -0.29), spread, 1.0);
    col += tap(uv, vec2(0.0, -0.4), spread, 1.0);
    col += tap(uv, vec2(-0.29, 0.29), spread, 1.0);
    col += tap(uv, vec2(-0.4, 0.0), spread, 1.0);
    col += tap(uv, vec2(-0.29, -0.29), spread, 1.0);

    col += tap(uv, vec2(0.15, 0.37), spread, 0.9);
    col += tap(uv, vec2(0.37, -0.15), spread, 0.9);
    col += tap(uv, vec2(-0.15, 0.37), spread, 0.9);
    col += tap(uv, vec2(-0.37, -0.15), spread, 0.9);

    col += tap(uv, vec2(0.29, 0.29), spread, 0.7);
    col += tap(uv, vec2(0.29, -0.29), spread, 0.7);
    col += tap(uv, vec2(-0.29, 0.29), spread, 0.7);
    col += tap(uv, vec2(-0.29, -0.29), spread, 0.7);

    col += tap(uv, vec2(0.29, 0.29), spread, 0.4);
    col += tap(uv, vec2(0.29, -0.29), spread, 0.4);
    col += tap(uv, vec2(-0.29, 0.29), spread, 0.4);
    col += tap(uv, vec2(-0.29, -0.29), spread, 0.4);

    vec3 rgb = col.rgb;
    float grey = dot(rgb, lumWeights);
    rgb = mix(vec3(grey), rgb, saturation);

    // Grading: the depth-selected rotation of ambientCol (always the first for
    // depths below 1), then a mask that changes with every screen column.
    int rotation = int(mod(gl_FragCoord.z, 3.0));
    vec3 ambient = ambientCol;
    if (rotation == 1)
        ambient = ambientCol.gbr;
    else if (rotation == 2)
        ambient = ambientCol.brg;
    rgb *= ambient;
    int column = int(mod(gl_FragCoord.x, 3.0));
    vec3 mask = vec3(0.9, 1.2, 0.9);
    if (column == 0)
        mask = vec3(1.2, 0.9, 0.9);
    else if (column == 1)
        mask = vec3(0.9, 0.9, 1.2);
    rgb *= mask;

    vec2 p = uv * vec2(Y.w, 1.0) * 0.85 * 2.0 - 1.0;
    float g = p.x * (p.y + 3.0);
    float u = g + 46.0;
    float v = g + 44.0 * Y.y;
    float T = 1.5 * Y.y;
    float caustic = godrayintensity * (norm(sin(2.0 * PI * (u + v + T))) + norm(sin(PI * (v - u - T)))
                                       + norm(sin(PI * (v + T))) + norm(sin(3.0 * PI * (u - T))));
    caustic = caustic * caustic;
    rgb *= 1.0 - 0.135 * caustic * norm(p.y);

    gl_FragColor = vec4(rgb / 22.0, alpha); // 21 taps over 22: the pass darkens slightly
}
