// Resource identifiers of Hazumaki.scr. Each area keeps its own range.
#pragma once

// Program-wide (100-199)
#define IDI_HAZUMAKI 100
#define IDS_DESCRIPTION 1  // the name in the Windows screensaver list

// Session pictures (200-299)
// Preview picture (300-399)
// Settings dialog and its buttons (400-499)
