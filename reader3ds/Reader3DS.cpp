// Reader3DS.cpp: loading a 3DS file into memory, the bounded primitive reads,
// the chunk layer (header, cursor, search), colour and percentage values and
// the walk of the chunk tree. The chunk readers for meshes, materials and
// lights are in Reader3DSChunks.cpp. Needs only the standard library.
#include "reader3ds/Reader3DS.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace {

// The 32-bit float nearest 1/255: colour bytes to 0..1.
constexpr float BYTE_TO_UNIT = 0.003921569f;
// The 32-bit float nearest 0.01: integer percentages to fractions.
constexpr float PERCENT_TO_UNIT = 0.01f;
// Offsets are 32-bit; a larger file cannot be addressed.
// long long: where long has 32 bits (WebAssembly), the limit would wrap to -1.
constexpr long long MAX_FILE_SIZE = std::numeric_limits<std::uint32_t>::max();

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

// ---------------------------------------------------------------------------
// Loading
// ---------------------------------------------------------------------------

bool Reader3DS::LoadFile(const std::string& fileName) {
    lastError.clear();
    damage = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) {
        ReportError("Reader3DS::LoadFile - cannot open file");
        return false;
    }

    long length = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        length = std::ftell(file.get());
    }
    if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        ReportError("Reader3DS::LoadFile - error reading from file");
        return false;
    }
    if (static_cast<long long>(length) > MAX_FILE_SIZE) {
        ReportError("Reader3DS::LoadFile - not enough memory (malloc failed)");
        return false;
    }
    try {
        data.assign(static_cast<std::size_t>(length), 0);
    } catch (const std::bad_alloc&) {
        ReportError("Reader3DS::LoadFile - not enough memory (malloc failed)");
        return false;
    }
    size = static_cast<std::uint32_t>(length);

    // One block of the file's size; an empty file delivers no block at all.
    if (length == 0 || std::fread(data.data(), data.size(), 1, file.get()) != 1) {
        std::vector<std::uint8_t>().swap(data);
        size = 0;
        ReportError("Reader3DS::LoadFile - error reading from file");
        return false;
    }
    return LoadBuffer();
}

bool Reader3DS::LoadFromMemory(std::span<const std::uint8_t> bytes) {
    lastError.clear();
    damage = 0;
    if (bytes.empty()) {
        ReportError("Reader3DS::LoadFile - error reading from file");
        return false;
    }
    if (bytes.size() > static_cast<std::size_t>(MAX_FILE_SIZE)) {
        ReportError("Reader3DS::LoadFile - not enough memory (malloc failed)");
        return false;
    }
    try {
        data.assign(bytes.begin(), bytes.end());
    } catch (const std::bad_alloc&) {
        ReportError("Reader3DS::LoadFile - not enough memory (malloc failed)");
        return false;
    }
    size = static_cast<std::uint32_t>(bytes.size());
    return LoadBuffer();
}

// The buffer is held only while the walk runs; the arrays are emptied first
// so a second load leaves only the second file's content.
bool Reader3DS::LoadBuffer() {
    Clear();
    cursor = 0;
    bool walked = false;
    try {
        walked = Read3DS();
    } catch (const std::bad_alloc&) {
        // A small file can describe a great deal (every material carries six
        // maps); running out of memory fails the load instead of the program.
        Clear();
        ReportError("Reader3DS::LoadFile - not enough memory (malloc failed)");
    }
    FinishDamageReport(walked);
    materialsByName.clear();
    indexedMaterials = 0;
    std::vector<std::uint8_t>().swap(data);
    size = 0;
    cursor = 0;
    currentObjectName[0] = '\0';
    return walked;
}

Mesh* Reader3DS::FindMesh(std::string_view name) {
    for (Mesh& mesh : meshes) {
        if (mesh.GetName() == name) {
            return &mesh;
        }
    }
    return nullptr;
}

Material* Reader3DS::FindMaterial(std::string_view name) {
    for (Material& material : materials) {
        if (material.GetName() == name) {
            return &material;
        }
    }
    return nullptr;
}

const Material* Reader3DS::FindGroupMaterial(const char* name) {
    if (indexedMaterials != materials.size()) {
        materialsByName.clear();
        for (std::uint32_t i = 0; i < materials.size(); ++i) {
            materialsByName.try_emplace(materials[i].GetName(), i);  // the first of a name wins
        }
        indexedMaterials = materials.size();
    }
    const auto found = materialsByName.find(name);
    return found == materialsByName.end() ? nullptr : &materials[found->second];
}

