// The bytes of the EMF and WMF writers, read back record by record with an
// independent walker: sizes and counts in the headers, the object table, and
// what the fill and text records carry.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "EmfWriter.h"
#include "FormatsTestSupport.h"
#include "MetafileCanvas.h"
#include "RecordBytes.h"
#include "ShiftJis.h"
#include "TestSupport.h"
#include "WmfWriter.h"

namespace mosaiko {
namespace {

using test::Sjis;

struct Rec {
    uint32_t type;
    size_t offset;
    size_t size;  // bytes
};

std::vector<Rec> EmfRecords(std::string_view b) {
    std::vector<Rec> recs;
    for (size_t at = 0; at + 8 <= b.size();) {
        const uint32_t size = ReadU32(b, at + 4);
        recs.push_back({ReadU32(b, at), at, size});
        if (size < 8) break;
        at += size;
    }
    return recs;
}

std::vector<Rec> WmfRecords(std::string_view b, size_t start) {
    std::vector<Rec> recs;
    for (size_t at = start + 18; at + 6 <= b.size();) {
        const uint32_t words = ReadU32(b, at);
        recs.push_back({ReadU16(b, at + 4), at, words * 2u});
        if (words < 3) break;
        at += words * 2u;
    }
    return recs;
}

// Two brushes, then text in two fonts and both background modes.
TMetafile Scene() {
    TMetafile m(200, 80);
    TMetafileCanvas c(m);
    c.Brush().SetColor(clWhite);
    c.FillRect(0, 0, 200, 80);
    c.Brush().SetColor(RGBColor(1, 2, 3));
    c.FillRect(10, 20, 30, 24);
    c.Brush().SetColor(clYellow);
    c.TextOut(5, 30, Sjis("QR 日本語"));
    c.Font().SetHeight(20);
    c.Font().SetStyle(fsBold);
    c.Brush().SetStyle(bsClear);
    c.TextOut(5, 50, Sjis("ｶﾅ漢字"));
    c.Close();
    return m;
}

template <typename T>
std::vector<T> RecordsOf(const TMetafile& m) {
    std::vector<T> out;
    for (const auto& r : m.Records())
        if (const auto* t = std::get_if<T>(&r)) out.push_back(*t);
    return out;
}

TEST(EmfBytes, HeaderTotalsMatchTheRecordsAndTheReferenceIs96Dpi) {
    const TMetafile m = Scene();
    const std::string emf = WriteEmf(m);
    const auto recs = EmfRecords(emf);
    const auto header = ReadEmfHeader(emf);
    ASSERT_TRUE(header);
    size_t sum = 0;
    for (const Rec& r : recs) {
        EXPECT_EQ(r.size % 4, 0u) << "record " << r.type;
        sum += r.size;
    }
    EXPECT_EQ(sum, emf.size());
    EXPECT_EQ(header->bytes, emf.size());
    EXPECT_EQ(header->records, recs.size());
    EXPECT_EQ(recs.front().type, 1u);
    EXPECT_EQ(recs.back().type, 14u);                        // EMR_EOF
    EXPECT_EQ(ReadU32(emf, recs.back().offset + 16), 20u);  // nSizeLast
    // Bounds in pixels and frame in 0.01 mm are both inclusive-inclusive.
    const QRect b = m.Bounds();
    EXPECT_EQ(header->bounds, b);
    EXPECT_EQ(header->frame, QRect(QPoint(0, 0), QPoint(m.MMWidth() - 1, m.MMHeight() - 1)));
    EXPECT_EQ(m.MMWidth(), 5292);  // 200 px at 96 dpi
    EXPECT_EQ(header->devicePixels, QSize(1920, 1440));
    EXPECT_EQ(header->deviceMillimeters, QSize(508, 381));
    EXPECT_EQ(header->devicePixels.width() * 254, header->deviceMillimeters.width() * 960);
    EXPECT_EQ(header->devicePixels.height() * 254, header->deviceMillimeters.height() * 960);
}

TEST(EmfBytes, EmptyMetafileHasEmptyBoundsAndStillEnds) {
    const std::string emf = WriteEmf(TMetafile());
    const auto header = ReadEmfHeader(emf);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->bounds, QRect(QPoint(0, 0), QPoint(-1, -1)));
    EXPECT_EQ(header->bytes, emf.size());
    EXPECT_EQ(header->handles, 1);
    EXPECT_EQ(EmfRecords(emf).back().type, 14u);
}

// Every selected or deleted object exists, no object is deleted while it is
// selected, and no slot is reused while occupied.
template <typename Walk>
void CheckObjectTable(uint32_t tableSize, uint32_t stockFlag, Walk walk) {
    std::set<uint32_t> live;
    std::map<int, uint32_t> selectedByKind;
    std::map<uint32_t, int> kindOf;
    uint32_t largest = 0;
    walk([&](char op, uint32_t index, int kind) {
        if (op == 'c') {
            largest = std::max(largest, index);
            EXPECT_TRUE(live.insert(index).second) << "slot " << index << " reused while in use";
            kindOf[index] = kind;
        } else if (op == 's') {
            if (index & stockFlag) return;
            EXPECT_TRUE(live.count(index)) << "select of missing object " << index;
            selectedByKind[kindOf[index]] = index;
        } else {
            EXPECT_TRUE(live.count(index)) << "delete of missing object " << index;
            EXPECT_NE(selectedByKind[kindOf[index]], index) << "deleted while selected";
            live.erase(index);
        }
    });
    EXPECT_EQ(largest + 1, tableSize);
}

TEST(EmfBytes, ObjectsAreCreatedSelectedAndDeletedConsistently) {
    const std::string emf = WriteEmf(Scene());
    const auto header = ReadEmfHeader(emf);
    ASSERT_TRUE(header);
    // Slot 0 is the metafile; a brush and a font, and their replacements.
    EXPECT_EQ(header->handles, 4);
    CheckObjectTable(header->handles, 0x80000000u, [&](auto op) {
        for (const Rec& r : EmfRecords(emf)) {
            const uint32_t index = ReadU32(emf, r.offset + 8);
            if (r.type == 39) op('c', index, 0);       // brush
            else if (r.type == 82) op('c', index, 1);  // font
            else if (r.type == 37) op('s', index, 0);
            else if (r.type == 40) op('d', index, 0);
        }
    });
}

TEST(EmfBytes, FillsAreExactPatternBlitsAndTextCarriesUtf16WithAdvances) {
    const TMetafile m = Scene();
    const std::string emf = WriteEmf(m);
    std::vector<QRect> blits;
    std::vector<Rec> texts, fonts;
    for (const Rec& r : EmfRecords(emf)) {
        if (r.type == 76) {
            EXPECT_EQ(ReadU32(emf, r.offset + 40), 0x00F00021u);  // PATCOPY
            EXPECT_EQ(ReadU32(emf, r.offset + 96), 0u);           // no source bitmap
            blits.push_back(QRect(ReadI32(emf, r.offset + 24), ReadI32(emf, r.offset + 28), ReadI32(emf, r.offset + 32),
                                  ReadI32(emf, r.offset + 36)));
        }
        if (r.type == 84) texts.push_back(r);
        if (r.type == 82) fonts.push_back(r);
    }
    EXPECT_EQ(blits, (std::vector<QRect>{{0, 0, 200, 80}, {10, 20, 20, 4}}));

    const auto outs = RecordsOf<TMetaTextOut>(m);
    ASSERT_EQ(texts.size(), outs.size());
    for (size_t i = 0; i < outs.size(); ++i) {
        const size_t at = texts[i].offset;
        const QString expected = DecodeShiftJis(outs[i].text);
        const uint32_t n = ReadU32(emf, at + 44);
        ASSERT_EQ(n, static_cast<uint32_t>(expected.size()));
        QString text;
        for (uint32_t k = 0; k < n; ++k) text += QChar(static_cast<char16_t>(ReadU16(emf, at + ReadU32(emf, at + 48) + 2 * k)));
        EXPECT_EQ(text, expected);
        std::vector<int> dx;
        for (uint32_t k = 0; k < n; ++k) dx.push_back(ReadI32(emf, at + ReadU32(emf, at + 72) + 4 * k));
        EXPECT_EQ(dx, outs[i].advances);
        EXPECT_EQ(ReadI32(emf, at + 36), outs[i].x);
        EXPECT_EQ(ReadI32(emf, at + 40), outs[i].y);
    }
    // First text opaque over its cell, the second transparent.
    EXPECT_EQ(ReadU32(emf, texts[0].offset + 52), 2u);
    EXPECT_EQ(ReadI32(emf, texts[0].offset + 64), outs[0].x + outs[0].width);
    EXPECT_EQ(ReadI32(emf, texts[0].offset + 68), outs[0].y + outs[0].height);
    EXPECT_EQ(ReadU32(emf, texts[1].offset + 52), 0u);

    ASSERT_EQ(fonts.size(), 2u);
    const size_t lf = fonts[1].offset + 12;
    EXPECT_EQ(ReadI32(emf, lf), -20);
    EXPECT_EQ(ReadI32(emf, lf + 16), 700);
    EXPECT_EQ(static_cast<uint8_t>(emf[lf + 23]), 128);  // SHIFTJIS_CHARSET
    QString face;
    for (size_t k = 0; ReadU16(emf, lf + 28 + 2 * k) != 0; ++k) face += QChar(static_cast<char16_t>(ReadU16(emf, lf + 28 + 2 * k)));
    EXPECT_EQ(face, TFont::kDefaultName);
}

TEST(WmfBytes, HeadersMatchTheRecordsInBothForms) {
    const TMetafile m = Scene();
    const std::string file = WriteWmf(m);
    const std::string clip = WriteWmf(m, TWmfForm::Clipboard);
    EXPECT_EQ(file.substr(22), clip);  // the clipboard form lacks only the placeable header

    const auto h = ReadWmfHeader(file);
    ASSERT_TRUE(h);
    EXPECT_TRUE(h->placeable);
    EXPECT_TRUE(h->checksumOk);
    EXPECT_EQ(h->boundsRight, 200);
    EXPECT_EQ(h->boundsBottom, 80);
    EXPECT_EQ(h->unitsPerInch, 96);
    EXPECT_EQ(h->sizeWords * 2, clip.size());
    const auto recs = WmfRecords(file, 22);
    size_t sum = 18, largest = 0;
    for (const Rec& r : recs) {
        sum += r.size;
        largest = std::max(largest, r.size / 2);
    }
    EXPECT_EQ(sum, clip.size());
    EXPECT_EQ(h->maxRecordWords, largest);
    EXPECT_EQ(recs.back().type, 0u);  // META_EOF
    EXPECT_EQ(recs.back().size, 6u);
    const auto plain = ReadWmfHeader(clip);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->placeable);
    EXPECT_EQ(plain->sizeWords, h->sizeWords);

