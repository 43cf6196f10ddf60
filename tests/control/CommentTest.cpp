// Comment lines: where they go in the cell and how symbol numbers are added.
// Positions are read from the metafile's text records, and once from the
// bitmap's pixels.
#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "ControlTestSupport.h"

namespace mosaiko {
namespace {

std::vector<TMetaTextOut> Texts(const TQRCode& q) {
    std::vector<TMetaTextOut> texts;
    const TMetafile* metafile = q.Picture().AsMetafile();
    if (metafile == nullptr) return texts;
    for (const TMetafileRecord& record : metafile->Records())
        if (const auto* text = std::get_if<TMetaTextOut>(&record)) texts.push_back(*text);
    return texts;
}

QSize Extent(const TQRCode& q, const std::string& text) {
    TBitmap scratch(1, 1);
    TBitmapCanvas canvas(scratch);
    canvas.Font().Assign(q.ComFont());
    return canvas.TextExtent(text);
}

// A metafile control at (left, top) = (10, 40) with the given spaces.
void MetafileCell(TQRCode& q, int spaceUp, int spaceDown) {
    q.SetSymbolEnabled(false);
    q.SetCode("HELLO");
    q.SetMatch(true);
    q.SetSymbolPicture(picEMF);
    q.SetSymbolLeft(10);
    q.SetSymbolTop(40);
    q.SetSymbolSpaceUp(spaceUp);
    q.SetSymbolSpaceDown(spaceDown);
    q.SetSymbolSpaceLeft(30);
    q.SetSymbolSpaceRight(30);
}

// The upper comment sits at the cell's top when the space above holds it,
// else it touches the quiet zone and reaches above the cell; the lower one
// mirrors that at the bottom.
TEST(Comments, VerticalPlacement) {
    struct Case {
        int spaceUp, spaceDown;
        bool up;
        int y;            // expected top ...
        bool minusHeight; // ... less the comment's height
    };
    const std::vector<Case> cases = {
        {40, 0, true, 40, false},            // room above: at the cell top
        {5, 0, true, 40 + 5, true},          // short: bottom on the quiet zone, above the cell
        {7, 40, false, 40 + 7 + 29 + 40, true},  // room below: bottom at the cell bottom
        {7, 2, false, 40 + 7 + 29, false},   // short: right under the quiet zone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        TQRCode q;
        MetafileCell(q, c.spaceUp, c.spaceDown);
        const std::string text = c.up ? "Up" : "Down";
        if (c.up) q.SetCommentUp(text);
        else q.SetCommentDown(text);
        q.SetSymbolEnabled(true);
        const std::vector<TMetaTextOut> texts = Texts(q);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].x, 10);
        EXPECT_EQ(texts[0].y, c.y - (c.minusHeight ? Extent(q, text).height() : 0));
    }
}

TEST(Comments, HorizontalAlignment) {
    TQRCode q;
    MetafileCell(q, 30, 30);
    q.SetCommentUp("Up");
    q.SetCommentDown("Down");
    q.SetCommentUpLoc(locRight);
    q.SetCommentDownLoc(locCenter);
    q.SetSymbolEnabled(true);
    const int cell = q.SymbolWidthS();
    ASSERT_EQ(cell, 29 + 60);
    std::vector<TMetaTextOut> texts = Texts(q);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].x, 10 + cell - Extent(q, "Up").width());
    EXPECT_EQ(texts[1].x, 10 + (cell - Extent(q, "Down").width()) / 2);

    // Wider than the cell: drawn from the cell's left edge whatever the alignment.
    const std::string wide(40, 'W');
    ASSERT_GT(Extent(q, wide).width(), cell);
    q.SetCommentDown(wide);
    q.SetCommentUp(wide);
    texts = Texts(q);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].x, 10);
    EXPECT_EQ(texts[1].x, 10);
}

TEST(Comments, SymbolNumbersAreAddedAndTheBaseTextsRestored) {
    struct Case {
        TNumbering numbering;
        std::vector<std::string> up;    // base "Page"
        std::vector<std::string> down;  // base empty
    };
    const std::vector<Case> cases = {
        {nbrTail, {"Page 1", "Page 2", "Page 3"}, {"1", "2", "3"}},
        {nbrHead, {"1 Page", "2 Page", "3 Page"}, {"1", "2", "3"}},
        {nbrIfVoid, {"Page", "Page", "Page"}, {"1", "2", "3"}},
        {nbrNone, {"Page", "Page", "Page"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.numbering));
        TQRCode q;
        MetafileCell(q, 20, 20);
        q.SetCode("abcdefghi");
        q.SetMode(qrPlus);
        q.SetCount(3);
        q.SetNumbering(c.numbering);
        q.SetCommentUp("Page");
        q.SetSymbolEnabled(true);
        std::vector<std::string> up, down;
        for (const TMetaTextOut& t : Texts(q)) (t.y < 40 + 20 ? up : down).push_back(t.text);
        EXPECT_EQ(up, c.up);
        EXPECT_EQ(down, c.down);
        EXPECT_EQ(q.CommentUp(), "Page");
        EXPECT_TRUE(q.CommentDown().empty());
    }
}

}  // namespace
}  // namespace mosaiko
