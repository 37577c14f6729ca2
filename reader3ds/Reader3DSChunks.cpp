// Reader3DSChunks.cpp: the chunk readers of Reader3DS: triangle meshes with
// their vertex, face, texture-coordinate and matrix chunks, face material and
// smoothing groups, material blocks with their maps, lights and keyframer
// nodes. Each walks only the sub-chunks inside the chunk it is given, and
// every list it reads stops at the end of its own chunk.
#include <algorithm>
#include <array>
#include <cstring>

#include "reader3ds/Reader3DS.h"

namespace {

// Text limits (including the terminator) of the names the chunks carry.
constexpr unsigned MATERIAL_NAME_LIMIT = 30;
constexpr unsigned REFLECTION_FILE_LIMIT = 30;
constexpr unsigned MAP_FILE_LIMIT = 20;
constexpr unsigned GROUP_MATERIAL_LIMIT = 20;
constexpr unsigned NODE_NAME_LIMIT = 19;

// Bytes per list entry.
constexpr std::uint32_t VERTEX_BYTES = 12;    // x, y, z
constexpr std::uint32_t FACE_BYTES = 8;       // a, b, c, flags
constexpr std::uint32_t TEXCOORD_BYTES = 8;   // u, v
constexpr std::uint32_t INDEX_BYTES = 2;      // one face number
constexpr std::uint32_t SMOOTHING_BYTES = 4;  // one smoothing value

// Clamps a percentage to 0..1; NaN counts as below 0.
float UnitRange(float value) {
    if (!(value >= 0.0f)) {
        return 0.0f;
    }
    return value > 1.0f ? 1.0f : value;
}

}  // namespace

// Moves by whole chunks from `from` to the parent's end. The next header is
// always read where the previous chunk ends, so the walk cannot loop.
template <class Handle>
void Reader3DS::ForEachSubChunk(const Chunk& parent, std::uint32_t from, Handle&& handle) {
    std::uint32_t next = from;
    while (next < parent.end) {
        Seek(next, SeekMode::Absolute);
        if (cursor != next) {
            return;  // the parent reaches past the end of the file
        }
        const Chunk sub = ReadChunk();
        if (!MovesForward(sub, next)) {
            NoteEarlyStop(parent, next);
            return;
        }
        if (sub.end > parent.end) {
            ReportDamage(Damage::ChunkOverrun);
            return;
        }
        if (!handle(sub)) {
            return;
        }
        next = sub.end;
    }
}

// ---------------------------------------------------------------------------
// Meshes
// ---------------------------------------------------------------------------

void Reader3DS::ReadMesh(const Chunk& chunk) {
    Mesh mesh;
    mesh.SetName(currentObjectName);
    bool mapped = false;     // the mesh has a texture-coordinate list
    std::uint32_t uvs = 0;   // entries in it

    ForEachSubChunk(chunk, chunk.start, [&](const Chunk& sub) {
        switch (sub.id) {
        case CHUNK_VERTICES: {
            const std::uint32_t count = EntriesInChunk(sub, ReadShort(), VERTEX_BYTES);
            mesh.SetVertexArraySize(count);
            for (std::uint32_t i = 0; i < count; ++i) {
                const float x = ReadFloat();
                const float y = ReadFloat();
                const float z = ReadFloat();
                mesh.SetVertex({x, y, z, 1.0f}, i);
            }
            break;
        }
        case CHUNK_FACES:
            ReadFaceList(sub, mesh);
            break;
        case CHUNK_TEXCOORDS: {
            // A mesh given coordinates but no positions gets zero vertices
            // in their number; coordinates beyond the vertices are dropped.
            const std::uint32_t count = EntriesInChunk(sub, ReadShort(), TEXCOORD_BYTES);
            mapped = true;
            uvs = count;
            if (mesh.GetVertexCount() == 0) {
                mesh.SetVertexArraySize(count);
            } else if (count > mesh.GetVertexCount()) {
                ReportDamage(Damage::DroppedUVs);
            }
            for (std::uint32_t i = 0; i < count; ++i) {
                const float u = ReadFloat();
                const float v = ReadFloat();
                mesh.SetUV({u, v}, i);
            }
            break;
        }
        case CHUNK_MATRIX: {
            // Three axis rows and the origin, stored as 4x4 with 0,0,0,1 last column.
            std::array<float, 16> matrix{};
            for (int row = 0; row < 4; ++row) {
                for (int column = 0; column < 3; ++column) {
                    matrix[row * 4 + column] = ReadFloat();
                }
            }
            matrix[15] = 1.0f;
            mesh.SetMatrix(matrix);
            break;
        }
        default:
            break;
        }
        return true;
    });

    // Vertices beyond a shorter list keep (0, 0), which draws their corners
    // with the texture's first texel: loaded, but reported.
    if (mapped && uvs < mesh.GetVertexCount()) {
        ReportDamage(Damage::ShortUVs);
    }

    // The post-processing drops faces that name vertices the mesh lacks.
    for (unsigned i = 0; i < mesh.GetTriangleCount(); ++i) {
        const Face& face = mesh.GetFace(i);
        const unsigned vertices = mesh.GetVertexCount();
        if (face.a >= vertices || face.b >= vertices || face.c >= vertices) {
            ReportDamage(Damage::DroppedFaces);
            break;
        }
    }
    meshes.push_back(std::move(mesh));
}

