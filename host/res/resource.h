// Resource identifiers of Hazumaki.scr. Each area keeps its own range.
#pragma once

// Program-wide (100-199)
#define IDI_HAZUMAKI 100
#define IDS_DESCRIPTION 1  // the name in the Windows screensaver list

// Session pictures (200-299)
// Preview picture (300-399)
// Settings dialog and its buttons (400-499)
#define IDB_FACE_NORMAL 400
#define IDB_FACE_HIGHLIGHT 401
#define IDB_FACE_HIGHLIGHTSELECT 402
#define IDB_FACE_SELECTED 403
#define IDB_FACE_PRESSED 404
#define IDB_FACE_DISABLE 405
#define IDB_MARK_EMPTY 410
#define IDB_MARK_FILLED 411
#define IDCUR_LINK 420
