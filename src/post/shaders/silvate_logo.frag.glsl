// The second group's logo: a slightly desaturated colour map lit by the vertex
// colour, revealed by the alpha map like the show's logo.
#version 110

uniform sampler2D colorMap;
uniform sampler2D alphaMap;
uniform float dval;
uniform float strength; // declared for the callers; the stage does not read it

const vec3 lumWeights = vec3(0.572125, 0.67154, 0.57221);

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec3 color = texture2D(colorMap, uv).rgb;
    color = mix(vec3(dot(color, lumWeights)), color, 0.935);
    if (texture2D(alphaMap, uv).r >= dval)
        discard;
    gl_FragColor = vec4(gl_Color.rgb * color + gl_Color.rgb, 1.0);
}
