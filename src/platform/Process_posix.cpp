#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace vantrel {

namespace {

bool Spawn(const std::string& program, const std::vector<std::string>& arguments, bool searchPath) {
    std::vector<std::string> all = {program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    ::posix_spawnattr_init(&attr);
    ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = 0;
    const int rc = searchPath ? ::posix_spawnp(&pid, program.c_str(), &actions, &attr, argv.data(), environ)
                              : ::posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;
    // Nobody waits for the child, but its end must be collected, or every start would leave a
    // zombie behind for as long as this process runs.
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace

bool StartProcessDetached(const std::string& program, const std::vector<std::string>& arguments) {
    return Spawn(program, arguments, false);
}

bool StartProcessDetachedFromPath(const std::string& program, const std::vector<std::string>& arguments) {
    return Spawn(program, arguments, true);
}

}  // namespace vantrel
