#include "platform/single_copy_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SingleCopyLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("lock_test_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path Data() const { return root_ / "data"; }
    fs::path LockFile() const { return Data() / SingleCopyLock::kFileName; }

    fs::path root_;
};

// A child that only waits: SIGUSR1 (or any other signal) would end it.
pid_t Bystander() {
    const pid_t pid = fork();
    if (pid == 0) {
        for (;;) pause();
    }
    return pid;
}

bool Alive(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

void End(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Two processes, as two copies of the game would be: the lock is the first
// copy's while it lives, however it ends.
TEST_F(SingleCopyLockTest, SecondProcessFindsTheFirstAndTakesOverWhenItDies) {
    const fs::path dir = root_ / "a/b";
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
        EXPECT_FALSE(second.LockProblem());
    }
    End(first);
    {
        SingleCopyLock after(dir.string());
        EXPECT_TRUE(after.Held());
        EXPECT_FALSE(after.OtherCopyRuns());
    }
    EXPECT_EQ(ReadAll(dir / SingleCopyLock::kFileName), "") << "nothing is written into the lock";
    close(ready[0]);
    close(ready[1]);
}

// Whatever sits at the lock's name that is not a regular file is left as it is
// and nothing is written through it: the game runs without the lock and says so.
TEST_F(SingleCopyLockTest, ANameThatIsNotARegularFileIsNeverOpenedThrough) {
    const fs::path target = root_ / "precious.txt";
    const std::string precious = "the player's own file\n";
    const fs::path nowhere = root_ / "elsewhere" / "made-by-the-lock";
    fs::create_directories(nowhere.parent_path());
    struct Case {
        const char* what;
        std::function<void()> plant;
    };
    const Case cases[] = {
        {"a link to a file", [&] { fs::create_symlink(target, LockFile()); }},
        {"a dangling link", [&] { fs::create_symlink(nowhere, LockFile()); }},
        {"a link to a folder", [&] { fs::create_directory_symlink(root_ / "elsewhere", LockFile()); }},
        {"a folder", [&] { fs::create_directory(LockFile()); }},
        {"a FIFO", [&] { ASSERT_EQ(mkfifo(LockFile().c_str(), 0600), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Data());
        fs::create_directories(Data());
        std::ofstream(target, std::ios::binary) << precious;
        c.plant();
        const auto before = fs::symlink_status(LockFile()).type();
        {
            SingleCopyLock lock(Data().string());
            EXPECT_TRUE(lock.LockProblem());
            EXPECT_FALSE(lock.Held());
            EXPECT_FALSE(lock.OtherCopyRuns());
        }
        EXPECT_EQ(ReadAll(target), precious);
        EXPECT_FALSE(fs::exists(fs::symlink_status(nowhere))) << "no file made where a link points";
        EXPECT_TRUE(fs::is_empty(root_ / "elsewhere"));
        EXPECT_EQ(fs::symlink_status(LockFile()).type(), before) << "the thing itself stays";
    }
}

// A lock file the game did not write (an older copy's, or anyone's) keeps its
// bytes, and the pid in it is never signalled, even while something holds it.
TEST_F(SingleCopyLockTest, APidInTheFileIsNeverSignalled) {
    fs::create_directories(Data());
    const pid_t bystander = Bystander();
    ASSERT_GT(bystander, 0);
    const std::string content = std::to_string(bystander) + "\n";
    std::ofstream(LockFile(), std::ios::binary) << content;
    // Held by a plain flock from this test, not by a copy of the game.
    const int holder = open(LockFile().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    {
        SingleCopyLock second(Data().string());
        EXPECT_TRUE(second.OtherCopyRuns());
        EXPECT_FALSE(RaiseChannel::Ask(Data().string())) << "no copy of the game listens";
    }
    close(holder);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(Alive(bystander));
    {
        SingleCopyLock lock(Data().string());
        EXPECT_TRUE(lock.Held());
    }
    EXPECT_EQ(ReadAll(LockFile()), content);
    EXPECT_TRUE(Alive(bystander));
    End(bystander);
}

// Connects to a listener's name as any process could, and sends `word`.
int ConnectAndSend(const std::string& name, const std::string& word) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        close(fd);
        return -1;
    }
    if (!word.empty()) (void)!send(fd, word.data(), word.size(), MSG_NOSIGNAL);
    return fd;
}

TEST_F(SingleCopyLockTest, ARaiseRequestArrivesOverTheChannel) {
    RaiseChannel channel(Data().string());
    ASSERT_TRUE(channel.Listening());
    EXPECT_FALSE(channel.TakeRequest()) << "nothing asked yet";
    // The asker waits for the answer, so it runs beside the listener.
    std::atomic<bool> answered{false};
    std::thread asker([&] { answered = RaiseChannel::Ask(Data().string()); });
    bool taken = false;
    for (int i = 0; i < 200 && !taken; ++i) {
        taken = channel.TakeRequest();
        if (!taken) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    asker.join();
    EXPECT_TRUE(taken);
    EXPECT_TRUE(answered);
    EXPECT_FALSE(channel.TakeRequest()) << "one request, taken once";
    // Another data folder is another channel.
    EXPECT_FALSE(RaiseChannel::Ask((root_ / "other").string()));
    EXPECT_NE(RaiseChannel::Name(Data().string()), RaiseChannel::Name((root_ / "other").string()));
    // Only one listener per name: a second game copy cannot take it over.
    RaiseChannel second(Data().string());
    EXPECT_FALSE(second.Listening());
}

// Peers that are not a copy of the game asking to be raised change nothing and
// do not hold the listener up.
TEST_F(SingleCopyLockTest, OtherPeersCannotTriggerARaise) {
    RaiseChannel channel(Data().string());
    ASSERT_TRUE(channel.Listening());
    const std::string name = RaiseChannel::Name(Data().string());
    for (const std::string word : {"hello\n", "teramon2 raise", "TERAMON2 RAISE\n", ""}) {
        SCOPED_TRACE("sent: " + word);
        const int fd = ConnectAndSend(name, word);
        ASSERT_GE(fd, 0);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(channel.TakeRequest());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        close(fd);
    }
    // Another account: only root can play one here.
    if (getuid() != 0) GTEST_SKIP() << "another account's peer needs root to set up";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        const int fd = ConnectAndSend(name, RaiseChannel::kRequestWord);
        if (fd < 0) _exit(4);
        char answer[8];
        const ssize_t n = recv(fd, answer, sizeof answer, 0);  // closed unanswered
        _exit(n > 0 ? 1 : 0);
    }
    bool taken = false;
    int status = -1;
    for (int i = 0; i < 200; ++i) {
        taken = taken || channel.TakeRequest();
        if (waitpid(child, &status, WNOHANG) == child) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(taken);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other account's peer got no answer";
}

}  // namespace
