#include "gfx/image_manager.h"

#include <GL/glu.h>
#include <IL/il.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/data_dir.h"
#include "core/embedded.h"
#include "core/log.h"

namespace {

ImageManager* gManager = nullptr;
GLuint gOverlayTexture = 0;

[[noreturn]] void failToLoad(const char* path)
{
    logWrite(" -> IMAGE MANAGER :: failed to load '%s'\n", path);
    std::string cause = "cannot load the image '" + dataFile(path) + "'";
    failAndExit(cause.c_str());
}

// One screen quad as a triangle strip, texture coordinates 0..1 over x0..x1, y0..y1.
GLuint buildQuadList(float x0, float x1, float y0, float y1)
{
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x0, y1);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x1, y0);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x0, y0);
    glEnd();
    glEndList();
    return list;
}

} // namespace

GLuint ImageManager::loadImage(const char* path, bool mipmapped, bool clampToEdge)
{
    ilInit();
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT); // the first row handed to GL is the picture's bottom

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    if (!ilLoadImage(dataFile(path).c_str()) || !ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        ilBindImage(0);
        ilDeleteImages(1, &image);
        failToLoad(path);
    }
    width = ilGetInteger(IL_IMAGE_WIDTH);
    height = ilGetInteger(IL_IMAGE_HEIGHT);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (mipmapped) {
        // GLU rescales sides that are not powers of two.
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, ilGetData());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, ilGetData());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (clampToEdge) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }

    ilBindImage(0);
    ilDeleteImages(1, &image);
    logWrite(" -> IMAGE MANAGER :: '%s' loaded.\n", path);
    return texture;
}

bool loadDeviceBitmap(uint8_t id, DeviceBitmap& bitmap)
{
    std::string name = "images/bitmap" + std::to_string(id) + ".png";
    const EmbeddedFile* file = embeddedResource(name);
    if (!file)
        return false;

    ilInit();
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT); // bitmaps store their bottom row first
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool ok = ilLoadL(IL_PNG, file->data, static_cast<ILuint>(file->size)) &&
              ilConvertImage(IL_BGR, IL_UNSIGNED_BYTE);
    if (ok) {
        bitmap.width = ilGetInteger(IL_IMAGE_WIDTH);
        bitmap.height = ilGetInteger(IL_IMAGE_HEIGHT);
        size_t rowBytes = static_cast<size_t>(bitmap.width) * 3;
        size_t stride = (rowBytes + 3) & ~size_t{3};
        bitmap.bits.assign(stride * bitmap.height, 0);
        const uint8_t* source = ilGetData();
        for (int row = 0; row < bitmap.height; ++row)
            std::memcpy(&bitmap.bits[row * stride], source + row * rowBytes, rowBytes);
    }
    ilBindImage(0);
    ilDeleteImages(1, &image);
    return ok;
}

GLuint ImageManager::loadBitmapResource(uint8_t id)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    DeviceBitmap bitmap;
    if (!loadDeviceBitmap(id, bitmap))
        return texture;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, bitmap.width, bitmap.height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                      bitmap.bits.data());
    return texture;
}

void ImageManager::bind(GLuint texture)
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void ImageManager::buildQuadLists()
{
    quadList[0] = buildQuadList(0.0f, 1.0f, 0.0f, 1.0f);
    quadList[1] = buildQuadList(-1.0f, 1.0f, -1.0f, 1.0f);
    quadList[2] = buildQuadList(-2.0f, 2.0f, -1.0f, 1.0f);
    quadList[3] = buildQuadList(-3.0f, 3.0f, -0.375f, 0.375f);
}

void createImageManager()
{
    if (!gManager)
        gManager = new ImageManager;
}

ImageManager& imageManager()
{
    createImageManager();
    return *gManager;
}

void destroyImageManager()
{
    if (!gManager)
        return;
    for (GLuint list : gManager->quadList)
        if (list != 0)
            glDeleteLists(list, 1);
    delete gManager;
    gManager = nullptr;
}

void loadOverlayTexture()
{
    gOverlayTexture = imageManager().loadImage("data/gfx/overlay.png", true, false);
}

void releaseOverlayTexture()
{
    if (gOverlayTexture != 0)
        glDeleteTextures(1, &gOverlayTexture);
    gOverlayTexture = 0;
}

GLuint overlayTexture()
{
    return gOverlayTexture;
}
