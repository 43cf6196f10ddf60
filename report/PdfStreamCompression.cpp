// Qt's PDF writer compresses each picture and font through qCompress, which
// sets up a zlib stream of about 270 KB, runs zlib's default level and tears
// the stream down again. For a report's thousands of 1.5 KB one-bit QR
// pictures that setup, not the compression, was a third of the whole run.
//
// A program that links this file supplies its own qCompress, and the dynamic
// linker binds Qt's calls to it. It writes the same format (the length as four
// big-endian bytes, then a zlib stream, so qUncompress and every PDF reader
// read it as before) with libdeflate, which keeps one compressor per thread
// and level and makes streams no larger than zlib at the same level. Whatever
// it does not handle (no data, a negative or 4 GB size, no memory) goes to
// Qt's own qCompress, so those cases behave exactly as Qt's.
#include <QByteArray>

#if defined(__ELF__)

#include <dlfcn.h>
#include <libdeflate.h>

#include <array>
#include <cstdint>
#include <memory>

namespace {

using Compress = QByteArray (*)(const uchar*, qsizetype, int);

QByteArray QtCompress(const uchar* data, qsizetype nbytes, int level) {
    // The next definition after this program's: Qt Core's.
    static const auto qt = reinterpret_cast<Compress>(dlsym(RTLD_NEXT, "_Z9qCompressPKhxi"));
    return qt ? qt(data, nbytes, level) : QByteArray();
}

struct FreeCompressor {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// One compressor per level and thread: allocating one costs more than
// compressing a picture.
libdeflate_compressor* CompressorFor(int level) {
    thread_local std::array<std::unique_ptr<libdeflate_compressor, FreeCompressor>, 10> compressors;
    auto& slot = compressors[static_cast<size_t>(level)];
    if (!slot) slot.reset(libdeflate_alloc_compressor(level));
    return slot.get();
}

}  // namespace

QByteArray qCompress(const uchar* data, qsizetype nbytes, int compressionLevel) {
    // For Qt's default (zlib's level 6) libdeflate's level 5: on QR pictures
    // as small, and its fastest level that is. Level 0 (stored) stays with Qt.
    const int level = compressionLevel == -1 ? 5 : compressionLevel;
    if (!data || nbytes <= 0 || nbytes > qsizetype(UINT32_MAX) || level < 1 || level > 9)
        return QtCompress(data, nbytes, compressionLevel);
    libdeflate_compressor* compressor = CompressorFor(level);
    if (!compressor) return QtCompress(data, nbytes, compressionLevel);
    const size_t bound = libdeflate_zlib_compress_bound(compressor, size_t(nbytes));
    QByteArray out(qsizetype(4 + bound), Qt::Uninitialized);
    auto* bytes = reinterpret_cast<uchar*>(out.data());
    const auto size = uint32_t(nbytes);
    bytes[0] = uchar(size >> 24);
    bytes[1] = uchar(size >> 16);
    bytes[2] = uchar(size >> 8);
    bytes[3] = uchar(size);
    const size_t written = libdeflate_zlib_compress(compressor, data, size_t(nbytes), bytes + 4, bound);
    if (written == 0) return QtCompress(data, nbytes, compressionLevel);
    out.truncate(qsizetype(4 + written));
    return out;
}

#endif
