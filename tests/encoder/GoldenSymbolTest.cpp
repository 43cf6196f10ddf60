// Our symbols against symbols made once by an independent encoder (see
// golden/make_golden.py) with the same segments, version, level and mask:
// a decoder would hide a few wrong modules behind error correction, a module
// for module comparison does not. The *_automask files hold symbols made once
// by this encoder with the automatic mask: the mask they name is the one the
// penalty weights choose, so a changed weight changes a chosen mask (each of
// N1, N2, N3 up or down by one, N4 doubled, flips at least one of them).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "EncoderTestUtil.h"

using namespace mosaiko;

namespace {

struct Golden {
    std::string text;
    int version = 0, level = 0, mask = 0;
    int chosen = -1;  // the mask the automatic choice must pick, for mask -1
    int current = 0, count = 0, parity = 0;  // structured append, when current > 0
    std::vector<std::string> rows;
};

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

Golden Read(const std::filesystem::path& path) {
    Golden g;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "text") { words >> key; g.text = FromHex(key); }
        else if (key == "version") words >> g.version;
        else if (key == "level") { words >> key; g.level = static_cast<int>(std::string("LMQH").find(key[0])); }
        else if (key == "mask") words >> g.mask;
        else if (key == "automask") { g.mask = -1; words >> g.chosen; }
        else if (key == "structure") words >> g.current >> g.count >> std::hex >> g.parity;
        else if (!line.empty()) g.rows.push_back(line);
    }
    return g;
}

std::vector<std::filesystem::path> GoldenFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(MOSAIKO_GOLDEN_DIR))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(GoldenSymbols, MatchTheIndependentEncoderModuleForModule) {
    const auto files = GoldenFiles();
    ASSERT_GE(files.size(), 16u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const Golden g = Read(file);
        auto e = test::MakeEncoder(g.version, g.level, g.text);
        ASSERT_TRUE(e->SetMasktype(g.mask));
        if (g.current > 0) e->SetStructure(qrConnect, g.count, g.parity, g.current);
        ASSERT_TRUE(e->BuildSymbol());
        if (g.mask < 0) {
            EXPECT_EQ(e->MasktypeR(), g.chosen) << "the chosen mask";
        }
        const int n = e->ModulesPerSide();
        ASSERT_EQ(static_cast<int>(g.rows.size()), n);
        int wrong = 0;
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                if (e->ModuleIsDark(r, c) != (g.rows[r][c] == '#')) ++wrong;
        EXPECT_EQ(wrong, 0) << "modules that differ";
    }
}
