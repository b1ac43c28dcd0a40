// An export spelled like the drawing back-ends' own, checked against a real contract
// type. Compiled, never linked. As written it matches; each TORV_PROBE_* switch plants
// one defect that the check has to turn into a compile error.
#include "draw/draw_contract.h"

#ifdef TORV_PROBE_WRONG_CONVENTION
#define PROBE_CALL __stdcall
#else
#define PROBE_CALL
#endif

#ifdef TORV_PROBE_WRONG_PARAMETER
typedef float ProbeAlpha;
#else
typedef double ProbeAlpha;
#endif

extern "C" __declspec(dllexport) int PROBE_CALL probeDrawImage(int slot, int x, int y, int width, int height,
                                                               ProbeAlpha alpha) {
  return slot + x + y + width + height + static_cast<int>(alpha);
}

TORV_CHECK_EXPORT(probeDrawImage, DrawImageFn);
