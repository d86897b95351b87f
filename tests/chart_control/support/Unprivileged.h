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
// unprivileged child can be had. `folder` is made reachable for that user
// when it and the folders above it are test folders of our own.
inline int runUnprivileged(const std::filesystem::path& folder, const std::function<int()>& body, std::string& why) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {
        // Folders made under the temporary folder, and those made by
        // tests/isolated (tavrin-test.*); nothing else is changed.
        const std::filesystem::path temporary = std::filesystem::temp_directory_path();
        for (std::filesystem::path p = folder; p != p.parent_path(); p = p.parent_path()) {
            struct stat st {};
            if (::stat(p.c_str(), &st) != 0) continue;
            if ((st.st_mode & S_IXOTH) != 0) continue;
            const std::filesystem::path inTemporary = p.lexically_relative(temporary);
            const bool madeByTest = (!inTemporary.empty() && inTemporary != "." && *inTemporary.begin() != "..") ||
                                    p.filename().string().rfind("tavrin-test.", 0) == 0;
            if (!madeByTest) {
                why = "the folder " + p.string() + " is not reachable by an unprivileged user";
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
