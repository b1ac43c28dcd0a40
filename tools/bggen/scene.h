// Scene files for the background generator: each line draws one layer of a large
// picture, back to front, from a few numbers and a fixed seed, so the pictures are
// reproducible and reviewable as text.
//
//     image NAME WxH [alpha]   starts a picture (alpha: keep transparency)
//     fill COLOUR
//     gradient COLOUR COLOUR... [bands=N] [from=Y] [to=Y]   vertical, top to bottom
//     stars count=N seed=S colour=C [from=Y] [to=Y]
//     disc x= y= r= colour=C [halo=C] [halo_r=R]
//     clouds count=N seed=S colour=C shade=C from=Y to=Y [size=MIN..MAX]
//     ridge base=Y amp=A wave=W seed=S colour=C [edge=C] [cap=C] [cap_depth=D] [sharp=0|1]
//     trees base=Y seed=S colour=C [spacing=N] [height=MIN..MAX] [kind=pine|round]
//     drips seed=S colour=C [edge=C] [count=N] [length=MIN..MAX] [from=Y]   hanging from Y
//     columns seed=S colour=C [edge=C] [spacing=N] [width=N] [top=Y] [bottom=Y]
//     rect x= y= w= h= colour=C [edge=C] [edge_width=N]
//     text x= y= scale=N colour=C [shadow=C] [outline=C] TEXT...   a block font, A-Z 0-9
//     sprite name=FILE x= y= [scale=N]   a PNG from the images folder, enlarged
// Colours are #rrggbb or #rrggbbaa. Every layer clips at the picture's edges.
#pragma once

#include <string>
#include <vector>

#include "tools/contentkit/image.h"

namespace bggen {

struct Picture {
  std::string name;
  bool alpha = false;
  contentkit::Image image;
};

// Parses and draws every picture of a scene file; "sprite" layers read their PNG
// files from images_dir. "" or "file:line:column: message".
std::string render_scene(const std::string& text, const std::string& file, const std::string& images_dir,
                         std::vector<Picture>& out);

}  // namespace bggen
