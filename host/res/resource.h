// Resource identifiers of Hazumaki.scr. Each area keeps its own range.
#pragma once

// Program-wide (100-199)
#define IDI_HAZUMAKI 100
#define IDS_DESCRIPTION 1  // the name in the Windows screensaver list

// Session pictures (200-299): Pic1(0..2)
#define IDB_TOVIRA01 200
#define IDB_TOVIRA02 201
#define IDB_TOVIRA03 202
// Preview picture (300-399)
#define IDB_PREVIEW 300
// Settings dialog and its buttons (400-499), drawn at 100 percent; the same
// pictures at 150 and 200 percent follow at IDB_SCALE_STEP and twice that.
#define IDB_FACE_NORMAL 400
#define IDB_FACE_HIGHLIGHT 401
#define IDB_FACE_HIGHLIGHTSELECT 402
#define IDB_FACE_SELECTED 403
#define IDB_FACE_PRESSED 404
#define IDB_FACE_DISABLE 405
#define IDB_MARK_EMPTY 410
#define IDB_MARK_FILLED 411
#define IDCUR_LINK 420
#define IDB_SCALE_STEP 30
