// Names that other programs, and other starts of this one, look for. Each is
// stated here once; the window that carries a title creates it with the same
// constant its finders use.
#pragma once

namespace hz {

// Top-level window titles.
inline constexpr char kSessionTitle[] = "Tovira_Main";  // one running session
inline constexpr char kDialogTitle[] = "<Hazumaki>";    // one open settings dialog
inline constexpr char kPreviewTitle[] = "Preview Window";
inline constexpr char kRendererTitle[] = "Tovira_VC";  // the session ends when it goes

// Where the session hands its pictures to the renderer, which reads them by
// these names (Pic1's order).
inline constexpr char kWorkingFolder[] = "C:\\k_arden";
inline constexpr const char* kTextureFiles[] = {"Tovira01.bmp", "Tovira02.bmp", "Tovira03.bmp"};

// The renderer, beside the program.
inline constexpr char kRendererFile[] = "\\Hazumaki.dll";

}  // namespace hz
