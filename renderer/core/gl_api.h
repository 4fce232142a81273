// OpenGL 1.1, GLU and the extension declarations, without <windows.h>: the
// Windows headers of GL only need their calling-convention macros, which we
// lend them for the length of the includes.
#pragma once

#if defined(_WIN32)
#if !defined(APIENTRY)
#define APIENTRY __stdcall
#define HZ_LENT_APIENTRY
#endif
#if !defined(WINGDIAPI)
#define WINGDIAPI __declspec(dllimport)
#define HZ_LENT_WINGDIAPI
#endif
#if !defined(CALLBACK)
#define CALLBACK __stdcall
#define HZ_LENT_CALLBACK
#endif
#endif

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#if defined(HZ_LENT_APIENTRY)
#undef APIENTRY
#undef HZ_LENT_APIENTRY
#endif
#if defined(HZ_LENT_WINGDIAPI)
#undef WINGDIAPI
#undef HZ_LENT_WINGDIAPI
#endif
#if defined(HZ_LENT_CALLBACK)
#undef CALLBACK
#undef HZ_LENT_CALLBACK
#endif

// The calling convention of GL and WGL entry points, for our own pointer types.
#if defined(_WIN32)
#define HZ_GL_CALL __stdcall
#else
#define HZ_GL_CALL
#endif
