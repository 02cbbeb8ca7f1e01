// Bump mapping, fragment stage: the normal map perturbs light 0's diffuse and
// specular terms; reverse (+1 or -1) lights the front or the back of the bumps.
#version 110

uniform sampler2D colorMap;
uniform sampler2D alphaMap;
uniform float reverse;

varying vec3 lightVec;
varying vec3 eyeVec;
varying vec2 texCoord;
varying float occlusion; // carried for the mesh data; not used here

const float invRadius = -3.715; // negative: the attenuation is 1 at every distance
const vec4 AO = vec4(0.74, 0.74, 0.74, 1.0);

vec3 safeNormalize(vec3 v)
{
    float len = length(v);
    return len > 0.0 ? v / len : vec3(0.0);
}

void main()
{
    float att = clamp(1.0 - invRadius * length(lightVec), 0.0, 1.0);
    vec3 L = safeNormalize(lightVec);
    vec3 V = safeNormalize(eyeVec);
    vec4 base = texture2D(colorMap, texCoord);
    vec3 bump = safeNormalize(texture2D(alphaMap, texCoord).rgb * 2.0 - 1.0);

    vec4 ambient = gl_LightSource[0].ambient * gl_FrontMaterial.ambient * AO;
    ambient.rgb *= gl_Color.a;
    float diffuseTerm = max(dot(reflect(reverse * L, bump), -V), 0.0);
    vec4 diffuse = diffuseTerm * gl_LightSource[0].diffuse * gl_FrontMaterial.diffuse;
    float specularTerm = pow(clamp(dot(reflect(-L, bump), V), 0.0, 1.0), gl_FrontMaterial.shininess);
    vec4 specular = specularTerm * gl_LightSource[0].specular * gl_FrontMaterial.specular;

    gl_FragColor = 1.5 * gl_Color * (ambient * base + diffuse * base + specular) * att * base
                 + 1.5 * gl_Color * base / 8.0;
}
