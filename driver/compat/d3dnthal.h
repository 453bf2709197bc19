// Included by the platform's winddi.h; a printer driver needs none of the Direct3D driver
// types, so this stands in for the header this toolchain does not ship.
#ifndef VELMO_DRIVER_COMPAT_D3DNTHAL_H
#define VELMO_DRIVER_COMPAT_D3DNTHAL_H
#endif
