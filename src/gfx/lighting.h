// The one light and the front-and-back material every lit scene sets up, as
// named values, so that each scene writes only its own numbers.
#pragma once

struct LightSetup {
    float position[4];     // light 0, in the current model-view space
    float modelAmbient[4]; // the light model's ambient
    float ambient[4];      // light 0
    float diffuse[4];
    float specular[4];
    float materialAmbient[4];
    float materialDiffuse[4];
    float materialSpecular[4];
    float shininess;
};

// Light 0's position, the model ambient, light 0's colours, then the material.
void applyLightSetup(const LightSetup& light);
