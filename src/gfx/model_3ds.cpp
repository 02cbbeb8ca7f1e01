// Loading a 3DS file from disk and drawing it with client-side vertex arrays.
#include "gfx/model_3ds.h"

#include <epoxy/gl.h>

#include <cstdio>

#include "core/data_dir.h"
#include "core/log.h"

namespace {

bool readWholeFile(const std::string& name, std::vector<uint8_t>& bytes, std::string& error)
{
    FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) {
        error = "the file cannot be opened";
        return false;
    }
    bytes.clear();
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "the file cannot be read";
        return false;
    }
    return true;
}

} // namespace

bool Model_3DS::tryLoad(const char* name, std::string& error)
{
    filename = model3ds::stripQuotes(name);
    std::string directory = model3ds::directoryOf(filename);
    if (!directory.empty())
        path = directory;

    std::vector<uint8_t> bytes;
    if (readWholeFile(dataFile(filename), bytes, error) && loadFromBytes(bytes.data(), bytes.size(), error))
        return true;
    logWrite("%s", model3ds::failureLogLine(filename, error).c_str());
    return false;
}

void Model_3DS::Load(const char* name)
{
    std::string error;
    if (!tryLoad(name, error))
        failAndExit(("cannot load the model '" + dataFile(filename) + "': " + error).c_str());
}

void Model_3DS::Draw(bool applyColor)
{
    if (!visible)
        return;
    glPushMatrix();
    glTranslatef(pos.x, pos.y, pos.z);
    glRotatef(rot.x, 1.0f, 0.0f, 0.0f);
    glRotatef(rot.y, 0.0f, 1.0f, 0.0f);
    glRotatef(rot.z, 0.0f, 0.0f, 1.0f);
    glScalef(scale, scale, scale);

    for (size_t k = 0; k < Objects.size(); ++k) {
        Object& object = Objects[k];
        if (object.textured)
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        if (lit)
            glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, object.TexCoords.data());
        glNormalPointer(GL_FLOAT, 0, object.Normals.data());
        glVertexPointer(3, GL_FLOAT, 0, object.Vertexes.data());

        for (const FaceGroup& group : object.MatFaces) {
            glPushMatrix();
            glTranslatef(object.pos.x, object.pos.y, object.pos.z);
            if (applyColor) {
                if (k == 0)
                    glColor4f(0.0f, 0.0f, 0.0f, 1.0f); // the backing
                else
                    glColor4f(0.95f, 0.758f, 0.715f, 1.0f);
            }
            // The reverse order of the model's own rotation.
            glRotatef(object.rot.z, 0.0f, 0.0f, 1.0f);
            glRotatef(object.rot.y, 0.0f, 1.0f, 0.0f);
            glRotatef(object.rot.x, 1.0f, 0.0f, 0.0f);
            glDrawElements(GL_TRIANGLES, group.numSubFaces, GL_UNSIGNED_SHORT, group.subFaces.data());
            glPopMatrix();
        }
    }

    if (shownormals) {
        glDisable(GL_TEXTURE_2D);
        if (lit)
            glDisable(GL_LIGHTING);
        glColor3f(0.0f, 0.0f, 1.0f);
        glBegin(GL_LINES);
        for (const Object& object : Objects) {
            for (int32_t i = 0; i < object.numVerts; ++i) {
                const float* v = &object.Vertexes[3 * i];
                const float* n = &object.Normals[3 * i];
                glVertex3f(v[0], v[1], v[2]);
                glVertex3f(v[0] + n[0], v[1] + n[1], v[2] + n[2]);
            }
        }
        glEnd();
        if (lit)
            glEnable(GL_LIGHTING);
        glColor3f(1.0f, 1.0f, 1.0f);
    }

    glPopMatrix(); // the client-side arrays stay enabled
}
