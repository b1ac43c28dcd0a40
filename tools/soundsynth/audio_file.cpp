// Ogg Vorbis and WAV output of the synthesiser.
#include "tools/soundsynth/audio_file.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/contentkit/text_source.h"

namespace soundsynth {

namespace {

// Encoder state released on every path.
struct Encoder {
  vorbis_info vi;
  vorbis_comment vc;
  vorbis_dsp_state vd;
  vorbis_block vb;
  ogg_stream_state os;
  bool dsp = false, stream = false;
  Encoder() {
    vorbis_info_init(&vi);
    vorbis_comment_init(&vc);
  }
  ~Encoder() {
    if (stream) ogg_stream_clear(&os);
    if (dsp) {
      vorbis_block_clear(&vb);
      vorbis_dsp_clear(&vd);
    }
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
  }
};

void put_le(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

std::string write_ogg(const std::string& path, const Rendered& sound, double quality, int serial) {
  Encoder enc;
  if (vorbis_encode_init_vbr(&enc.vi, sound.channels, sound.rate, static_cast<float>(quality)) != 0)
    return path + ": the Vorbis encoder refused the settings";
  vorbis_comment_add_tag(&enc.vc, "ENCODER", "torv soundsynth");
  vorbis_analysis_init(&enc.vd, &enc.vi);
  vorbis_block_init(&enc.vd, &enc.vb);
  enc.dsp = true;
  ogg_stream_init(&enc.os, serial);
  enc.stream = true;

  std::string bytes;
  ogg_page page;
  ogg_packet header, comment, code;
  vorbis_analysis_headerout(&enc.vd, &enc.vc, &header, &comment, &code);
  ogg_stream_packetin(&enc.os, &header);
  ogg_stream_packetin(&enc.os, &comment);
  ogg_stream_packetin(&enc.os, &code);
  // The headers get pages of their own, so audio starts on a fresh page.
  while (ogg_stream_flush(&enc.os, &page) != 0) {
    bytes.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    bytes.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
  }

  constexpr size_t kChunk = 1024;
  const size_t frames = sound.frames();
  size_t done = 0;
  bool eos = false;
  while (!eos) {
    const size_t n = std::min(kChunk, frames - done);
    if (n == 0) {
      vorbis_analysis_wrote(&enc.vd, 0);  // end of input
    } else {
      float** buffer = vorbis_analysis_buffer(&enc.vd, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i)
        for (int c = 0; c < sound.channels; ++c) buffer[c][i] = sound.samples[(done + i) * sound.channels + c];
      vorbis_analysis_wrote(&enc.vd, static_cast<int>(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&enc.vd, &enc.vb) == 1) {
      vorbis_analysis(&enc.vb, nullptr);
      vorbis_bitrate_addblock(&enc.vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&enc.vd, &packet)) {
        ogg_stream_packetin(&enc.os, &packet);
        while (!eos && ogg_stream_pageout(&enc.os, &page) != 0) {
          bytes.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
          bytes.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
          if (ogg_page_eos(&page)) eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      // Everything is in; flush what is left.
      while (ogg_stream_flush(&enc.os, &page) != 0) {
        bytes.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
        bytes.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
      }
      eos = true;
    }
  }
  return contentkit::write_binary_file(path, bytes);
}

std::string write_wav(const std::string& path, const Rendered& sound) {
  std::string out = "RIFF";
  const uint32_t data_bytes = static_cast<uint32_t>(sound.samples.size() * 2);
  put_le(out, 36 + data_bytes, 4);
  out += "WAVEfmt ";
  put_le(out, 16, 4);
  put_le(out, 1, 2);  // PCM
  put_le(out, static_cast<uint32_t>(sound.channels), 2);
  put_le(out, static_cast<uint32_t>(sound.rate), 4);
  put_le(out, static_cast<uint32_t>(sound.rate * sound.channels * 2), 4);
  put_le(out, static_cast<uint32_t>(sound.channels * 2), 2);
  put_le(out, 16, 2);
  out += "data";
  put_le(out, data_bytes, 4);
  for (float s : sound.samples) {
    const long v = std::lround(std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0);
    put_le(out, static_cast<uint32_t>(static_cast<int16_t>(v)) & 0xFFFF, 2);
  }
  return contentkit::write_binary_file(path, out);
}

}  // namespace soundsynth
