// DRAW_INIT_MODE: which drawing back-end the front-end loads. Kept apart from the
// contract header so the portable front-end logic (back-end table, colour packing)
// can use it without windows.h; the contract header includes it.
#pragma once

enum DRAW_INIT_MODE {
  DRAW_INIT_NONE = 0,   // no back-end loaded; colour values are 0
  DRAW_INIT_D3D = 1,    // "tamDx3DDraw.dll": Direct3D 9, colour 0xAARRGGBB
  DRAW_INIT_DDRAW = 2,  // "tamDDDraw.dll": DirectDraw 7, colour 0xAABBGGRR
  DRAW_INIT_DIB = 3,    // "tamDIBDraw.dll": GDI DIB sections, colour 0xAABBGGRR
};
