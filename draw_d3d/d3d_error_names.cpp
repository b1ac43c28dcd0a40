// The table of Direct3D 9 result names.
#include "draw_d3d/d3d_error_names.h"

namespace torv {

namespace {

struct ErrorName {
  uint32_t code;
  const char* name;
};

const ErrorName kNames[] = {
    {kD3dOk, "D3D_OK"},
    {kD3dErrWrongTextureFormat, "D3DERR_WRONGTEXTUREFORMAT"},
    {kD3dErrUnsupportedColorOperation, "D3DERR_UNSUPPORTEDCOLOROPERATION"},
    {kD3dErrUnsupportedColorArg, "D3DERR_UNSUPPORTEDCOLORARG"},
    {kD3dErrUnsupportedAlphaOperation, "D3DERR_UNSUPPORTEDALPHAOPERATION"},
    {kD3dErrUnsupportedAlphaArg, "D3DERR_UNSUPPORTEDALPHAARG"},
    {kD3dErrTooManyOperations, "D3DERR_TOOMANYOPERATIONS"},
    {kD3dErrConflictingTextureFilter, "D3DERR_CONFLICTINGTEXTUREFILTER"},
    {kD3dErrUnsupportedFactorValue, "D3DERR_UNSUPPORTEDFACTORVALUE"},
    {kD3dErrConflictingRenderState, "D3DERR_CONFLICTINGRENDERSTATE"},
    {kD3dErrUnsupportedTextureFilter, "D3DERR_UNSUPPORTEDTEXTUREFILTER"},
    {kD3dErrConflictingTexturePalette, "D3DERR_CONFLICTINGTEXTUREPALETTE"},
    {kD3dErrDriverInternalError, "D3DERR_DRIVERINTERNALERROR"},
    {kD3dErrNotFound, "D3DERR_NOTFOUND"},
    {kD3dErrMoreData, "D3DERR_MOREDATA"},
    {kD3dErrDeviceLost, "D3DERR_DEVICELOST"},
    {kD3dErrDeviceNotReset, "D3DERR_DEVICENOTRESET"},
    {kD3dErrNotAvailable, "D3DERR_NOTAVAILABLE"},
    {kD3dErrOutOfVideoMemory, "D3DERR_OUTOFVIDEOMEMORY"},
    {kD3dErrInvalidDevice, "D3DERR_INVALIDDEVICE"},
    {kD3dErrInvalidCall, "D3DERR_INVALIDCALL"},
    {kD3dErrDriverInvalidCall, "D3DERR_DRIVERINVALIDCALL"},
    {kD3dErrWasStillDrawing, "D3DERR_WASSTILLDRAWING"},
    {kD3dOkNoAutoGen, "D3DOK_NOAUTOGEN"},
    {kEOutOfMemory, "E_OUTOFMEMORY"},
    {kEInvalidArg, "E_INVALIDARG"},
    {kENotImpl, "E_NOTIMPL"},
    {kENoInterface, "E_NOINTERFACE"},
    {kEPointer, "E_POINTER"},
    {kEFail, "E_FAIL"},
};

}  // namespace

const char* d3d_error_name(uint32_t result) {
  for (const ErrorName& e : kNames) {
    if (e.code == result) return e.name;
  }
  return "UNKNOWN";
}

}  // namespace torv
