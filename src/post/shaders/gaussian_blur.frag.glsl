// A cross-shaped blur of seven taps per axis, optionally mixed with a tinted
// outline. The weights are scaled without renormalising, so the blur also
// brightens the picture by about a third.
#version 110

uniform sampler2D fwdTex;
uniform float outline;
uniform float m_r;
uniform float m_g;
uniform float m_b;
uniform vec2 strength;

const float scale = 0.92;
const vec3 offsets = vec3(0.0, 1.3846153846, 3.2307692308) * scale / 1024.0; // a fixed 1024, whatever the target
const vec3 weights = vec3(0.2270270270, 0.3162162162, 0.0702702703) * scale;

vec3 axisSum(vec2 uv, vec2 direction)
{
    vec3 sum = texture2D(fwdTex, uv).rgb * weights.x;
    sum += texture2D(fwdTex, uv + direction * offsets.x).rgb * weights.x;
    sum += texture2D(fwdTex, uv - direction * offsets.x).rgb * weights.x;
    sum += texture2D(fwdTex, uv + direction * offsets.y).rgb * weights.y;
    sum += texture2D(fwdTex, uv - direction * offsets.y).rgb * weights.y;
    sum += texture2D(fwdTex, uv + direction * offsets.z).rgb * weights.z;
    sum += texture2D(fwdTex, uv - direction * offsets.z).rgb * weights.z;
    return sum;
}

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec3 blur = 0.5 * axisSum(uv, vec2(1.0, 0.0)) + 0.5 * axisSum(uv, vec2(0.0, 1.0));

    if (outline >= 1.0) {
        float x = clamp(uv.x, 0.004, 1.0) - 0.004;
        float y = clamp(uv.y, 0.004, 1.0) - 0.004;
        vec3 d = 1.0 - texture2D(fwdTex, uv).rgb;
        vec3 a = 1.0 - texture2D(fwdTex, vec2(x, uv.y)).rgb;
        vec3 b = 1.0 - texture2D(fwdTex, vec2(uv.x, y)).rgb;
        vec3 c = 1.0 - texture2D(fwdTex, vec2(x, y)).rgb;
        vec3 one = vec3(1.0);
        float e = dot(abs(d - a), one) + dot(abs(d - b), one) + 0.5 * dot(abs(d - c), one);
        vec3 edge = e * vec3(m_r, m_g, m_b);
        blur = blur * strength.x + edge * strength.y;
    }
    gl_FragColor = vec4(blur, 1.0);
}
