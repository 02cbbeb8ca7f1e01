// The show's logo: colour under its occlusion, a pulsing overlay map, and a
// reveal that discards every texel whose alpha-map red has not yet been reached.
#version 110

uniform sampler2D colorMap;
uniform sampler2D aoMap;
uniform sampler2D alphaMap;
uniform sampler2D overMap;
uniform float dval;
uniform float strength;

const vec3 lumWeights = vec3(0.572125, 0.67154, 0.57221);

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec3 color = texture2D(colorMap, uv).rgb;
    vec3 ao = texture2D(aoMap, uv).rgb;
    vec3 over = texture2D(overMap, uv).rgb;
    vec3 final = color * ao + over * color * ao * strength * 1.45;
    final = mix(vec3(dot(final, lumWeights)), final, 0.935);
    if (texture2D(alphaMap, uv).r >= dval)
        discard;
    gl_FragColor = vec4(final, 1.0);
}
