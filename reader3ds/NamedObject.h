// NamedObject.h: base of the records the 3DS reader produces (meshes,
// materials, lights): each carries the name it has in the file.
#pragma once

#include <string>
#include <string_view>

class NamedObject {
public:
    NamedObject() = default;
    NamedObject(const NamedObject&) = default;
    NamedObject(NamedObject&&) = default;
    NamedObject& operator=(const NamedObject&) = default;
    NamedObject& operator=(NamedObject&&) = default;
    virtual ~NamedObject() = default;

    virtual const std::string& GetName() const { return name; }
    // Replaces the name by a copy of the argument.
    virtual void SetName(std::string_view newName) { name.assign(newName); }

private:
    std::string name;
};
