// Object.h: a drawable, movable triangle model built from every mesh of one
// 3DS file.
//
// Loading flattens all meshes into one vertex list and one face list and
// keeps two copies of positions and normals: the base copy (as read, times
// every scale) and the drawn copy that the transforms change and drawing
// reads. Each ObjectFace points into the drawn arrays, so a transform is
// seen by the next draw without touching the faces.
//
// Angles are whole degrees used as indices into SIN_TABLE and COS_TABLE
// (common/ShowGlobals.h), which must be filled before the first load.
//
// Loading, scaling and the transforms are plain array work with no GL call;
// only the texture of `load` and `draw` (ObjectDraw.cpp) need a current GL
// context. `buildFrom` is the GL-free part of `load`, for tests and tools.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class Reader3DS;

// One triangle of an Object.
struct ObjectFace {
    int index[3] = {0, 0, 0};                          // into the Object's vertex arrays
    float* faceNormal = nullptr;                       // this face's drawn face normal
    float* position[3] = {nullptr, nullptr, nullptr};  // drawn positions of the corners
    float* normal[3] = {nullptr, nullptr, nullptr};    // drawn vertex normals of the corners
    float texCoord[6] = {0, 0, 0, 0, 0, 0};            // (U, V) of corners 0, 1, 2
};

class Object {
public:
    uint32_t textureA = 0;  // env-map and sphere-map texture; set by the owner
    uint32_t textureB = 0;  // texture of DRAW_TEXTURED; made by load when the file has materials

    std::vector<float> basePositions;  // 3 per vertex, as read times every scale
    std::vector<float> positions;      // 3 per vertex, what is drawn
    std::vector<float> baseNormals;    // 3 per vertex, as read
    std::vector<float> normals;        // 3 per vertex, drawn
    int vertexCount = 0;

    std::vector<ObjectFace> faces;
    std::vector<float> baseFaceNormals;  // 3 per face, as read
    std::vector<float> faceNormals;      // 3 per face, drawn
    int faceCount = 0;

    std::array<float, 3> centre{};  // pivot of rotate; moves with every translate

    // Corner indices of all faces in face order (3 per face), for the
    // vertex-array submission of the smooth and line modes.
    std::vector<uint32_t> cornerIndices;

    Object() = default;
    // Faces point into the object's own arrays: a copy would point into the
    // original. Moving keeps the arrays' storage, so the pointers stay valid.
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    Object(Object&&) = default;
    Object& operator=(Object&&) = default;

    // Reads every mesh of the 3DS file. A file that does not load is
    // reported in a message box; the object keeps whatever the reader got
    // (nothing, when the file could not be opened) and draws that.
    void load(const std::string& fileName);
    // The GL-free part of load: flattens the reader's meshes into the
    // arrays and copies base to drawn. Texture coordinates are copied when
    // `hasMaterials` is set.
    void buildFrom(const Reader3DS& reader, bool hasMaterials);

    // Multiplies base and drawn positions by `factor`; normals and centre stay.
    void scale(float factor);
    // Drawn arrays = base arrays turned about x by ax, then y by ay, then z by az.
    void setRotation(int ax, int ay, int az);
    // Turns the drawn positions about `centre` and the drawn normals about
    // the origin, in place.
    void rotate(int ax, int ay, int az);
    // Moves the drawn positions and `centre`.
    void translate(float dx, float dy, float dz);
    // Address of the drawn positions (3 floats per vertex) and their count.
    void getVertices(float*& vertices, int& count);
    void getVertices(const float*& vertices, int& count) const;

    // Sends the drawn arrays to GL in one of the DRAW_* modes (ObjectDraw.cpp).
    // A mode outside the table draws nothing and changes no GL state.
    void draw(int mode) const;

private:
    void drawSmooth() const;
    void drawFlat() const;
    void drawTextured() const;
    void drawSphereMap() const;
    void drawEnvMap() const;
    void drawShadow() const;
    void drawShadowVolume() const;
    void drawLines() const;
};

// The show's rotation of one vector, in single precision and in this order:
// about x by ax, then about y by ay (x' = x cos - z sin), then about z by az.
// Angles outside 0..359 are brought into range first.
void rotateVector(int ax, int ay, int az, const float* in, float* out);

// Prints the system's message for "malloc" to standard error and "malloc"
// to standard output, then ends the process with a failure status.
[[noreturn]] void failModelAllocation();

// Sizes `array` to `count` value-initialised elements, or ends the process
// through failModelAllocation when the memory cannot be had.
template <class T>
void allocateModelArray(std::vector<T>& array, std::size_t count)
{
    try {
        array.assign(count, T{});
    } catch (const std::exception&) {  // bad_alloc, or a size beyond max_size
        failModelAllocation();
    }
}
