#include "tests/support/OrdinaryUser.h"

#include "tests/support/BoundedRun.h"

#include <grp.h>
#include <unistd.h>

namespace testing_support {

namespace {

// The user and group ids of nobody (and its group, nogroup) on Debian.
constexpr uid_t kNobody = 65534;

}  // namespace

void GiveToOrdinaryUser(const std::filesystem::path& folder) {
    if (geteuid() != 0) {
        return;
    }
    Require(lchown(folder.c_str(), kNobody, kNobody) == 0, "the folder is given away");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        Require(lchown(entry.path().c_str(), kNobody, kNobody) == 0, "the folder's files are given away");
    }
}

void BecomeOrdinaryUser(const std::filesystem::path& folder) {
    if (geteuid() != 0) {
        return;
    }
    GiveToOrdinaryUser(folder);
    Require(setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0, "root is left");
}

std::vector<std::string> AsOrdinaryUser(const std::vector<std::string>& command) {
    if (geteuid() != 0) {
        return command;
    }
    const std::string id = std::to_string(kNobody);
    std::vector<std::string> wrapped = {"/usr/bin/setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups"};
    wrapped.insert(wrapped.end(), command.begin(), command.end());
    return wrapped;
}

}  // namespace testing_support
