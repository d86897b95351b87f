#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace pelomar::test {

// Runs `body` in a child process as an unprivileged user (nobody, when the
// tests run as root; as themselves otherwise) and returns its exit code, so
// that permissions are what a user meets. Returns -1 and sets `why` when no
// unprivileged child can be had. The working folder is made reachable for
// that user when it is a test folder of our own.
inline int runUnprivileged(const std::function<int()>& body, std::string& why) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {
        // Folders made by tests/isolated (tavrin-test.*) and the work folder
        // in them; nothing else is changed.
        const std::filesystem::path work = std::filesystem::current_path();
        for (const std::filesystem::path& p : {work.parent_path(), work}) {
            struct stat st {};
            if (::stat(p.c_str(), &st) != 0) continue;
            if ((st.st_mode & S_IXOTH) != 0) continue;
            if (p.parent_path().filename().string().rfind("tavrin-test.", 0) != 0 &&
                p.filename().string().rfind("tavrin-test.", 0) != 0) {
                why = "the working folder " + work.string() + " is not reachable by an unprivileged user";
                return -1;
            }
            ::chmod(p.c_str(), (st.st_mode & 07777) | S_IXOTH);
        }
    }
    const pid_t child = ::fork();
    if (child < 0) {
        why = "fork failed";
        return -1;
    }
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(254);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) {
        why = "the unprivileged child did not end normally";
        return -1;
    }
    if (WEXITSTATUS(status) == 254) {
        why = "cannot drop root to user nobody";
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace pelomar::test
