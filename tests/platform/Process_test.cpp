#include "platform/Process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "TestFolder.h"
#include "platform/Files.h"

namespace vantrel {
namespace {

TEST(StartProcessDetached, StartsWithTheArgumentsAsGivenAndReportsAMissingProgram) {
    test::TestFolder dir;
    const std::string out = dir.File("out");
    ASSERT_TRUE(StartProcessDetached("/bin/sh", {"-c", "printf '%s|' \"$@\" > \"$0.part\"; mv \"$0.part\" \"$0\"", out,
                                                 "a b", "-x", "'q'"}));
    for (int i = 0; i < 500 && !FileExists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(dir.Read(out), "a b|-x|'q'|");

    EXPECT_FALSE(StartProcessDetached(dir.File("missing"), {}));
    EXPECT_FALSE(StartProcessDetachedFromPath("vantrel-no-such-program", {}));
}

}  // namespace
}  // namespace vantrel
