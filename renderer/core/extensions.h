// The ARB_multitexture entry points and the swap interval, looked up at run
// time once the rendering context is current.
#pragma once

#include "gl_api.h"

// The table's slots in order: the two unit selectors, then glMultiTexCoord
// with 1 to 4 components, each in the forms d, dv, f, fv, i, iv, s, sv.
#define HZ_MULTITEXTURE_ENTRY_POINTS(X)                        \
  X(PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB)             \
  X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB) \
  X(PFNGLMULTITEXCOORD1DARBPROC, glMultiTexCoord1dARB)         \
  X(PFNGLMULTITEXCOORD1DVARBPROC, glMultiTexCoord1dvARB)       \
  X(PFNGLMULTITEXCOORD1FARBPROC, glMultiTexCoord1fARB)         \
  X(PFNGLMULTITEXCOORD1FVARBPROC, glMultiTexCoord1fvARB)       \
  X(PFNGLMULTITEXCOORD1IARBPROC, glMultiTexCoord1iARB)         \
  X(PFNGLMULTITEXCOORD1IVARBPROC, glMultiTexCoord1ivARB)       \
  X(PFNGLMULTITEXCOORD1SARBPROC, glMultiTexCoord1sARB)         \
  X(PFNGLMULTITEXCOORD1SVARBPROC, glMultiTexCoord1svARB)       \
  X(PFNGLMULTITEXCOORD2DARBPROC, glMultiTexCoord2dARB)         \
  X(PFNGLMULTITEXCOORD2DVARBPROC, glMultiTexCoord2dvARB)       \
  X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2fARB)         \
  X(PFNGLMULTITEXCOORD2FVARBPROC, glMultiTexCoord2fvARB)       \
  X(PFNGLMULTITEXCOORD2IARBPROC, glMultiTexCoord2iARB)         \
  X(PFNGLMULTITEXCOORD2IVARBPROC, glMultiTexCoord2ivARB)       \
  X(PFNGLMULTITEXCOORD2SARBPROC, glMultiTexCoord2sARB)         \
  X(PFNGLMULTITEXCOORD2SVARBPROC, glMultiTexCoord2svARB)       \
  X(PFNGLMULTITEXCOORD3DARBPROC, glMultiTexCoord3dARB)         \
  X(PFNGLMULTITEXCOORD3DVARBPROC, glMultiTexCoord3dvARB)       \
  X(PFNGLMULTITEXCOORD3FARBPROC, glMultiTexCoord3fARB)         \
  X(PFNGLMULTITEXCOORD3FVARBPROC, glMultiTexCoord3fvARB)       \
  X(PFNGLMULTITEXCOORD3IARBPROC, glMultiTexCoord3iARB)         \
  X(PFNGLMULTITEXCOORD3IVARBPROC, glMultiTexCoord3ivARB)       \
  X(PFNGLMULTITEXCOORD3SARBPROC, glMultiTexCoord3sARB)         \
  X(PFNGLMULTITEXCOORD3SVARBPROC, glMultiTexCoord3svARB)       \
  X(PFNGLMULTITEXCOORD4DARBPROC, glMultiTexCoord4dARB)         \
  X(PFNGLMULTITEXCOORD4DVARBPROC, glMultiTexCoord4dvARB)       \
  X(PFNGLMULTITEXCOORD4FARBPROC, glMultiTexCoord4fARB)         \
  X(PFNGLMULTITEXCOORD4FVARBPROC, glMultiTexCoord4fvARB)       \
  X(PFNGLMULTITEXCOORD4IARBPROC, glMultiTexCoord4iARB)         \
  X(PFNGLMULTITEXCOORD4IVARBPROC, glMultiTexCoord4ivARB)       \
  X(PFNGLMULTITEXCOORD4SARBPROC, glMultiTexCoord4sARB)         \
  X(PFNGLMULTITEXCOORD4SVARBPROC, glMultiTexCoord4svARB)

struct MultitextureTable {
#define HZ_SLOT(type, name) type name = nullptr;
  HZ_MULTITEXTURE_ENTRY_POINTS(HZ_SLOT)
#undef HZ_SLOT
};

// Filled once by LoadMultitextureEntryPoints and read-only afterwards; a
// function the driver does not know leaves its slot null.
extern MultitextureTable MultitextureEntryPoints;

// How entry points are found: wglGetProcAddress in the product, the offscreen
// library's lookup natively. Without one every lookup gives null.
using EntryPointLookup = void* (*)(const char* name);
void SetEntryPointLookup(EntryPointLookup lookup);

// Fills every slot, in slot order. Call with the rendering context current.
void LoadMultitextureEntryPoints();

// True when the unit selectors and glMultiTexCoord2fvARB, which the tunnel
// draws with, are all there; without them it draws with one texture.
bool HasMultitexture();

// wglSwapIntervalEXT with the low 8 bits of `interval`, when the driver has it.
void SetSwapInterval(int interval);
