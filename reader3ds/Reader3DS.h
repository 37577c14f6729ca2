// Reader3DS.h: reader of 3DS model files. A file is a tree of chunks (6-byte
// little-endian header: 16-bit id, 32-bit length counting the header); the
// reader loads the whole file into one buffer, walks the tree with
// bounds-checked reads, and fills the meshes, materials and lights of its
// SceneImporter base. Pure CPU code: no GL, no SDL.
//
// Errors: LoadFile returns false when the file cannot be read or is no 3DS
// file at all; ReportError receives a "Reader3DS::..." text and neither
// shows nor prints it. The last text is kept for GetLastError.
//
// Damage: any input, however malformed, loads in bounded time without
// reading outside the buffer: a chunk that would not move the walk forward
// (length below 6, a header cut off by the end of the file) ends the search
// among its siblings, and lists never reach past the end of their own chunk.
// Such a file still loads with what could be read (callers and stored files
// rely on that leniency), but nothing is dropped in silence: each kind of
// damage met is printed once to standard output at the end of the load
// ("Reader3DS::LoadFile - damaged file: ..."), GetDamage names the kinds and
// GetLastError holds the last of those lines.
//
// Usage: Reader3DS reader; if (reader.LoadFile("data/allt.3ds")) { ... GetMesh(i) ... }
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reader3ds/SceneImporter.h"

// One chunk header as read: where the chunk's data starts and where the
// chunk ends (first byte after it), both as buffer offsets.
struct Chunk {
    std::uint16_t id = 0;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
};

class Reader3DS : public SceneImporter {
public:
    // Chunk ids the reader knows.
    static constexpr std::uint16_t CHUNK_MAIN = 0x4D4D;
    static constexpr std::uint16_t CHUNK_EDITOR = 0x3D3D;
    static constexpr std::uint16_t CHUNK_OBJECT = 0x4000;
    static constexpr std::uint16_t CHUNK_MESH = 0x4100;
    static constexpr std::uint16_t CHUNK_VERTICES = 0x4110;
    static constexpr std::uint16_t CHUNK_FACES = 0x4120;
    static constexpr std::uint16_t CHUNK_FACE_MATERIAL = 0x4130;
    static constexpr std::uint16_t CHUNK_TEXCOORDS = 0x4140;
    static constexpr std::uint16_t CHUNK_SMOOTHING = 0x4150;
    static constexpr std::uint16_t CHUNK_MATRIX = 0x4160;
    static constexpr std::uint16_t CHUNK_LIGHT = 0x4600;
    static constexpr std::uint16_t CHUNK_SPOTLIGHT = 0x4610;
    static constexpr std::uint16_t CHUNK_CAMERA = 0x4700;
    static constexpr std::uint16_t CHUNK_MATERIAL = 0xAFFF;
    static constexpr std::uint16_t CHUNK_MAT_NAME = 0xA000;
    static constexpr std::uint16_t CHUNK_MAT_AMBIENT = 0xA010;
    static constexpr std::uint16_t CHUNK_MAT_DIFFUSE = 0xA020;
    static constexpr std::uint16_t CHUNK_MAT_SPECULAR = 0xA030;
    static constexpr std::uint16_t CHUNK_MAT_SHININESS = 0xA040;
    static constexpr std::uint16_t CHUNK_MAT_TRANSPARENCY = 0xA050;
    static constexpr std::uint16_t CHUNK_MAT_WIRE = 0xA085;
    static constexpr std::uint16_t CHUNK_MAT_SHADING = 0xA100;
    static constexpr std::uint16_t CHUNK_MAP_TEXTURE1 = 0xA200;
    static constexpr std::uint16_t CHUNK_MAP_SPECULAR = 0xA204;
    static constexpr std::uint16_t CHUNK_MAP_OPACITY = 0xA210;
    static constexpr std::uint16_t CHUNK_MAP_REFLECTION = 0xA220;
    static constexpr std::uint16_t CHUNK_MAP_BUMP = 0xA230;
    static constexpr std::uint16_t CHUNK_MAP_TEXTURE2 = 0xA33A;
    static constexpr std::uint16_t CHUNK_MAP_FILE = 0xA300;
    static constexpr std::uint16_t CHUNK_MAP_USCALE = 0xA354;
    static constexpr std::uint16_t CHUNK_MAP_VSCALE = 0xA356;
    static constexpr std::uint16_t CHUNK_MAP_UOFFSET = 0xA358;
    static constexpr std::uint16_t CHUNK_MAP_VOFFSET = 0xA35A;
    static constexpr std::uint16_t CHUNK_COLOR_FLOAT = 0x0010;
    static constexpr std::uint16_t CHUNK_COLOR_BYTES = 0x0011;
    static constexpr std::uint16_t CHUNK_COLOR_BYTES_GAMMA = 0x0012;
    static constexpr std::uint16_t CHUNK_COLOR_FLOAT_GAMMA = 0x0013;
    static constexpr std::uint16_t CHUNK_PERCENT_INT = 0x0030;
    static constexpr std::uint16_t CHUNK_PERCENT_FLOAT = 0x0031;
    static constexpr std::uint16_t CHUNK_KEYFRAMER = 0xB000;
    static constexpr std::uint16_t CHUNK_KEYFRAME_NODE = 0xB002;
    static constexpr std::uint16_t CHUNK_NODE_NAME = 0xB010;