    // MM_ANISOTROPIC with a window of the metafile's pixels.
    ASSERT_GE(recs.size(), 3u);
    EXPECT_EQ(recs[0].type, 0x0103u);
    EXPECT_EQ(ReadU16(file, recs[0].offset + 6), 8u);
    EXPECT_EQ(recs[2].type, 0x020Cu);
    EXPECT_EQ(ReadI16(file, recs[2].offset + 6), 80);  // y extent first
    EXPECT_EQ(ReadI16(file, recs[2].offset + 8), 200);

    const TMetafilePict pict = MetafilePictExtents(m);
    EXPECT_EQ(pict.mappingMode, 8);
    EXPECT_EQ(pict.xExt, m.MMWidth());
    EXPECT_EQ(pict.yExt, m.MMHeight());
}

TEST(WmfBytes, ObjectsAreCreatedSelectedAndDeletedConsistently) {
    const std::string wmf = WriteWmf(Scene(), TWmfForm::Clipboard);
    const auto h = ReadWmfHeader(wmf);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->objects, 4);  // the null pen, a brush, a font and a replacement
    CheckObjectTable(h->objects, 0, [&](auto op) {
        // A WMF player puts a created object into the lowest free slot.
        std::set<uint32_t> used;
        for (const Rec& r : WmfRecords(wmf, 0)) {
            const uint32_t arg = ReadU16(wmf, r.offset + 6);
            if (r.type == 0x02FA || r.type == 0x02FB || r.type == 0x02FC) {
                uint32_t slot = 0;
                while (used.count(slot)) ++slot;
                used.insert(slot);
                op('c', slot, static_cast<int>(r.type));
            } else if (r.type == 0x012D) {
                op('s', arg, 0);
            } else if (r.type == 0x01F0) {
                op('d', arg, 0);
                used.erase(arg);
            }
        }
    });
}

