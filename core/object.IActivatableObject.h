#ifndef VELMO_CORE_OBJECT_IACTIVATABLEOBJECT_H
#define VELMO_CORE_OBJECT_IACTIVATABLEOBJECT_H

#include <cstdint>

namespace velmo::core::object {

class Object;

// The root of every library class: a reference count (1 after construction) and the
// factory that made the object, if any. No operation raises the count.
class IActivatableObject {
public:
    IActivatableObject() = default;
    IActivatableObject(const IActivatableObject&) {}
    IActivatableObject& operator=(const IActivatableObject&) { return *this; }
    virtual ~IActivatableObject() = default;

    // Drops one reference; the last one destroys the object and returns its storage to
    // the library heap. Only for objects allocated there (see ObjectArray::addNew).
    void release();

    std::int32_t getReferenceCount() const { return m_nReferenceCount; }
    const Object* getOwner() const { return m_pOwner; }
    void setOwner(const Object* pOwner) { m_pOwner = pOwner; }

private:
    std::int32_t m_nReferenceCount = 1;
    const Object* m_pOwner = nullptr;
};

}

#endif
