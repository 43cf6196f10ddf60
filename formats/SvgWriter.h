// Writes a recorded TMetafile as an SVG document: width and height in px with
// a viewBox of the metafile's pixels, one crisp-edged rect per fill, and each
// text as an opaque background rect (when the background mode is opaque) and
// a <text> in UTF-8 with every character placed at its recorded advance.
#pragma once

#include <string>

#include "Metafile.h"

namespace mosaiko {

std::string WriteSvg(const TMetafile& metafile);

}  // namespace mosaiko