// The reader's only error sink. It shows and prints nothing: callers learn of
// failures from LoadFile's result. The text stays readable for tests and tools.
void Reader3DS::ReportError(std::string_view message) { lastError.assign(message); }

// ---------------------------------------------------------------------------
// Damage
// ---------------------------------------------------------------------------

const char* Reader3DS::DamageName(Damage kind) {
    switch (kind) {
    case Damage::ChunkLength: return "chunk-length";
    case Damage::ChunkOverrun: return "chunk-overrun";
    case Damage::FileCut: return "file-cut";
    case Damage::ListCut: return "list-count";
    case Damage::DroppedFaces: return "faces";
    case Damage::DroppedGroups: return "face-groups";
    case Damage::DroppedUVs: return "texture-coordinates";
    case Damage::DroppedMaterial: return "material";
    case Damage::ShortUVs: return "texture-coordinates-short";
    case Damage::NestedScene: return "nested-scene";
    }
    return "unknown";
}

std::string Reader3DS::DamageMessage(Damage kind) {
    const char* what = "unknown damage";
    switch (kind) {
    case Damage::ChunkLength:
        what = "a chunk is shorter than its own header; the chunks after it in its parent were skipped";
        break;
    case Damage::ChunkOverrun:
        what = "a chunk reaches past the chunk that holds it; what lies beyond was skipped";
        break;
    case Damage::FileCut:
        what = "the file ends before its main chunk does";
        break;
    case Damage::ListCut:
        what = "a list holds fewer entries than its count; only those present were read";
        break;
    case Damage::DroppedFaces:
        what = "faces naming vertices that do not exist were dropped";
        break;
    case Damage::DroppedGroups:
        what = "face material groups naming an unknown material or face were dropped";
        break;
    case Damage::DroppedUVs:
        what = "texture coordinates beyond the vertex list were dropped";
        break;
    case Damage::DroppedMaterial:
        what = "a material whose reflection map lacks its file name was dropped";
        break;
    case Damage::ShortUVs:
        what = "a texture-coordinate list is shorter than its vertex list; the vertices without one got (0, 0)";
        break;
    case Damage::NestedScene:
        what = "a scene chunk lies inside the scene chunk; the objects inside it were not read";
        break;
    }
    return std::string("Reader3DS::LoadFile - damaged file: ") + what;
}

// A refused file reports only why it was refused. A walked one prints one
// line per kind of damage, in a fixed order, and the last becomes the error
// text: the load succeeded, but not everything in the file was kept.
void Reader3DS::FinishDamageReport(bool walked) {
    if (!walked) {
        damage = 0;
        return;
    }
    for (const Damage kind : ALL_DAMAGE) {
        if (HasDamage(kind)) {
            const std::string line = DamageMessage(kind);
            std::printf("%s\n", line.c_str());
            ReportError(line);
        }
    }
}

// ---------------------------------------------------------------------------
// Primitive reads
// ---------------------------------------------------------------------------

// A value must end strictly before the last byte of the buffer.
bool Reader3DS::CanRead(std::uint32_t width) const {
    return !data.empty() && size != 0 && std::uint64_t{cursor} + width < size;
}

std::uint8_t Reader3DS::ReadByte() {
    if (!CanRead(1)) {
        return 0;
    }
    return data[cursor++];
}

std::uint16_t Reader3DS::ReadShort() {
    if (!CanRead(2)) {
        return 0;
    }
    const auto value = static_cast<std::uint16_t>(data[cursor] | (data[cursor + 1] << 8));
    cursor += 2;
    return value;
}

std::uint32_t Reader3DS::ReadInt() {
    if (!CanRead(4)) {
        return 0;
    }
    const std::uint32_t value = std::uint32_t{data[cursor]} | (std::uint32_t{data[cursor + 1]} << 8) |
                                (std::uint32_t{data[cursor + 2]} << 16) | (std::uint32_t{data[cursor + 3]} << 24);
    cursor += 4;
    return value;
}