    static constexpr std::uint32_t HEADER_SIZE = 6;
    static constexpr std::uint32_t OBJECT_NAME_SIZE = 100;

    enum class SeekMode { Absolute, Relative };

    // Kinds of damage a load works around; GetDamage ORs their bits.
    enum class Damage : std::uint32_t {
        ChunkLength = 1u << 0,     // a chunk shorter than its own header
        ChunkOverrun = 1u << 1,    // a chunk reaching past the chunk that holds it
        FileCut = 1u << 2,         // the file ends before its main chunk does
        ListCut = 1u << 3,         // a list holding fewer entries than its count
        DroppedFaces = 1u << 4,    // faces naming vertices that do not exist
        DroppedGroups = 1u << 5,   // face material groups naming unknown materials or faces
        DroppedUVs = 1u << 6,      // texture coordinates beyond the vertex list
        DroppedMaterial = 1u << 7,  // a material whose reflection map lacks its file name
        ShortUVs = 1u << 8,         // texture coordinates for only some of the vertices
        NestedScene = 1u << 9,      // a scene chunk inside the scene, hiding what it holds
    };
    static constexpr Damage ALL_DAMAGE[] = {Damage::ChunkLength,  Damage::ChunkOverrun,  Damage::FileCut,
                                            Damage::ListCut,      Damage::DroppedFaces,  Damage::DroppedGroups,
                                            Damage::DroppedUVs,   Damage::DroppedMaterial,  Damage::ShortUVs,
                                            Damage::NestedScene};
    // Short stable name of a kind ("chunk-length", ...), for tools.
    static const char* DamageName(Damage kind);
    // The line printed for a kind (without the line end).
    static std::string DamageMessage(Damage kind);

    Reader3DS() = default;
    ~Reader3DS() override = default;

    // Reads the named file; true when its chunk tree was walked to the end.
    bool LoadFile(const std::string& fileName) override;
    // The same load from bytes already in memory (tests, fuzzing).
    bool LoadFromMemory(std::span<const std::uint8_t> bytes);

    unsigned GetMeshCount() const { return static_cast<unsigned>(meshes.size()); }
    Mesh& GetMesh(unsigned index) { return meshes[index]; }
    const Mesh& GetMesh(unsigned index) const { return meshes[index]; }
    unsigned GetMaterialCount() const { return static_cast<unsigned>(materials.size()); }
    Material& GetMaterial(unsigned index) { return materials[index]; }
    const Material& GetMaterial(unsigned index) const { return materials[index]; }

    // First mesh / material whose name equals the argument exactly, or null.
    Mesh* FindMesh(std::string_view name);
    Material* FindMaterial(std::string_view name);

