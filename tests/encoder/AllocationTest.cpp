// Encoding a symbol allocates nothing: every buffer is a fixed member.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <cstdlib>
#include <new>

#include "EncoderTestUtil.h"
#include "SymbolEncoder.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace mosaiko::test {
namespace {

TEST(Allocation, BuildSymbolAllocatesNothing) {
    auto e = MakeEncoder(1, kLevelL, "WARM UP");
    ASSERT_TRUE(e->BuildSymbol());  // first use builds the shared constant tables
    const std::string texts[] = {"HELLO 1234", std::string(858, 'x'), std::string(7089, '9')};
    const long before = allocations.load();
    for (int version : {1, 20, 40})
        for (const std::string& text : texts) {
            e->SetVersion(version);
            e->SetSymbolText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()));
            e->BuildSymbol();
        }
    EXPECT_EQ(allocations.load(), before);
}

// The same through requests: the kept encoder's buffers serve every symbol.
TEST(Allocation, EncodingRequestsAllocatesNothing) {
    auto symbols = std::make_unique<SymbolEncoder>();
    ASSERT_TRUE(symbols->Encode({"WARM UP"}).made);
    const std::string texts[] = {"HELLO 1234", std::string(858, 'x'), std::string(7090, '9')};
    const long before = allocations.load();
    for (int version : {1, 20, 40})
        for (const std::string& text : texts) symbols->Encode({text, version});
    EXPECT_EQ(allocations.load(), before);
}

}  // namespace
}  // namespace mosaiko::test
