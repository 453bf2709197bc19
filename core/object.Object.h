#ifndef VELMO_CORE_OBJECT_OBJECT_H
#define VELMO_CORE_OBJECT_OBJECT_H

#include "core/object.IActivatableObject.h"

namespace velmo::core::object {

class Object : public IActivatableObject {
};

}

#endif
