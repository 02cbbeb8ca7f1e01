// Shared vertex stage of the screen passes and the logo programs: the vertex
// colour goes to the fragment stage twice, as the front colour and as Y, which
// steers the caustic of the depth-of-field pass.
#version 110

varying vec4 Y;

void main()
{
    gl_FrontColor = gl_Color;
    Y = gl_Color;
    gl_TexCoord[0] = gl_TextureMatrix[0] * gl_MultiTexCoord0;
    gl_Position = ftransform();
}
