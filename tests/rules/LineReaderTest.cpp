#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LineReader.h"

using namespace mosaiko;
using namespace std::string_literals;

namespace {

std::vector<std::string> ReadAll(std::string_view bytes, std::size_t chunk = LineReader::kDefaultChunk) {
    LineReader reader(ReadFromMemory(bytes), chunk);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line) == ReadStatus::Line) lines.emplace_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(LineReader, EachLineEndEndsExactlyOneLine) {
    EXPECT_EQ(ReadAll("a\rb\r"), (Lines{"a", "b"}));
    EXPECT_EQ(ReadAll("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(ReadAll("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(ReadAll("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    // LF CR is two line ends, CR CR an empty line between.
    EXPECT_EQ(ReadAll("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(ReadAll("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(ReadAll("a\r\n\r\nb"), (Lines{"a", "", "b"}));
}

TEST(LineReader, FileEdges) {
    EXPECT_EQ(ReadAll(""), Lines{});
    EXPECT_EQ(ReadAll("last"), Lines{"last"});
    EXPECT_EQ(ReadAll("one\r\n"), Lines{"one"});
    EXPECT_EQ(ReadAll("\r\n"), Lines{""});
    EXPECT_EQ(ReadAll("\n\n"), (Lines{"", ""}));
}

TEST(LineReader, CtrlZEndsTheFile) {
    EXPECT_EQ(ReadAll("a\r\nb\x1a" "c\r\nd\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(ReadAll("a\r\n\x1a\r\nb"), Lines{"a"});
    EXPECT_EQ(ReadAll("\x1a" "a"), Lines{});
    EXPECT_EQ(ReadAll("a\r\x1a\n"), Lines{"a"});
}

TEST(LineReader, NothingIsReadAfterCtrlZ) {
    int calls = 0;
    LineReader reader(
        [&calls](char* buffer, std::size_t) -> std::ptrdiff_t {
            if (++calls > 1) return -1;  // reading on would be an error
            buffer[0] = 'x';
            buffer[1] = 26;
            return 2;
        },
        2);
    std::string_view line;
    ASSERT_EQ(reader.Next(line), ReadStatus::Line);
    EXPECT_EQ(line, "x");
    EXPECT_EQ(reader.Next(line), ReadStatus::End);
    EXPECT_EQ(calls, 1);
}

TEST(LineReader, BytesOtherThanLineEndsStayInTheLine) {
    const std::string bytes = "a\0b\t\x81\x7e\xff"s + "\r\n"s;
    EXPECT_EQ(ReadAll(bytes), Lines{"a\0b\t\x81\x7e\xff"s});
}

TEST(LineReader, SameLinesForEveryChunkSize) {
    const std::string file =
        "1,A\r\n2,B\r3,C\n\r\n\r\r\n\n4,\x81\x7e\r\n5,long line here\r"
        "\n6\r\n\r\n7,end\x1a" "8,after\r\n"s;
    const Lines expected{"1,A", "2,B", "3,C", "", "", "", "", "4,\x81\x7e", "5,long line here", "6", "", "7,end"};
    for (std::size_t chunk = 1; chunk <= 7; ++chunk) {
        EXPECT_EQ(ReadAll(file, chunk), expected) << "chunk size " << chunk;
    }
}

TEST(LineReader, CrAtTheEndOfAChunkPairsWithLfInTheNext) {
    // Chunks of 2 put every CR last and its LF first in the next chunk.
    EXPECT_EQ(ReadAll("a\r\nb\r\nc\r\n", 2), (Lines{"a", "b", "c"}));
    EXPECT_EQ(ReadAll("a\r\nb\r\nc\r\n", 3), (Lines{"a", "b", "c"}));
}

TEST(LineReader, LongLineInSmallChunks) {
    std::string longLine(200000, 'x');
    longLine[123456] = ',';
    const Lines lines = ReadAll("1," + longLine + "\r\n2\r\n", 7);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], ("1," + longLine).substr(0, kMaxKeptLine));
    EXPECT_EQ(lines[1], "2");
}

// Only the first kMaxKeptLine bytes of a line are kept, whatever the chunks.
TEST(LineReader, LinesAreCutAtTheKeptLength) {
    const struct {
        std::size_t length;
        bool cut;
    } rows[] = {{kMaxKeptLine - 1, false}, {kMaxKeptLine, false}, {kMaxKeptLine + 1, true}, {3 * kMaxKeptLine, true}};
    for (const auto& row : rows) {
        for (const std::string end : {"\r\n", "\x1a", ""}) {
            const std::string file = std::string(row.length, 'x') + end + (end == "\r\n" ? "2" : "");
            for (std::size_t chunk : {std::size_t{7}, LineReader::kDefaultChunk}) {
                LineReader reader(ReadFromMemory(file), chunk);
                std::string_view line;
                ASSERT_EQ(reader.Next(line), ReadStatus::Line);
                EXPECT_EQ(line.size(), std::min(row.length, kMaxKeptLine)) << row.length << " chunk " << chunk;
                EXPECT_EQ(reader.LastLineCut(), row.cut) << row.length << " chunk " << chunk;
                if (end != "\r\n") continue;
                ASSERT_EQ(reader.Next(line), ReadStatus::Line);
                EXPECT_EQ(line, "2");
                EXPECT_FALSE(reader.LastLineCut());
            }
        }
    }
}

// A line of up to kMaxLineBytes is read (cut); one byte more ends the reading
// for good, as an endless stream of bytes without a line end must.
TEST(LineReader, ALineBeyondTheLongestReadEndsTheReading) {
    for (const std::uint64_t length : {kMaxLineBytes, kMaxLineBytes + 1}) {
        auto left = std::make_shared<std::uint64_t>(length);
        LineReader reader(
            [left](char* buffer, std::size_t size) -> std::ptrdiff_t {
                const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, *left));
                std::memset(buffer, 0, n);
                *left -= n;
                return static_cast<std::ptrdiff_t>(n);
            },
            1 << 20);
        std::string_view line;
        const bool tooLong = length > kMaxLineBytes;
        ASSERT_EQ(reader.Next(line), tooLong ? ReadStatus::TooLong : ReadStatus::Line) << length;
        EXPECT_EQ(reader.Next(line), tooLong ? ReadStatus::TooLong : ReadStatus::End) << length;
        if (!tooLong) {
            EXPECT_EQ(*left, 0u);
        }
    }
}

TEST(LineReader, ReadErrorIsFinal) {
    int calls = 0;
    LineReader reader(
        [&calls](char* buffer, std::size_t) -> std::ptrdiff_t {
            if (++calls == 1) {
                std::memcpy(buffer, "a\r\nb", 4);
                return 4;
            }
            return -1;
        },
        4);
    std::string_view line;
    ASSERT_EQ(reader.Next(line), ReadStatus::Line);
    EXPECT_EQ(line, "a");
    EXPECT_EQ(reader.Next(line), ReadStatus::Error);
    EXPECT_EQ(reader.Next(line), ReadStatus::Error);
}

TEST(LineSplitter, LinesComeOutAsSoonAsTheirEndArrives) {
    LineSplitter splitter;
    std::string_view line;
    splitter.Feed("ab");
    EXPECT_FALSE(splitter.Next(line));
    splitter.Feed("c\r");
    ASSERT_TRUE(splitter.Next(line));
    EXPECT_EQ(line, "abc");
    EXPECT_FALSE(splitter.Next(line));
    splitter.Feed("\nd");
    EXPECT_FALSE(splitter.Next(line));
    splitter.Finish();
    ASSERT_TRUE(splitter.Next(line));
    EXPECT_EQ(line, "d");
    EXPECT_FALSE(splitter.Next(line));
    EXPECT_TRUE(splitter.AtEnd());
}
