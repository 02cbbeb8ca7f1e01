// Bump mapping, vertex stage: light and eye vectors in the tangent frame.
// Nothing supplies the tangent (ulight), so it is usually zero: every
// normalisation is guarded so that a zero vector stays zero instead of NaN.
#version 110

attribute vec3 ulight;
attribute vec4 Al;

varying vec3 lightVec;
varying vec3 eyeVec;
varying vec2 texCoord;
varying float occlusion;

vec3 safeNormalize(vec3 v)
{
    float len = length(v);
    return len > 0.0 ? v / len : vec3(0.0);
}

void main()
{
    gl_Position = ftransform();
    texCoord = gl_MultiTexCoord0.xy;

    vec3 n = safeNormalize(gl_NormalMatrix * gl_Normal);
    vec3 t = safeNormalize(gl_NormalMatrix * ulight);
    vec3 b = cross(n, t);

    vec3 eyePosition = vec3(gl_ModelViewMatrix * gl_Vertex);
    vec3 toLight = gl_LightSource[0].position.xyz - eyePosition;
    lightVec = vec3(dot(toLight, t), dot(toLight, b), dot(toLight, n));
    vec3 toEye = -eyePosition;
    eyeVec = vec3(dot(toEye, t), dot(toEye, b), dot(toEye, n));

    occlusion = Al.w;
    gl_FrontColor = gl_Color;
}
