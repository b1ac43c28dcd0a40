// The exported entry points of "tamDDDraw.dll", forwarding to the one CDDDraw.
#include "draw_ddraw/dd_draw.h"

#define TORV_BACKEND_CLASS CDDDraw
#define TORV_BACKEND_FILE "tamDDDraw.dll"
#include "draw/backend_exports.inc"
