// SceneImporter.h: abstract base of model-file readers. It owns what a reader
// produces (lights, meshes, materials, each in file order); a reader fills the
// arrays in LoadFile and Clear empties them.
#pragma once

#include <string>
#include <vector>

#include "reader3ds/Light.h"
#include "reader3ds/Material.h"
#include "reader3ds/Mesh.h"

class SceneImporter {
public:
    SceneImporter() = default;
    SceneImporter(const SceneImporter&) = delete;
    SceneImporter& operator=(const SceneImporter&) = delete;
    virtual ~SceneImporter() = default;

    // Reads a model file; true when it was read to the end.
    virtual bool LoadFile(const std::string& fileName) = 0;
    // Destroys every light, mesh and material.
    virtual void Clear() {
        lights.clear();
        meshes.clear();
        materials.clear();
    }

    std::vector<Light> lights;
    std::vector<Mesh> meshes;
    std::vector<Material> materials;
};
