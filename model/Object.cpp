// Object.cpp: loading, flattening and transforming a model. No GL here
// beyond the texture that load makes through image/Texture.
#include "model/Object.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "common/LoadTimes.h"
#include "common/ShowGlobals.h"
#include "image/Message.h"
#include "image/Texture.h"
#include "reader3ds/Reader3DS.h"

void failModelAllocation()
{
    errno = ENOMEM;
    std::perror("malloc");
    std::printf("malloc\n");
    std::fflush(stdout);
    // A model the show cannot hold is fatal, and the exit status says so.
    std::exit(EXIT_FAILURE);
}

void rotateVector(int ax, int ay, int az, const float* in, float* out)
{
    // Callers pass 0..359; anything else would index past the tables.
    ax = tableIndex(ax);
    ay = tableIndex(ay);
    az = tableIndex(az);
    const float sx = SIN_TABLE[ax], cx = COS_TABLE[ax];
    const float sy = SIN_TABLE[ay], cy = COS_TABLE[ay];
    const float sz = SIN_TABLE[az], cz = COS_TABLE[az];
    const float x = in[0], y = in[1], z = in[2];
    // The order of these products is part of the result: the bodies'
    // simulation turns its points by the same amounts and must agree.
    const float m = y * sx + z * cx;
    const float r = y * cx - z * sx;
    const float o = x * cy - m * sy;
    out[0] = o * cz - r * sz;
    out[1] = r * cz + o * sz;
    out[2] = m * cy + x * sy;
}

void Object::load(const std::string& fileName)
{
    const LoadTimer timer(LoadKind::Models);
    Reader3DS reader;
    if (!reader.LoadFile(fileName)) {
        // The box names no file; the line before it says which one and why.
        std::printf("Cannot load %s: %s\n", fileName.c_str(), reader.GetLastError().c_str());
        showMessage("Loading .3ds file in Object.cpp failed", "LOADING ERROR");
    } else if (reader.GetDamage() != 0) {
        // The reader's damage lines name no file either.
        std::printf("Loaded %s with damage: %s\n", fileName.c_str(), reader.GetLastError().c_str());
    }
    // Every model with materials wears the same box picture; the file's own
    // material textures are not used.
    const bool hasMaterials = reader.GetMaterialCount() != 0;
    if (hasMaterials) textureFromBmp("./data/box3.bmp", textureB);
    buildFrom(reader, hasMaterials);
    std::printf("Loaded the 3DS Object.\n");
}

