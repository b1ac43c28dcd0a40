// The exported entry points of "tamDIBDraw.dll", forwarding to the one CDIBDraw.
#include "draw_dib/dib_draw.h"

#define TORV_BACKEND_CLASS CDIBDraw
#define TORV_BACKEND_FILE "tamDIBDraw.dll"
#include "draw/backend_exports.inc"