// Faces come first in the chunk; the material and smoothing groups follow
// them as sub-chunks.
void Reader3DS::ReadFaceList(const Chunk& chunk, Mesh& mesh) {
    if (chunk.id != CHUNK_FACES) {
        ReportError("Reader3DS::ReadFaceList - internal error: wrong chunk passed as parameter");
        return;
    }
    GotoChunkStart(chunk);
    const std::uint32_t count = EntriesInChunk(chunk, ReadShort(), FACE_BYTES);
    mesh.SetTriangleArraySize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        Face face;
        face.a = ReadShort();
        face.b = ReadShort();
        face.c = ReadShort();
        ReadShort();  // edge visibility flags, unused
        face.smoothing = 1;
        mesh.SetFace(face, i);
    }

    ForEachSubChunk(chunk, cursor, [&](const Chunk& sub) {
        if (sub.id == CHUNK_FACE_MATERIAL) {
            char name[GROUP_MATERIAL_LIMIT] = {};
            ReadString(name, GROUP_MATERIAL_LIMIT);
            // A group naming no known material is skipped, and so is a face
            // number outside the face list.
            const Material* material = FindGroupMaterial(name);
            if (!material) {
                ReportDamage(Damage::DroppedGroups);
                return true;
            }
            const unsigned position = mesh.AddMaterial(material->GetId());
            const std::uint32_t numbers = EntriesInChunk(sub, ReadShort(), INDEX_BYTES);
            for (std::uint32_t j = 0; j < numbers; ++j) {
                const std::uint16_t faceNumber = ReadShort();
                if (faceNumber < mesh.GetTriangleCount()) {
                    Face face = mesh.GetFace(faceNumber);
                    face.material = position;
                    mesh.SetFace(face, faceNumber);
                } else {
                    ReportDamage(Damage::DroppedGroups);
                }
            }
        } else if (sub.id == CHUNK_SMOOTHING) {
            // One value per face; faces a short chunk holds no value for keep
            // theirs, so the work stays within the chunk's own bytes.
            const std::uint32_t present = EntriesInChunk(sub, mesh.GetTriangleCount(), SMOOTHING_BYTES);
            for (std::uint32_t i = 0; i < present; ++i) {
                Face face = mesh.GetFace(i);
                face.smoothing = ReadInt();
                mesh.SetFace(face, i);
            }
        }
        return true;
    });
}

// ---------------------------------------------------------------------------
// Materials
// ---------------------------------------------------------------------------