void Object::buildFrom(const Reader3DS& reader, bool hasMaterials)
{
    const unsigned meshCount = reader.GetMeshCount();
    std::printf("Nr of meshes: %d\n", static_cast<int>(meshCount));

    std::size_t vertexTotal = 0;
    std::size_t faceTotal = 0;
    for (unsigned m = 0; m < meshCount; ++m) {
        vertexTotal += reader.GetMesh(m).GetVertexCount();
        faceTotal += reader.GetMesh(m).GetTriangleCount();
    }
    vertexCount = static_cast<int>(vertexTotal);
    faceCount = static_cast<int>(faceTotal);

    // Zero-sized arrays (no meshes, no triangles) are fine: nothing to draw.
    allocateModelArray(basePositions, vertexTotal * 3);
    allocateModelArray(positions, vertexTotal * 3);
    allocateModelArray(baseNormals, vertexTotal * 3);
    allocateModelArray(normals, vertexTotal * 3);
    allocateModelArray(faces, faceTotal);
    allocateModelArray(baseFaceNormals, faceTotal * 3);
    allocateModelArray(faceNormals, faceTotal * 3);
    allocateModelArray(cornerIndices, faceTotal * 3);

    std::size_t first = 0;
    std::size_t firstFace = 0;
    for (unsigned m = 0; m < meshCount; ++m) {
        const Mesh& mesh = reader.GetMesh(m);
        const unsigned meshVertices = mesh.GetVertexCount();
        for (unsigned i = 0; i < meshVertices; ++i) {
            const r3ds::Vec4& p = mesh.GetVertex(i);
            const r3ds::Vec3& n = mesh.GetNormal(i);
            const std::size_t at = (first + i) * 3;
            basePositions[at] = positions[at] = p.x;
            basePositions[at + 1] = positions[at + 1] = p.y;
            basePositions[at + 2] = positions[at + 2] = p.z;
            baseNormals[at] = normals[at] = n.x;
            baseNormals[at + 1] = normals[at + 1] = n.y;
            baseNormals[at + 2] = normals[at + 2] = n.z;
        }
        // The reader's finished meshes only name their own vertices, so
        // every index below stays inside this mesh's stretch of the arrays.
        const unsigned meshFaces = mesh.GetTriangleCount();
        for (unsigned t = 0; t < meshFaces; ++t) {
            const r3ds::Triangle& tri = mesh.GetTriangle(t);
            const std::size_t f = firstFace + t;
            ObjectFace& face = faces[f];
            const unsigned corners[3] = {tri.a, tri.b, tri.c};
            for (int k = 0; k < 3; ++k) {
                const std::size_t v = first + corners[k];
                face.index[k] = static_cast<int>(v);
                face.position[k] = &positions[v * 3];
                face.normal[k] = &normals[v * 3];
                cornerIndices[f * 3 + k] = static_cast<uint32_t>(v);
            }
            face.faceNormal = &faceNormals[f * 3];
            const FullTriangle full = mesh.GetFullTriangle(t);
            baseFaceNormals[f * 3] = faceNormals[f * 3] = full.faceNormal.x;
            baseFaceNormals[f * 3 + 1] = faceNormals[f * 3 + 1] = full.faceNormal.y;
            baseFaceNormals[f * 3 + 2] = faceNormals[f * 3 + 2] = full.faceNormal.z;
            if (hasMaterials) {
                for (int k = 0; k < 3; ++k) {
                    face.texCoord[k * 2] = full.uv[k].u;
                    face.texCoord[k * 2 + 1] = full.uv[k].v;
                }
            }
        }
        first += meshVertices;
        firstFace += meshFaces;
    }
    setRotation(0, 0, 0);
}

void Object::scale(float factor)
{
    for (float& value : basePositions) value *= factor;
    for (float& value : positions) value *= factor;
}

void Object::setRotation(int ax, int ay, int az)
{
    for (std::size_t at = 0; at < positions.size(); at += 3) {
        rotateVector(ax, ay, az, &basePositions[at], &positions[at]);
        rotateVector(ax, ay, az, &baseNormals[at], &normals[at]);
    }
    for (std::size_t at = 0; at < faceNormals.size(); at += 3) {
        rotateVector(ax, ay, az, &baseFaceNormals[at], &faceNormals[at]);
    }
}

void Object::rotate(int ax, int ay, int az)
{
    for (std::size_t at = 0; at < positions.size(); at += 3) {
        const float moved[3] = {positions[at] - centre[0], positions[at + 1] - centre[1],
                                positions[at + 2] - centre[2]};
        float turned[3];
        rotateVector(ax, ay, az, moved, turned);
        positions[at] = turned[0] + centre[0];
        positions[at + 1] = turned[1] + centre[1];
        positions[at + 2] = turned[2] + centre[2];
        // Normals are directions: turned about the origin, never moved.
        const float normal[3] = {normals[at], normals[at + 1], normals[at + 2]};
        rotateVector(ax, ay, az, normal, &normals[at]);
    }
    for (std::size_t at = 0; at < faceNormals.size(); at += 3) {
        const float normal[3] = {faceNormals[at], faceNormals[at + 1], faceNormals[at + 2]};
        rotateVector(ax, ay, az, normal, &faceNormals[at]);
    }
}

void Object::translate(float dx, float dy, float dz)
{
    for (std::size_t at = 0; at < positions.size(); at += 3) {
        positions[at] += dx;
        positions[at + 1] += dy;
        positions[at + 2] += dz;
    }
    centre[0] += dx;
    centre[1] += dy;
    centre[2] += dz;
}

void Object::getVertices(float*& vertices, int& count)
{
    vertices = positions.data();
    count = vertexCount;
}

void Object::getVertices(const float*& vertices, int& count) const
{
    vertices = positions.data();
    count = vertexCount;
}
