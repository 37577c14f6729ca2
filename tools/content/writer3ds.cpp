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
#include "models.h"
#include "tools/writers/Writer3ds.h"

namespace content {

namespace {

using ChunkWriter = writers::Writer3ds;

// Coordinates are computed in double and stored as 32-bit floats.
void putFloat(ChunkWriter& w, double v) {
    w.f32(static_cast<float>(v));
}

// Colour component 0..1 as the byte a 0x0011 colour chunk holds.
uint8_t byteOf(double v) {
    const double c = v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
    return static_cast<uint8_t>(c * 255.0 + 0.5);
}

// A colour sub-chunk (0x0011, three bytes) inside a property chunk.
void colourChunk(ChunkWriter& w, uint16_t id, Rgb c) {
    w.begin(id);
    w.begin(0x0011);
    w.u8(byteOf(c.r));
    w.u8(byteOf(c.g));
    w.u8(byteOf(c.b));
    w.end();
    w.end();
}

// A percentage sub-chunk (0x0030, 16-bit whole percent) inside a property chunk.
void percentChunk(ChunkWriter& w, uint16_t id, double fraction) {
    w.begin(id);
    w.begin(0x0030);
    w.u16(static_cast<uint16_t>(fraction * 100.0 + 0.5));
    w.end();
    w.end();
}

// A material block: name, colours, shininess, shading, texture map.
void writeMaterial(ChunkWriter& w, const Material& m) {
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str(m.name);
    w.end();
    colourChunk(w, 0xA010, m.ambient);
    colourChunk(w, 0xA020, m.diffuse);
    colourChunk(w, 0xA030, m.specular);
    percentChunk(w, 0xA040, m.shininess);
    w.begin(0xA100);  // shading: Gouraud
    w.u16(2);
    w.end();
    if (!m.textureFile.empty()) {
        w.begin(0xA200);
        w.begin(0x0030);
        w.u16(100);
        w.end();
        w.begin(0xA300);
        w.str(m.textureFile);
        w.end();
        w.end();
    }
    w.end();
}

// A named object whose first sub-chunk is the triangle mesh (the reader
// decides an object's kind by that first sub-chunk).
void writeMesh(ChunkWriter& w, const Mesh& mesh) {
    w.begin(0x4000);
    w.str(mesh.name);
    w.begin(0x4100);

    w.begin(0x4110);
    w.u16(static_cast<uint16_t>(mesh.vertices.size()));
    for (const Vec3& v : mesh.vertices) {
        putFloat(w, v.x);
        putFloat(w, v.y);
        putFloat(w, v.z);
    }
    w.end();

    w.begin(0x4140);
    w.u16(static_cast<uint16_t>(mesh.uvs.size()));
    for (const Vec2& t : mesh.uvs) {
        putFloat(w, t.u);
        putFloat(w, t.v);
    }
    w.end();

    w.begin(0x4160);  // local axes: identity, at the origin
    const double axes[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    for (const double a : axes) putFloat(w, a);
    w.end();

    w.begin(0x4120);
    w.u16(static_cast<uint16_t>(mesh.faces.size()));
    for (const Face& f : mesh.faces) {
        w.u16(f.a);
        w.u16(f.b);
        w.u16(f.c);
        w.u16(0x0007);  // all three edges visible
    }
    // One face material group naming every face (the name must match the
    // material exactly and fit the reader's 19 characters).
    w.begin(0x4130);
    w.str(mesh.material);
    w.u16(static_cast<uint16_t>(mesh.faces.size()));
    for (size_t i = 0; i < mesh.faces.size(); ++i) w.u16(static_cast<uint16_t>(i));
    w.end();
    w.begin(0x4150);
    for (const Face& f : mesh.faces) w.u32(f.smoothing);
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
    w.u32(3);
    w.end();
    w.begin(0x3D3D);
    w.begin(0x3D3E);  // mesh version
    w.u32(3);
    w.end();
    for (const Material& m : model.materials) writeMaterial(w, m);
    w.begin(0x0100);  // master scale
    putFloat(w, 1.0);
    w.end();
    for (const Mesh& mesh : model.meshes) writeMesh(w, mesh);
    w.end();  // editor
    w.begin(0xB000);
    w.begin(0xB00A);  // keyframer header: revision, scene name, frame count
    w.u16(5);
    w.str("Quorl-H");
    w.u32(100);
    w.end();
    w.end();
    w.end();  // main
    return w.take();
}

}  // namespace content
