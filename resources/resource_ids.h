#pragma once
// Resource numbers shared by the programs' .rc files and their code.
// Plain #defines so that windres can read this file too.

#define BV_ICON_PROGRAM 1
#define BV_ICON_UNINSTALL 2

// The agent's button bitmaps, 27 by 13 pixels.
#define BV_BMP_PLAY 101
#define BV_BMP_PAUSE 102
#define BV_BMP_DIM 103
#define BV_BMP_LIT 104

// The agent bar's background, 177 by 25 pixels: agent_bar.jpg as decoded.
#define BV_BMP_BAR 105

// The configuration tool's placeholder preview, 210 by 123 pixels.
#define BV_BMP_PLACEHOLDER 101
// Shown instead for a file that is no picture the tool can show.
#define BV_BMP_UNREADABLE 102
// The tool's corner picture, 32 by 32 pixels: badge.gif as decoded, its
// see-through pixels in magenta.
#define BV_BMP_BADGE 103

// Pictures kept as raw data (RCDATA): decoded at run time.
#define BV_JPEG_BAR 201
#define BV_GIF_BADGE 202

// The hand pointer's number is the window layer's.
#include "ui/win32/cursor_resource.h"
