// Turns the scene's brightness into a stand-in for depth: with invert 1 the
// dark parts of the picture come out bright (far), the lit parts dark (near).
#version 110

uniform sampler2D sceneTex;
uniform float invert;

const float glow = 0.40;
const float saturation = 0.0;
const vec3 lumWeights = vec3(0.5125, 0.7154, 0.7221);

void main()
{
    vec3 rgb = texture2D(sceneTex, gl_TexCoord[0].st).rgb / 3.0;
    float grey = dot(rgb, lumWeights);
    vec3 c = mix(vec3(grey), rgb, saturation);
    c = c * (1.0 - invert) + (1.0 - c) * invert;
    gl_FragColor = vec4(glow * c, 1.0);
}
