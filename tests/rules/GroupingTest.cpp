#include <gtest/gtest.h>

#include <vector>

#include "Grouping.h"

using namespace mosaiko;

TEST(Grouping, NewGroupWheneverTheNumberDoesNotRise) {
    struct Case {
        std::int32_t number;
        bool separatorBefore;
        bool startsGroup;
    };
    // Groups (3, 7, 9), (2), (2, 5); then 0 after 5 and a rise from 0.
    const std::vector<Case> cases{{3, false, true}, {7, false, false}, {9, false, false}, {2, true, true},
                                  {2, true, true},  {5, false, false}, {0, true, true},   {1, false, false}};
    Grouping grouping;
    for (const Case& c : cases) {
        const GroupStep step = grouping.Add(c.number);
        EXPECT_EQ(step.separatorBefore, c.separatorBefore) << c.number;
        EXPECT_EQ(step.startsGroup, c.startsGroup) << c.number;
    }
    EXPECT_EQ(grouping.LineCount(), 8);
    EXPECT_EQ(grouping.GroupCount(), 4);
}

TEST(Grouping, FirstLineZeroOpensAGroupWithoutSeparator) {
    Grouping grouping;
    const GroupStep step = grouping.Add(0);
    EXPECT_FALSE(step.separatorBefore);
    EXPECT_TRUE(step.startsGroup);
    EXPECT_EQ(grouping.GroupCount(), 1);
}

TEST(Grouping, LargestNumbersCompare) {
    Grouping grouping;
    grouping.Add(2147483646);
    EXPECT_FALSE(grouping.Add(2147483647).separatorBefore);
    EXPECT_TRUE(grouping.Add(2147483647).separatorBefore);
    EXPECT_EQ(grouping.GroupCount(), 2);
}