TEST(WmfBytes, RectanglesAndShiftJisTextWithOneAdvancePerByte) {
    const TMetafile m = Scene();
    const std::string wmf = WriteWmf(m, TWmfForm::Clipboard);
    std::vector<QRect> rects;
    std::vector<Rec> texts, fonts;
    for (const Rec& r : WmfRecords(wmf, 0)) {
        const size_t p = r.offset + 6;
        if (r.type == 0x041B)  // bottom, right, top, left
            rects.push_back(QRect(QPoint(ReadI16(wmf, p + 6), ReadI16(wmf, p + 4)),
                                  QPoint(ReadI16(wmf, p + 2) - 1, ReadI16(wmf, p) - 1)));
        if (r.type == 0x0A32) texts.push_back(r);
        if (r.type == 0x02FB) fonts.push_back(r);
    }
    EXPECT_EQ(rects, (std::vector<QRect>{{0, 0, 200, 80}, {10, 20, 20, 4}}));

    const auto outs = RecordsOf<TMetaTextOut>(m);
    ASSERT_EQ(texts.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const size_t p = texts[i].offset + 6;
        const bool opaque = ReadU16(wmf, p + 6) & 2;
        EXPECT_EQ(opaque, i == 0);
        const size_t n = ReadU16(wmf, p + 4);
        const size_t str = p + 8 + (opaque ? 8 : 0);
        EXPECT_EQ(wmf.substr(str, n), outs[i].text);
        // Per byte; the two bytes of a double-byte character add up to its advance.
        std::vector<int> dx;
        for (size_t k = 0; k < n; ++k) dx.push_back(ReadI16(wmf, str + (n + 1) / 2 * 2 + 2 * k));
        std::vector<int> perChar;
        for (size_t k = 0; k < n; ++k) {
            const uint8_t b = static_cast<uint8_t>(outs[i].text[k]);
            const bool lead = (b >= 0x81 && b <= 0x9F) || b >= 0xE0;
            perChar.push_back(lead ? dx[k] + dx[k + 1] : dx[k]);
            if (lead) ++k;
        }
        EXPECT_EQ(perChar, outs[i].advances);
    }
    ASSERT_EQ(fonts.size(), 2u);
    const size_t f = fonts[0].offset + 6;
    EXPECT_EQ(ReadI16(wmf, f), -TFont::kDefaultHeight);
    EXPECT_EQ(static_cast<uint8_t>(wmf[f + 13]), 128);
    EXPECT_EQ(std::string(wmf.c_str() + f + 18), EncodeShiftJis(TFont::kDefaultName));
}

}  // namespace
}  // namespace mosaiko
