// Writing rendered sounds: Ogg Vorbis (libvorbisenc) for the game, WAV for listening
// while composing.
#pragma once

#include <cstdint>
#include <string>

#include "tools/soundsynth/synth.h"

namespace soundsynth {

// Encodes at the given VBR quality (-0.1 .. 1). The stream serial number is fixed
// by the caller, so the same sound always gives the same bytes. "" or a message.
std::string write_ogg(const std::string& path, const Rendered& sound, double quality, int serial);
// 16-bit PCM WAV. "" or a message.
std::string write_wav(const std::string& path, const Rendered& sound);

}  // namespace soundsynth
