// The platform's winddi.h includes this DirectDraw driver header, which this toolchain does
// not ship. A printer driver uses none of its types, so names are enough: winddi.h only
// passes them by pointer.
#ifndef VELMO_DRIVER_COMPAT_DDRAWINT_H
#define VELMO_DRIVER_COMPAT_DDRAWINT_H

typedef struct _DD_SURFACE_LOCAL DD_SURFACE_LOCAL, *PDD_SURFACE_LOCAL;
typedef struct _DD_DIRECTDRAW_GLOBAL DD_DIRECTDRAW_GLOBAL, *PDD_DIRECTDRAW_GLOBAL;
typedef struct _DD_HALINFO DD_HALINFO, *PDD_HALINFO;
typedef struct _DD_CALLBACKS DD_CALLBACKS, *PDD_CALLBACKS;
typedef struct _DD_SURFACECALLBACKS DD_SURFACECALLBACKS, *PDD_SURFACECALLBACKS;
typedef struct _DD_PALETTECALLBACKS DD_PALETTECALLBACKS, *PDD_PALETTECALLBACKS;
typedef struct _VIDEOMEMORY VIDEOMEMORY, *PVIDEOMEMORY, *LPVIDEOMEMORY;

#endif