float Reader3DS::ReadFloat() {
    if (!CanRead(4)) {
        return 0.0f;
    }
    // The bits of a little-endian IEEE single, whatever the host's order.
    const std::uint32_t bits = ReadInt();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Stores bytes until the terminating zero or until limit - 1 are stored. The
// terminator is consumed; when the limit stops the loop, the first byte not
// stored is consumed too and the rest of the text stays unread.
unsigned Reader3DS::ReadString(char* buffer, unsigned limit) {
    if (data.empty() || size == 0 || cursor >= size || limit == 0) {
        return 0;
    }
    unsigned count = 0;
    for (;;) {
        const std::uint8_t byte = ReadByte();
        if (byte == 0 || count >= limit - 1) {
            break;
        }
        buffer[count++] = static_cast<char>(byte);
    }
    buffer[count] = '\0';
    return count;
}

void Reader3DS::SkipStringRest(std::uint32_t end) {
    const std::uint32_t limit = std::min(end, size);
    while (cursor < limit && data[cursor] != 0) {
        ++cursor;
    }
    if (cursor < limit) {
        ++cursor;  // the terminating zero
    }
}

void Reader3DS::Seek(std::int64_t value, SeekMode mode) {
    std::int64_t target = mode == SeekMode::Absolute ? value : std::int64_t{cursor} + value;
    if (target < 0) {
        target = 0;
    }
    if (target >= std::int64_t{size}) {
        target = size == 0 ? 0 : std::int64_t{size} - 1;
    }
    cursor = static_cast<std::uint32_t>(target);
}

// ---------------------------------------------------------------------------
// Chunk layer
// ---------------------------------------------------------------------------

// The end is computed in 32-bit arithmetic as the file format does; a length
// below 6 or one that wraps is caught by MovesForward, not here.
Chunk Reader3DS::ReadChunk() {
    Chunk chunk;
    chunk.id = ReadShort();
    const std::uint32_t length = ReadInt();
    chunk.start = cursor;
    chunk.end = chunk.start + length - HEADER_SIZE;
    return chunk;
}

// Whole header (both reads succeeded, so the data starts 6 bytes on) and an
// end not before the data start. Such a chunk always moves the cursor at
// least 6 bytes on, which is what makes every walk terminate.
bool Reader3DS::MovesForward(const Chunk& chunk, std::uint32_t headerAt) const {
    return std::uint64_t{chunk.start} == std::uint64_t{headerAt} + HEADER_SIZE && chunk.end >= chunk.start;
}

std::uint32_t Reader3DS::EntriesInChunk(const Chunk& chunk, std::uint32_t count, std::uint32_t width) {
    const std::uint32_t limit = std::min(chunk.end, size);
    const std::uint32_t present = cursor >= limit || width == 0 ? 0 : (limit - cursor) / width;
    if (present < count) {
        ReportDamage(Damage::ListCut);
        return present;
    }
    return count;
}

// A header that lies whole inside the parent but did not move the walk on
// has a bad length, or one reaching past the parent: damage. The walk also
// stops at a header the bounded reads cannot reach: one cut by the end of
// the file (the cut itself is noted where a chunk's end passes the file's),
// and a whole one ending on the buffer's last byte, which is no damage.
void Reader3DS::NoteEarlyStop(const Chunk& parent, std::uint32_t headerAt) {
    if (headerAt >= parent.end || std::uint64_t{headerAt} + HEADER_SIZE > size) {
        return;
    }
    const std::uint32_t length = std::uint32_t{data[headerAt + 2]} | (std::uint32_t{data[headerAt + 3]} << 8) |
                                 (std::uint32_t{data[headerAt + 4]} << 16) | (std::uint32_t{data[headerAt + 5]} << 24);
    if (length < HEADER_SIZE) {
        ReportDamage(Damage::ChunkLength);
    } else if (std::uint64_t{headerAt} + length > parent.end) {
        ReportDamage(Damage::ChunkOverrun);
    }
}

// Moves by whole chunks: header, then a jump to its end. A chunk reaching
// past the parent, or one that would not move the cursor, ends the search.
bool Reader3DS::FindChunk(std::uint16_t id, const Chunk& parent, Chunk& found) {
    if (cursor >= parent.end) {
        return false;
    }
    std::uint32_t headerAt = cursor;
    Chunk chunk = ReadChunk();
    for (;;) {
        if (!MovesForward(chunk, headerAt)) {
            NoteEarlyStop(parent, headerAt);
            return false;
        }
        if (chunk.end > parent.end) {
            ReportDamage(Damage::ChunkOverrun);
        }
        if (chunk.id == id) {
            found = chunk;
            return true;
        }
        if (chunk.end > parent.end) {
            return false;
        }
        GotoChunkEnd(chunk);
        if (chunk.end >= parent.end) {
            return false;
        }
        headerAt = cursor;
        chunk = ReadChunk();
    }
}

Color3 Reader3DS::ReadColor(const Chunk& chunk) {
    GotoChunkStart(chunk);
    Color3 color;
    switch (chunk.id) {
    case CHUNK_COLOR_FLOAT:
    case CHUNK_COLOR_FLOAT_GAMMA:
        color.r = ReadFloat();
        color.g = ReadFloat();
        color.b = ReadFloat();
        break;
    case CHUNK_COLOR_BYTES:
    case CHUNK_COLOR_BYTES_GAMMA:
        color.r = ReadByte() * BYTE_TO_UNIT;
        color.g = ReadByte() * BYTE_TO_UNIT;
        color.b = ReadByte() * BYTE_TO_UNIT;
        break;
    default:
        ReportError("Reader3DS::ReadColor - error this is not a color chunk");
        break;
    }
    return color;
}

// Integer percentages become fractions; float ones come back as stored.
float Reader3DS::ReadPercentage(const Chunk& chunk) {
    GotoChunkStart(chunk);
    switch (chunk.id) {
    case CHUNK_PERCENT_INT:
        return static_cast<std::int16_t>(ReadShort()) * PERCENT_TO_UNIT;
    case CHUNK_PERCENT_FLOAT:
        return ReadFloat();
    default:
        ReportError("Reader3DS::ReadPercentage - error, the chunk is not a percentage chunk");
        return 0.0f;
    }
}

// ---------------------------------------------------------------------------
// The walk
// ---------------------------------------------------------------------------

// Materials are read in a pass of their own before any object, so face
// material groups can name materials that come later in the file.
bool Reader3DS::Read3DS() {
    cursor = 0;
    const Chunk main = ReadChunk();
    if (main.id != CHUNK_MAIN) {
        ReportError("Reader3DS::Read3DS - wrong file format");
        return false;
    }
    // Real files end with their main chunk; one that ends before it was cut.
    if (main.end > size) {
        ReportDamage(Damage::FileCut);
    }
    Chunk editor;
    if (!FindChunk(CHUNK_EDITOR, main, editor)) {
        ReportError("Reader3DS::Read3DS - no editor chunk in the main chunk");
        return false;
    }

    Chunk chunk;
    GotoChunkStart(editor);
    while (FindChunk(CHUNK_MATERIAL, editor, chunk)) {
        ReadMaterial(chunk);
        GotoChunkEnd(chunk);
    }

    // Only the first sub-chunk after the name decides what the object is;
    // cameras and anything else are skipped whole. A name longer than the
    // kept limit is cut, and the rest of it skipped, so that the object's
    // first sub-chunk is read where it lies: exporters write long names.
    GotoChunkStart(editor);
    while (FindChunk(CHUNK_OBJECT, editor, chunk)) {
        currentObjectName[0] = '\0';
        const unsigned kept = ReadString(currentObjectName, OBJECT_NAME_SIZE - 1);
        if (kept == OBJECT_NAME_SIZE - 2 && cursor > 0 && data[cursor - 1] != 0) {
            SkipStringRest(chunk.end);
        }
        const std::uint32_t headerAt = cursor;
        Chunk first = ReadChunk();
        if (!MovesForward(first, headerAt)) {
            NoteEarlyStop(chunk, headerAt);
        } else {
            // Keep the object's contents inside the object, so that no byte
            // is read as part of two objects' meshes.
            if (first.end > chunk.end) {
                ReportDamage(Damage::ChunkOverrun);
            }
            first.end = std::min(first.end, chunk.end);
            if (first.id == CHUNK_MESH) {
                ReadMesh(first);
            } else if (first.id == CHUNK_LIGHT) {
                ReadLight(first);
            }
        }
        GotoChunkEnd(chunk);
    }

    // Objects live directly in the scene chunk. A scene (or main) chunk
    // inside it, as a broken exporter may nest them to any depth, hides
    // whatever it holds: not followed, but never passed over in silence.
    for (const std::uint16_t nested : {CHUNK_EDITOR, CHUNK_MAIN}) {
        GotoChunkStart(editor);
        if (FindChunk(nested, editor, chunk)) {
            ReportDamage(Damage::NestedScene);
        }
    }

    GotoChunkStart(main);
    Chunk keyframer;
    if (FindChunk(CHUNK_KEYFRAMER, main, keyframer)) {
        GotoChunkStart(keyframer);
        while (FindChunk(CHUNK_KEYFRAME_NODE, keyframer, chunk)) {
            ReadKeyframeNode(chunk);
            GotoChunkEnd(chunk);
        }
    }

    for (Mesh& mesh : meshes) {
        mesh.CalcNormals(true);
        mesh.CalcTangents();
    }

    cursor = 0;
    currentObjectName[0] = '\0';
    return true;
}
