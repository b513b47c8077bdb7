#include "platform/ExceptionReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::test {

// Outside any anonymous namespace so that -rdynamic exports it and dladdr can name it.
[[gnu::noinline]] void ThrowFromNamedFrame(const std::string& message) { throw std::runtime_error(message); }

namespace {

std::vector<TRaisedException> seen;
void Record(const TRaisedException& e) { seen.push_back(e); }

// A sink that raises on its own: its exception must neither escape nor be reported.
int throwingSinkCalls = 0;
void ThrowingSink(const TRaisedException&) {
    ++throwingSinkCalls;
    throw std::logic_error("from the sink");
}

class ExceptionReportTest : public ::testing::Test {
protected:
    void SetUp() override { seen.clear(); }
    void TearDown() override { SetExceptionSink(nullptr); }
};

bool StackNames(const TRaisedException& e, const std::string& routine) {
    for (void* a : e.stack)
        if (NameFrame(a).routine.find(routine) != std::string::npos) return true;
    return false;
}

TEST_F(ExceptionReportTest, CaughtExceptionIsReportedWithItsRaisePoint) {
    SetExceptionSink(&Record);
    try {
        ThrowFromNamedFrame("boom");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "boom");  // the exception itself is untouched
    }
    SetExceptionSink(nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].typeName, "std::runtime_error");
    EXPECT_EQ(seen[0].message, "boom");
    EXPECT_TRUE(seen[0].isStdException);
    ASSERT_FALSE(seen[0].stack.empty());
    EXPECT_EQ(seen[0].raiseAddress, seen[0].stack.front());
    const TStackFrame top = NameFrame(seen[0].stack.front());
    EXPECT_EQ(top.routine, "vantrel::test::ThrowFromNamedFrame(std::__cxx11::basic_string<char, std::char_traits<char>, "
                           "std::allocator<char> > const&)");
    EXPECT_FALSE(top.module.empty());
    EXPECT_NE(FormatFrame(top).find(" vantrel::test::ThrowFromNamedFrame("), std::string::npos) << FormatFrame(top);
    // The callers follow, outermost last.
    EXPECT_TRUE(StackNames(seen[0], "testing::Test::Run"));
}

TEST_F(ExceptionReportTest, RuntimeLibraryThrowsAndNonStandardObjectsToo) {
    SetExceptionSink(&Record);
    EXPECT_THROW((void)std::stoi("not a number"), std::invalid_argument);
    try {
        throw 42;
    } catch (int) {
    }
    SetExceptionSink(nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].typeName, "std::invalid_argument");
    EXPECT_EQ(seen[0].message, "stoi");
    EXPECT_EQ(seen[1].typeName, "int");
    EXPECT_FALSE(seen[1].isStdException);
    EXPECT_EQ(seen[1].message, "");
}

TEST_F(ExceptionReportTest, SinkThatRaisesIsContained) {
    throwingSinkCalls = 0;
    SetExceptionSink(&ThrowingSink);
    EXPECT_THROW(ThrowFromNamedFrame("outer"), std::runtime_error);
    EXPECT_THROW(ThrowFromNamedFrame("again"), std::runtime_error);
    EXPECT_EQ(throwingSinkCalls, 2);
}

bool gateOpen = false;
bool Gate() { return gateOpen; }

TEST_F(ExceptionReportTest, NothingIsRecordedWithoutSinkOrWhileTheGateIsShut) {
    EXPECT_THROW(ThrowFromNamedFrame("quiet"), std::runtime_error);
    gateOpen = false;
    SetExceptionSink(&Record, &Gate);
    EXPECT_THROW(ThrowFromNamedFrame("shut"), std::runtime_error);
    EXPECT_TRUE(seen.empty());
    gateOpen = true;
    EXPECT_THROW(ThrowFromNamedFrame("open"), std::runtime_error);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, "open");
}

void PrintingSink(const TRaisedException& e) { std::fprintf(stderr, "reported %s: %s\n", e.typeName.c_str(), e.message.c_str()); }

TEST_F(ExceptionReportTest, UncaughtExceptionOnAnotherThreadIsReportedBeforeTheEnd) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            SetExceptionSink(&PrintingSink);
            std::thread([] { ThrowFromNamedFrame("nobody catches this"); }).join();
        },
        "reported std::runtime_error: nobody catches this");
}

}  // namespace
}  // namespace vantrel::test