    // Last text given to ReportError since the last load began; empty if none.
    const std::string& GetLastError() const { return lastError; }
    // Kinds of damage the last load worked around (bits of Damage); 0 for a
    // clean file and for a refused one.
    std::uint32_t GetDamage() const { return damage; }
    bool HasDamage(Damage kind) const { return (damage & static_cast<std::uint32_t>(kind)) != 0; }

protected:
    void ReportError(std::string_view message);
    // Records a kind of damage; printed once at the end of the load.
    void ReportDamage(Damage kind) { damage |= static_cast<std::uint32_t>(kind); }

    // Bounded little-endian reads at the cursor: a value that does not end
    // strictly before the end of the buffer reads as 0 and leaves the cursor.
    std::uint8_t ReadByte();
    std::uint16_t ReadShort();
    std::uint32_t ReadInt();
    float ReadFloat();
    // Zero-terminated text of at most limit - 1 characters; returns the count.
    unsigned ReadString(char* buffer, unsigned limit);
    // Moves the cursor; a position at or past the end lands on the last byte.
    void Seek(std::int64_t value, SeekMode mode);

    Chunk ReadChunk();
    void GotoChunkStart(const Chunk& chunk) { Seek(chunk.start, SeekMode::Absolute); }
    void GotoChunkEnd(const Chunk& chunk) { Seek(chunk.end, SeekMode::Absolute); }
    // Searches the chunks from the cursor on, up to the parent's end.
    bool FindChunk(std::uint16_t id, const Chunk& parent, Chunk& found);

    Color3 ReadColor(const Chunk& chunk);
    float ReadPercentage(const Chunk& chunk);

    bool Read3DS();
    void ReadMesh(const Chunk& chunk);
    void ReadFaceList(const Chunk& chunk, Mesh& mesh);
    void ReadMaterial(const Chunk& chunk);
    void ReadMap(const Chunk& chunk, TextureMap& map);
    void ReadLight(const Chunk& chunk);
    void ReadKeyframeNode(const Chunk& chunk);

    // True when a chunk whose header was read at `headerAt` is whole and
    // moves the walk forward; otherwise the walk stops among its siblings.
    bool MovesForward(const Chunk& chunk, std::uint32_t headerAt) const;
    // How many entries of `width` bytes, of the `count` a list claims, lie
    // between the cursor and the end of the list's chunk (and of the buffer).
    // Fewer than claimed is damage.
    std::uint32_t EntriesInChunk(const Chunk& chunk, std::uint32_t count, std::uint32_t width);
    // Calls handle(sub) for each sub-chunk of parent from offset `from` on,
    // with the cursor at the sub-chunk's data, until the parent's end or
    // until handle returns false. A sub-chunk that is too short or reaches
    // past the parent ends the walk and is noted as damage.
    template <class Handle>
    void ForEachSubChunk(const Chunk& parent, std::uint32_t from, Handle&& handle);
    // The walk among parent's sub-chunks stopped at a header that did not
    // move it forward; notes the damage, if that is what it was.
    void NoteEarlyStop(const Chunk& parent, std::uint32_t headerAt);

    char currentObjectName[OBJECT_NAME_SIZE] = {};
    std::vector<std::uint8_t> data;  // the whole file while a load runs, empty otherwise
    std::uint32_t size = 0;
    std::uint32_t cursor = 0;

private:
    // Walks the buffer that LoadFile or LoadFromMemory filled, then releases it.
    bool LoadBuffer();
    bool CanRead(std::uint32_t width) const;
    // Moves the cursor past the rest of the text it stands in and its
    // terminating zero, but not beyond end.
    void SkipStringRest(std::uint32_t end);
    // Prints and records one line per kind of damage met; clears them when
    // the walk was refused.
    void FinishDamageReport(bool walked);
    // FindMaterial through a name index, for the face material groups: a
    // file with many groups and many materials must not take quadratic time.
    const Material* FindGroupMaterial(const char* name);

    std::string lastError;
    std::uint32_t damage = 0;  // bits of Damage met by the current or last load
    std::unordered_map<std::string, std::uint32_t> materialsByName;  // first position of each name
    std::size_t indexedMaterials = 0;                                // materials the index covers
};
