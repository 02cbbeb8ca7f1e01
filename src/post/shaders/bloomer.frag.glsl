// The glow of the beast's cubes: 36 reflected neighbours squared into a bloom,
// then a blend from a cool blue to a hot orange as strength rises.
#version 110

uniform sampler2D bgl_RenderedTexture;
uniform float strength;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec4 o = texture2D(bgl_RenderedTexture, uv);
    vec4 sum = vec4(0.0);
    for (int i = -3; i < 3; i++) {
        for (int j = -3; j < 3; j++) {
            vec4 s = texture2D(bgl_RenderedTexture, uv + vec2(float(j), float(i)) * 0.004);
            sum += reflect(s * 0.35, o);
        }
    }
    vec4 pass = sum * sum * 0.0025 + o * 0.5;
    vec4 cool = vec4(0.05 * pass.r, 0.15 * pass.g, 0.5 * pass.b, pass.a);
    vec4 hot = vec4(pass.r, 0.1 * pass.g, 0.38 * pass.b, pass.a) * 1.5;
    gl_FragColor = mix(cool, hot, strength);
}
