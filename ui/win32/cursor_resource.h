#pragma once
// The resource number of the hand pointer that controls with the hand
// pointer show: a program whose resources hold a cursor of this number
// shows its own, any other the system's. A plain #define, so that windres
// reads it too.
#define BV_CURSOR_HAND 301