void Reader3DS::ReadMaterial(const Chunk& chunk) {
    Material material;

    bool dropped = false;
    ForEachSubChunk(chunk, chunk.start, [&](const Chunk& sub) {
        switch (sub.id) {
        case CHUNK_MAT_NAME: {
            char name[MATERIAL_NAME_LIMIT] = {};
            ReadString(name, MATERIAL_NAME_LIMIT);
            material.SetName(name);
            break;
        }
        // Colours and percentages sit in a nested chunk right at the data start.
        case CHUNK_MAT_AMBIENT:
            material.ambient = ReadColor(ReadChunk());
            break;
        case CHUNK_MAT_DIFFUSE:
            material.diffuse = ReadColor(ReadChunk());
            break;
        case CHUNK_MAT_SPECULAR:
            material.specular = ReadColor(ReadChunk());
            break;
        case CHUNK_MAT_SHININESS:
            material.shininess = UnitRange(ReadPercentage(ReadChunk()));
            break;
        case CHUNK_MAT_TRANSPARENCY:
            material.transparency = UnitRange(ReadPercentage(ReadChunk()));
            break;
        case CHUNK_MAT_WIRE:
            material.shading = SHADING_WIRE;
            break;
        case CHUNK_MAT_SHADING: {
            // Unknown codes leave the shading as it was.
            const auto code = static_cast<std::int16_t>(ReadShort());
            if (code >= 0 && code <= static_cast<std::int16_t>(SHADING_METAL)) {
                material.shading = static_cast<std::uint32_t>(code);
            }
            break;
        }
        case CHUNK_MAP_TEXTURE1:
            ReadMap(sub, material.textureMap1);
            break;
        case CHUNK_MAP_TEXTURE2:
            ReadMap(sub, material.textureMap2);
            break;
        case CHUNK_MAP_OPACITY:
            ReadMap(sub, material.opacityMap);
            break;
        case CHUNK_MAP_BUMP:
            ReadMap(sub, material.bumpMap);
            break;
        case CHUNK_MAP_SPECULAR:
            ReadMap(sub, material.specularMap);
            break;
        case CHUNK_MAP_REFLECTION: {
            // Strength, then the file name must follow directly; without it
            // the whole material is dropped and later ones move up an index.
            const Chunk percent = ReadChunk();
            material.reflectionMap.strength = ReadPercentage(percent);
            GotoChunkEnd(percent);
            if (ReadChunk().id != CHUNK_MAP_FILE) {
                ReportError("Reader3DS::ReadMaterial - error, expected chunk not found");
                ReportDamage(Damage::DroppedMaterial);
                dropped = true;
                return false;
            }
            char name[REFLECTION_FILE_LIMIT] = {};
            ReadString(name, REFLECTION_FILE_LIMIT);
            // An empty name asks for an automatic reflection.
            const char* const fileName = name[0] == '\0' ? "auto" : name;
            std::strncpy(material.reflectionMap.fileName, fileName, TextureMap::FILE_NAME_SIZE - 1);
            break;
        }
        default:
            break;
        }
        return true;
    });
    if (dropped) {
        return;
    }

    materials.push_back(std::move(material));
    materials.back().SetId(static_cast<std::uint32_t>(materials.size() - 1));
}

void Reader3DS::ReadMap(const Chunk& chunk, TextureMap& map) {
    ForEachSubChunk(chunk, chunk.start, [&](const Chunk& sub) {
        switch (sub.id) {
        case CHUNK_PERCENT_INT:
            map.strength = ReadPercentage(sub);
            break;
        case CHUNK_MAP_FILE:
            ReadString(map.fileName, MAP_FILE_LIMIT);
            break;
        case CHUNK_MAP_USCALE:
            map.uScale = ReadFloat();
            break;
        case CHUNK_MAP_VSCALE:
            map.vScale = ReadFloat();
            break;
        case CHUNK_MAP_UOFFSET:
            map.uOffset = ReadFloat();
            break;
        case CHUNK_MAP_VOFFSET:
            map.vOffset = ReadFloat();
            break;
        default:  // rotation and filtering among them
            break;
        }
        return true;
    });
}

// ---------------------------------------------------------------------------
// Lights and keyframer
// ---------------------------------------------------------------------------

void Reader3DS::ReadLight(const Chunk& chunk) {
    Light light;
    light.SetName(currentObjectName);

    GotoChunkStart(chunk);
    light.position.x = ReadFloat();
    light.position.y = ReadFloat();
    light.position.z = ReadFloat();

    ForEachSubChunk(chunk, cursor, [&](const Chunk& sub) {
        if (sub.id >= CHUNK_COLOR_FLOAT && sub.id <= CHUNK_COLOR_FLOAT_GAMMA) {
            light.color = ReadColor(sub);
        } else if (sub.id == CHUNK_SPOTLIGHT) {
            light.target.x = ReadFloat();
            light.target.y = ReadFloat();
            light.target.z = ReadFloat();
            light.hotspot = ReadFloat();
            light.falloff = ReadFloat();
        }
        return true;
    });
    lights.push_back(std::move(light));
}

// Animation tracks are walked over but nothing of them is kept: no mesh,
// material or light depends on the keyframer.
void Reader3DS::ReadKeyframeNode(const Chunk& chunk) {
    ForEachSubChunk(chunk, chunk.start, [&](const Chunk& sub) {
        if (sub.id == CHUNK_NODE_NAME) {
            char name[NODE_NAME_LIMIT] = {};
            ReadString(name, NODE_NAME_LIMIT);
        }
        return true;
    });
}
