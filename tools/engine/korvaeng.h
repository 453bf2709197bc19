#ifndef VELMO_TOOLS_ENGINE_KORVAENG_H
#define VELMO_TOOLS_ENGINE_KORVAENG_H

// What the graphics-engine emulation offers beyond the engine's own functions: counters
// that let a test see which engine calls a driver made and what it left behind.
#ifdef KORVAENG_BUILD
#define KORVAENG_API extern "C" __declspec(dllexport)
#else
#define KORVAENG_API extern "C" __declspec(dllimport)
#endif

// Calls of the named engine function (e.g. "EngBitBlt") since the last reset.
KORVAENG_API int korvaEngCallCount(const char* pszFunction);
KORVAENG_API void korvaEngResetCallCounts();

// Surfaces and palettes created and not yet deleted.
KORVAENG_API int korvaEngLiveSurfaces();
KORVAENG_API int korvaEngLivePalettes();

#endif
