// Names of the result codes Direct3D 9 answers, for the renderer's diagnostic
// texts ("%s - CreateTexture Fail.."). The values are those of d3d9.h (the Windows
// layer checks them against it at compile time); kept here so that they are
// portable and tested without the header.
#pragma once

#include <cstdint>

namespace torv {

constexpr uint32_t kD3dOk = 0;
constexpr uint32_t kD3dErrWrongTextureFormat = 0x88760818;
constexpr uint32_t kD3dErrUnsupportedColorOperation = 0x88760819;
constexpr uint32_t kD3dErrUnsupportedColorArg = 0x8876081A;
constexpr uint32_t kD3dErrUnsupportedAlphaOperation = 0x8876081B;
constexpr uint32_t kD3dErrUnsupportedAlphaArg = 0x8876081C;
constexpr uint32_t kD3dErrTooManyOperations = 0x8876081D;
constexpr uint32_t kD3dErrConflictingTextureFilter = 0x8876081E;
constexpr uint32_t kD3dErrUnsupportedFactorValue = 0x8876081F;
constexpr uint32_t kD3dErrConflictingRenderState = 0x88760821;
constexpr uint32_t kD3dErrUnsupportedTextureFilter = 0x88760823;
constexpr uint32_t kD3dErrConflictingTexturePalette = 0x88760826;
constexpr uint32_t kD3dErrDriverInternalError = 0x88760827;
constexpr uint32_t kD3dErrNotFound = 0x88760866;
constexpr uint32_t kD3dErrMoreData = 0x88760867;
constexpr uint32_t kD3dErrDeviceLost = 0x88760868;
constexpr uint32_t kD3dErrDeviceNotReset = 0x88760869;
constexpr uint32_t kD3dErrNotAvailable = 0x8876086A;
constexpr uint32_t kD3dErrOutOfVideoMemory = 0x8876017C;
constexpr uint32_t kD3dErrInvalidDevice = 0x8876086B;
constexpr uint32_t kD3dErrInvalidCall = 0x8876086C;
constexpr uint32_t kD3dErrDriverInvalidCall = 0x8876086D;
constexpr uint32_t kD3dErrWasStillDrawing = 0x8876021C;
constexpr uint32_t kD3dOkNoAutoGen = 0x0876086F;
constexpr uint32_t kEOutOfMemory = 0x8007000E;
constexpr uint32_t kEInvalidArg = 0x80070057;
constexpr uint32_t kENotImpl = 0x80004001;
constexpr uint32_t kENoInterface = 0x80004002;
constexpr uint32_t kEPointer = 0x80004003;
constexpr uint32_t kEFail = 0x80004005;

// The symbolic name of a result ("D3DERR_DEVICELOST", "E_OUTOFMEMORY", "D3D_OK"),
// or "UNKNOWN" for a code not in the table. The text is static.
const char* d3d_error_name(uint32_t result);

}  // namespace torv
