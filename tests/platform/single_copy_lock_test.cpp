#include "platform/single_copy_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

// Two processes, as two copies of the game would be: the lock is the first
// copy's while it lives, however it ends, and the second learns who holds it.
TEST(SingleCopyLockTest, SecondProcessFindsTheFirstAndTakesOverWhenItDies) {
    const auto dir = std::filesystem::temp_directory_path() / ("lock_test_" + std::to_string(getpid())) / "a/b";
    std::filesystem::remove_all(dir.parent_path().parent_path());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t first = fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
        SingleCopyLock lock(dir.string());
        const char c = lock.Held() ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        pause();  // until killed
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y') << "the first copy made the folder and took the lock";
    {
        SingleCopyLock second(dir.string());
        EXPECT_FALSE(second.Held());
        EXPECT_TRUE(second.OtherCopyRuns());
        EXPECT_EQ(second.Holder(), first);
    }
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    {
        SingleCopyLock after(dir.string());
        EXPECT_TRUE(after.Held());
        EXPECT_FALSE(after.OtherCopyRuns());
        EXPECT_EQ(after.Holder(), getpid());
    }
    close(ready[0]);
    close(ready[1]);
    std::filesystem::remove_all(dir.parent_path().parent_path());
}

}  // namespace
