// writer3ds.cpp: 3DS files of the chunks the show's reader looks at.
//
// Layout: main (0x4D4D) holds a version chunk, the editor (0x3D3D) and a
// small keyframer header (0xB000). The editor holds the mesh version, every
// material (0xAFFF: name, ambient, diffuse, specular, shininess, texture map
// with its file name) and one named object (0x4000) per mesh whose first
// sub-chunk is the triangle mesh (0x4100): vertex list, texture coordinates,
// local matrix, then the face list with its material group and smoothing
// groups. The keyframer chunk also keeps mesh data away from the file's last
// bytes, which the reader does not read.
#include <cstring>

#include "models.h"

namespace content {

namespace {

// Builds nested chunks in one byte vector; each chunk's length is patched
// in when it is closed, so writers never compute sizes up front.
class ChunkWriter {
public:
    // Open a chunk: id now, length patched when it is closed.
    void begin(uint16_t id) {
        put16(id);
        open_.push_back(bytes_.size());
        put32(0);
    }
    void end() {
        const size_t at = open_.back();
        open_.pop_back();
        const uint32_t length = static_cast<uint32_t>(bytes_.size() - at + 2);  // header counts too
        for (int i = 0; i < 4; ++i) bytes_[at + static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
    }
    void put8(uint8_t v) { bytes_.push_back(v); }
    void put16(uint16_t v) {
        put8(static_cast<uint8_t>(v & 0xFF));
        put8(static_cast<uint8_t>(v >> 8));
    }
    void put32(uint32_t v) {
        put16(static_cast<uint16_t>(v & 0xFFFF));
        put16(static_cast<uint16_t>(v >> 16));
    }
    void putFloat(double v) {
        const float f = static_cast<float>(v);
        uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        put32(bits);
    }
    void putString(const std::string& s) {
        for (const char ch : s) put8(static_cast<uint8_t>(ch));
        put8(0);
    }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
    std::vector<size_t> open_;
};

// Colour component 0..1 as the byte a 0x0011 colour chunk holds.
uint8_t byteOf(double v) {
    const double c = v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
    return static_cast<uint8_t>(c * 255.0 + 0.5);
}

// A colour sub-chunk (0x0011, three bytes) inside a property chunk.
void colourChunk(ChunkWriter& w, uint16_t id, Rgb c) {
    w.begin(id);
    w.begin(0x0011);
    w.put8(byteOf(c.r));
    w.put8(byteOf(c.g));
    w.put8(byteOf(c.b));
    w.end();
    w.end();
}

// A percentage sub-chunk (0x0030, 16-bit whole percent) inside a property chunk.
void percentChunk(ChunkWriter& w, uint16_t id, double fraction) {
    w.begin(id);
    w.begin(0x0030);
    w.put16(static_cast<uint16_t>(fraction * 100.0 + 0.5));
    w.end();
    w.end();
}

// A material block: name, colours, shininess, shading, texture map.
void writeMaterial(ChunkWriter& w, const Material& m) {
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.putString(m.name);
    w.end();
    colourChunk(w, 0xA010, m.ambient);
    colourChunk(w, 0xA020, m.diffuse);
    colourChunk(w, 0xA030, m.specular);
    percentChunk(w, 0xA040, m.shininess);
    w.begin(0xA100);  // shading: Gouraud
    w.put16(2);
    w.end();
    if (!m.textureFile.empty()) {
        w.begin(0xA200);
        w.begin(0x0030);
        w.put16(100);
        w.end();
        w.begin(0xA300);
        w.putString(m.textureFile);
        w.end();
        w.end();
    }
    w.end();
}

// A named object whose first sub-chunk is the triangle mesh (the reader
// decides an object's kind by that first sub-chunk).
void writeMesh(ChunkWriter& w, const Mesh& mesh) {
    w.begin(0x4000);
    w.putString(mesh.name);
    w.begin(0x4100);

    w.begin(0x4110);
    w.put16(static_cast<uint16_t>(mesh.vertices.size()));
    for (const Vec3& v : mesh.vertices) {
        w.putFloat(v.x);
        w.putFloat(v.y);
        w.putFloat(v.z);
    }
    w.end();

    w.begin(0x4140);
    w.put16(static_cast<uint16_t>(mesh.uvs.size()));
    for (const Vec2& t : mesh.uvs) {
        w.putFloat(t.u);
        w.putFloat(t.v);
    }
    w.end();

    w.begin(0x4160);  // local axes: identity, at the origin
    const double axes[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    for (const double a : axes) w.putFloat(a);
    w.end();

    w.begin(0x4120);
    w.put16(static_cast<uint16_t>(mesh.faces.size()));
    for (const Face& f : mesh.faces) {
        w.put16(f.a);
        w.put16(f.b);
        w.put16(f.c);
        w.put16(0x0007);  // all three edges visible
    }
    // One face material group naming every face (the name must match the
    // material exactly and fit the reader's 19 characters).
    w.begin(0x4130);
    w.putString(mesh.material);
    w.put16(static_cast<uint16_t>(mesh.faces.size()));
    for (size_t i = 0; i < mesh.faces.size(); ++i) w.put16(static_cast<uint16_t>(i));
    w.end();
    w.begin(0x4150);
    for (const Face& f : mesh.faces) w.put32(f.smoothing);
    w.end();
    w.end();  // face list

    w.end();  // triangle mesh
    w.end();  // named object
}

}  // namespace

std::vector<uint8_t> encode3ds(const ModelFile& model) {
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x0002);  // file version
    w.put32(3);
    w.end();
    w.begin(0x3D3D);
    w.begin(0x3D3E);  // mesh version
    w.put32(3);
    w.end();
    for (const Material& m : model.materials) writeMaterial(w, m);
    w.begin(0x0100);  // master scale
    w.putFloat(1.0);
    w.end();
    for (const Mesh& mesh : model.meshes) writeMesh(w, mesh);
    w.end();  // editor
    w.begin(0xB000);
    w.begin(0xB00A);  // keyframer header: revision, scene name, frame count
    w.put16(5);
    w.putString("Quorl-H");
    w.put32(100);
    w.end();
    w.end();
    w.end();  // main
    return w.take();
}

}  // namespace content
