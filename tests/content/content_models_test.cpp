// content_models_test.cpp: the 3DS files in data/ hold what the show's 3DS
// reader looks for, with the sizes and properties the show's parts assume.
//
// A small chunk walker of its own reads the files, so a fault in the
// generator's writer cannot hide behind the same code reading it back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "content_files.h"

using namespace content_test;

namespace {

struct Vec {
    double x, y, z;
};

struct MeshData {
    std::string name;
    std::vector<Vec> vertices;
    std::vector<std::array<double, 2>> uvs;
    std::vector<std::array<uint32_t, 3>> faces;
    std::vector<uint32_t> smoothing;
    std::vector<std::string> groupMaterials;
    size_t dataEnd = 0;  // offset of the first byte after the mesh chunk
};

struct ModelData {
    bool main = false, editor = false;
    std::vector<std::string> materials;
    std::vector<std::string> textureFiles;
    std::vector<MeshData> meshes;
    size_t size = 0;
};

float f32(const std::vector<uint8_t>& b, size_t at) {
    const uint32_t bits = le32(b, at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::string cstr(const std::vector<uint8_t>& b, size_t& at, size_t end) {
    std::string s;
    while (at < end && b[at] != 0) s.push_back(static_cast<char>(b[at++]));
    ++at;
    return s;
}

// Visit the chunks between begin and end: fn(id, data start, chunk end).
template <typename Fn>
void chunks(const std::vector<uint8_t>& b, size_t begin, size_t end, Fn&& fn) {
    for (int guard = 0; begin + 6 <= end && guard < 100000; ++guard) {
        const uint32_t id = le16(b, begin);
        const size_t len = le32(b, begin + 2);
        if (len < 6 || begin + len > end) return;
        fn(id, begin + 6, begin + len);
        begin += len;
    }
}

MeshData readMesh(const std::vector<uint8_t>& b, const std::string& name, size_t start, size_t end) {
    MeshData m;
    m.name = name;
    m.dataEnd = end;
    chunks(b, start, end, [&](uint32_t id, size_t at, size_t stop) {
        if (id == 0x4110) {
            const uint32_t n = le16(b, at);
            for (uint32_t i = 0; i < n; ++i)
                m.vertices.push_back({f32(b, at + 2 + i * 12), f32(b, at + 6 + i * 12), f32(b, at + 10 + i * 12)});
        } else if (id == 0x4140) {
            const uint32_t n = le16(b, at);
            for (uint32_t i = 0; i < n; ++i) m.uvs.push_back({f32(b, at + 2 + i * 8), f32(b, at + 6 + i * 8)});
        } else if (id == 0x4120) {
            const uint32_t n = le16(b, at);
            for (uint32_t i = 0; i < n; ++i)
                m.faces.push_back({le16(b, at + 2 + i * 8), le16(b, at + 4 + i * 8), le16(b, at + 6 + i * 8)});
            chunks(b, at + 2 + n * 8, stop, [&](uint32_t sub, size_t s, size_t e) {
                if (sub == 0x4130) {
                    m.groupMaterials.push_back(cstr(b, s, e));
                } else if (sub == 0x4150) {
                    for (uint32_t i = 0; i < n; ++i) m.smoothing.push_back(le32(b, s + i * 4));
                }
            });
        }
    });
    return m;
}

ModelData readModel(const std::string& file) {
    const std::vector<uint8_t> b = readData(file);
    ModelData d;
    d.size = b.size();
    chunks(b, 0, b.size(), [&](uint32_t id, size_t at, size_t end) {
        if (id != 0x4D4D) return;
        d.main = true;
        chunks(b, at, end, [&](uint32_t eid, size_t eat, size_t eend) {
            if (eid != 0x3D3D) return;
            d.editor = true;
            chunks(b, eat, eend, [&](uint32_t oid, size_t oat, size_t oend) {
                if (oid == 0xAFFF) {
                    chunks(b, oat, oend, [&](uint32_t mid, size_t mat, size_t mend) {
                        if (mid == 0xA000) d.materials.push_back(cstr(b, mat, mend));
                        if (mid == 0xA200)
                            chunks(b, mat, mend, [&](uint32_t tid, size_t tat, size_t tend) {
                                if (tid == 0xA300) d.textureFiles.push_back(cstr(b, tat, tend));
                            });
                    });
                } else if (oid == 0x4000) {
                    size_t p = oat;
                    const std::string name = cstr(b, p, oend);
                    // The reader decides an object's kind by its first sub-chunk.
                    if (p + 6 <= oend && le16(b, p) == 0x4100)
                        d.meshes.push_back(readMesh(b, name, p + 6, p + le32(b, p + 2)));
                }
            });
        });
    });
    return d;
}

struct Box {
    Vec lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
    void add(const Vec& v) {
        lo = {std::fmin(lo.x, v.x), std::fmin(lo.y, v.y), std::fmin(lo.z, v.z)};
        hi = {std::fmax(hi.x, v.x), std::fmax(hi.y, v.y), std::fmax(hi.z, v.z)};
    }
    double span(int axis) const { return axis == 0 ? hi.x - lo.x : axis == 1 ? hi.y - lo.y : hi.z - lo.z; }
};

Box bounds(const ModelData& d) {
    Box box;
    for (const MeshData& m : d.meshes)
        for (const Vec& v : m.vertices) box.add(v);
    return box;
}

size_t triangleCount(const ModelData& d) {
    size_t n = 0;
    for (const MeshData& m : d.meshes) n += m.faces.size();
    return n;
}

// Six times the enclosed volume; positive when faces wind counter-clockwise
// seen from outside, the side the show's back-face culling keeps.
double signedVolume(const MeshData& m) {
    double v = 0.0;
    for (const auto& f : m.faces) {
        const Vec& a = m.vertices[f[0]];
        const Vec& b = m.vertices[f[1]];
        const Vec& c = m.vertices[f[2]];
        v += a.x * (b.y * c.z - b.z * c.y) - a.y * (b.x * c.z - b.z * c.x) + a.z * (b.x * c.y - b.y * c.x);
    }
    return v;
}

}  // namespace

TEST(ContentModels, ChunkTheReaderLooksForIsMissing) {
    for (const char* file : MODELS) {
        const ModelData d = readModel(file);
        ASSERT_TRUE(d.main && d.editor) << file;
        ASSERT_FALSE(d.meshes.empty()) << file;
        // With a material the show gives the model box3.bmp and copies its
        // texture coordinates.
        EXPECT_EQ(d.materials.size(), 1u) << file;
        EXPECT_EQ(d.textureFiles, std::vector<std::string>{"box3.bmp"}) << file;
        for (const MeshData& m : d.meshes) {
            EXPECT_GT(m.vertices.size(), 0u) << file << " " << m.name;
            EXPECT_EQ(m.uvs.size(), m.vertices.size()) << file << " " << m.name;
            EXPECT_EQ(m.smoothing.size(), m.faces.size()) << file << " " << m.name;
            ASSERT_EQ(m.groupMaterials.size(), 1u) << file << " " << m.name;
            // The reader keeps 19 characters of a group's material name.
            EXPECT_LE(m.groupMaterials[0].size(), 19u);
            EXPECT_EQ(m.groupMaterials[0], d.materials[0]) << file << " " << m.name;
        }
    }
}

TEST(ContentModels, FaceOrTextureCoordinateOutOfRange) {
    for (const char* file : MODELS) {
        for (const MeshData& m : readModel(file).meshes) {
            for (const auto& f : m.faces)
                for (const uint32_t i : f) ASSERT_LT(i, m.vertices.size()) << file << " " << m.name;
            for (const auto& uv : m.uvs) {
                EXPECT_TRUE(uv[0] >= 0.0 && uv[0] <= 1.0 && uv[1] >= 0.0 && uv[1] <= 1.0) << file << " " << m.name;
            }
        }
    }
}

// The reader never reads a value that ends on the file's last byte.
TEST(ContentModels, MeshDataReachesTheLastByte) {
    for (const char* file : MODELS) {
        const ModelData d = readModel(file);
        for (const MeshData& m : d.meshes) EXPECT_LT(m.dataEnd, d.size) << file << " " << m.name;
    }
}

TEST(ContentModels, FacesWoundInsideOut) {
    for (const char* file : MODELS)
        for (const MeshData& m : readModel(file).meshes) EXPECT_GT(signedVolume(m), 0.0) << file << " " << m.name;
}

TEST(ContentModels, SculptureSizeOrDetailOffTarget) {
    const ModelData d = readModel("allt.3ds");
    EXPECT_GE(d.meshes.size(), 3u);
    const size_t triangles = triangleCount(d);
    EXPECT_GE(triangles, 2000u);
    EXPECT_LE(triangles, 10000u);
    const Box box = bounds(d);
    const double across = std::fmax(box.span(0), std::fmax(box.span(1), box.span(2)));
    EXPECT_GE(across, 400.0);
    EXPECT_LE(across, 500.0);
    std::set<uint32_t> groups;
    for (const MeshData& m : d.meshes) {
        groups.insert(m.smoothing.begin(), m.smoothing.end());
        // The show's line mode pairs corners across faces; an odd count would
        // shift the pairing of every later mesh.
        EXPECT_EQ(m.faces.size() % 2, 0u) << m.name;
    }
    EXPECT_GE(groups.size(), 3u) << "no hard edges";
}

TEST(ContentModels, FishSizeOrCollisionPointsOffTarget) {
    const ModelData d = readModel("fish.3ds");
    ASSERT_FALSE(d.meshes.empty());
    const MeshData& m = d.meshes[0];
    ASSERT_GT(m.vertices.size(), 160u);
    const Box box = bounds(d);
    EXPECT_NEAR(box.span(0), 125.0, 5.0) << "length";
    // The collision body turns about the origin of its points.
    EXPECT_NEAR(box.lo.x + box.hi.x, 0.0, 1.0);
    EXPECT_NEAR(box.lo.z + box.hi.z, 0.0, 1.0);
    // The first 80 vertices are the collision points: they must outline the
    // whole fish, not one fin.
    Box first;
    for (size_t i = 0; i < 80; ++i) first.add(m.vertices[i]);
    for (int axis = 0; axis < 3; ++axis) EXPECT_GE(first.span(axis), 0.8 * box.span(axis)) << "axis " << axis;
}

TEST(ContentModels, BoxNotTheCollisionBox) {
    const ModelData d = readModel("boxtex.3ds");
    ASSERT_EQ(d.meshes.size(), 1u);
    const MeshData& m = d.meshes[0];
    EXPECT_EQ(m.faces.size(), 12u);
    for (const Vec& v : m.vertices) {
        for (const double c : {v.x, v.y, v.z}) EXPECT_NEAR(std::fabs(c), 16.65, 0.01);
    }
    // One smoothing group per side: hard edges all round.
    EXPECT_EQ(std::set<uint32_t>(m.smoothing.begin(), m.smoothing.end()).size(), 6u);
}
