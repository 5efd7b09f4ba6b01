#include <gtest/gtest.h>

#include "store/pg/PgPreparedTexts.h"

namespace {

using store::pg::PreparedTexts;

// A plan as the tests compare it: "-" unprepared, "jxc_1" run under a name, "+jxc_1" prepared
// first, "jxc_2 -jxc_1" after deallocating another.
std::string shown(const PreparedTexts::Plan& plan) {
    std::string text = plan.name.empty() ? "-" : (plan.prepare ? "+" : "") + plan.name;
    if (!plan.deallocate.empty()) text += " -" + plan.deallocate;
    return text;
}

struct Step {
    const char* text;
    const char* plan;
    bool changeable = true;
};

void runSteps(PreparedTexts& texts, std::initializer_list<Step> steps) {
    int i = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(shown(texts.plan(step.text, step.changeable)), step.plan)
            << "step " << i << ": " << step.text;
        ++i;
    }
}

TEST(PreparedTexts, PreparesOnTheSecondRunAndKeepsTheRecentlyUsed) {
    PreparedTexts texts(2);
    runSteps(texts, {{"a", "-"},
                     {"a", "+jxc_1"},
                     {"a", "jxc_1"},
                     {"b", "-"},
                     {"b", "+jxc_2"},
                     {"a", "jxc_1"},
                     {"c", "-"},
                     {"c", "+jxc_3 -jxc_2"},  // b was used least recently
                     {"a", "jxc_1"},
                     {"b", "-"},  // run once again
                     {"b", "+jxc_4 -jxc_3"}});
    EXPECT_EQ(texts.size(), 2u);
}

TEST(PreparedTexts, NothingChangesWhileTheServerWouldRefuse) {
    PreparedTexts texts(1);
    runSteps(texts, {{"a", "-"},
                     {"a", "+jxc_1"},
                     {"b", "-"},
                     {"b", "-", false},
                     {"a", "jxc_1", false},
                     {"b", "+jxc_2 -jxc_1"}});
}

TEST(PreparedTexts, ForgottenAndClearedTextsStartAgain) {
    PreparedTexts texts(2);
    runSteps(texts, {{"a", "-"}, {"a", "+jxc_1"}, {"b", "-"}, {"b", "+jxc_2"}});
    texts.forget("a");
    texts.forget("never run");
    runSteps(texts, {{"a", "-"}, {"a", "+jxc_3"}, {"b", "jxc_2"}});
    texts.clear();
    EXPECT_EQ(texts.size(), 0u);
    runSteps(texts, {{"b", "-"}, {"b", "+jxc_4"}});
}

TEST(PreparedTexts, RemembersTheLastTextsRunOnce) {
    PreparedTexts texts(2, 2);
    runSteps(texts, {{"x", "-"}, {"y", "-"}, {"z", "-"}, {"x", "-"}, {"z", "+jxc_1"}});
}

}  // namespace
