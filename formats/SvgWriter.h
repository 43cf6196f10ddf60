// Writes a recorded TMetafile as an SVG document: width and height in px with
// a viewBox of the metafile's pixels, one crisp-edged rect per fill, and each
// text as an opaque background rect (when the background mode is opaque) and
// a <text> in UTF-8 with every character placed at its recorded advance.
#pragma once

#include <memory>
#include <string>

#include "Metafile.h"
#include "RecordBytes.h"

namespace mosaiko {

std::string WriteSvg(const TMetafile& metafile);

class SvgBuilder;

// SVG written element by element while the drawing is made, in chunks
// through `write`: the same bytes as WriteSvg for a metafile of that size.
class TSvgStream {
public:
    TSvgStream(int width, int height, TChunkWrite write);
    ~TSvgStream();
    TSvgStream(const TSvgStream&) = delete;
    TSvgStream& operator=(const TSvgStream&) = delete;

    void Add(const TMetafileRecord& record);
    // Ends the document; false when a chunk could not be written.
    bool Finish();

private:
    std::unique_ptr<SvgBuilder> builder_;
};

}  // namespace mosaiko
