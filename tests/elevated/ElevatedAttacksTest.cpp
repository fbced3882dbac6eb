#include "cleanup/elevated/ElevatedHelper.h"
#include "support/ElevatedTestSupport.h"
#include "support/ScopedVariable.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

namespace korvex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::existsNoFollow;
using test::kNobody;

using Snapshot = std::map<std::string, std::pair<ino_t, off_t>>;

// Every entry below a folder, links not followed: path, inode and size;
// what lies under `skip` is left out.
Snapshot snapshot(const std::string& root, const std::string& skip) {
    Snapshot entries;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string path = it->path().string();
        if (path.rfind(skip, 0) == 0) {
            it.disable_recursion_pending();
            continue;
        }
        struct stat info {};
        ::lstat(path.c_str(), &info);
        entries[path] = {info.st_ino, info.st_size};
    }
    return entries;
}

// The user "nobody" asks the real helper, through the stand-in for pkexec,
// to remove items in folders only root may change; the attacker works as
// nobody too, or as another user, between the collection and the removal.
class ElevatedAttacks : public ::testing::Test, public test::MainQueueFixture {
  protected:
    ElevatedAttacks() {
        ::chmod(tree.root().c_str(), 0755);
        ::chown(home.c_str(), kNobody, kNobody);
        ::chmod(home.c_str(), 0700);
        tree.folder("theirs");
    }
    ~ElevatedAttacks() override {
        helper->stop();
        serveUntil([this] { return !helper->running(); }, 3s);
    }

    // What the window records when the user collects an item.
    static elevated::TargetItem collected(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
        return {path, info.st_dev, info.st_ino};
    }

    ElevatedReply askAsNobody(const std::vector<elevated::TargetItem>& items, bool toTrash = true) {
        test::AsNobody nobody;
        EXPECT_TRUE(nobody.switched());
        std::optional<ElevatedReply> reply;
        const auto done = [&reply](const ElevatedReply& r) { reply = r; };
        if (toTrash) {
            helper->moveToTrash(items, homeTrash, done);
        } else {
            helper->removePermanently(items, done);
        }
        serveUntil([&reply] { return reply.has_value(); });
        return reply.value_or(ElevatedReply{ElevatedFailure{-100, "no reply"}, {}});
    }

    std::string trashed(const std::string& name) const { return homeTrash + "/files/" + name; }

    test::TempTree tree;
    std::string home = tree.folder("home");
    std::string homeTrash = home + "/.local/share/Trash";
    std::shared_ptr<ElevatedHelper> helper = ElevatedHelper::create(test::standInLaunch());
};

TEST_F(ElevatedAttacks, AWorldWritableTempParentMadeByAnotherUserIsNeverUsed) {
    // Another user made the temporary parent first and left a job in it.
    const std::string tmp = tree.folder("tmp");
    const std::string planted = tree.folder("tmp/korvex/task");
    ::chmod(tree.path("tmp/korvex").c_str(), 0777);
    ::chown(tree.path("tmp/korvex").c_str(), 4242, 4242);
    std::ofstream(planted + "/script.sh") << "touch " << tree.path("pwned") << "\n";
    test::ScopedVariable tmpdir("TMPDIR", tmp);
    const std::string item = tree.file("theirs/item", 5);
    const Snapshot before = snapshot(tree.path(), home);

    const ElevatedReply reply = askAsNobody({collected(item)});

    ASSERT_FALSE(reply.failure) << reply.failure->description;
    EXPECT_EQ(reply.outcomes, (std::vector<elevated::ItemOutcome>{{}}));
    EXPECT_TRUE(existsNoFollow(trashed("item")));
    Snapshot expected = before;
    expected.erase(item);
    EXPECT_EQ(snapshot(tree.path(), home), expected);
    EXPECT_FALSE(existsNoFollow(tree.path("pwned")));
}

TEST_F(ElevatedAttacks, FilesDroppedIntoTheFoldersAroundTheWorkAreNeverRun) {
    // Every folder the removal goes through gets the files the old runner
    // would have run or read back.
    tree.folder("home/.local/share/Trash/files");
    tree.folder("home/.local/share/Trash/info");
    for (const std::string folder : {"home/.local/share/Trash", "home/.local/share/Trash/files",
                                     "home/.local/share/Trash/info", "home", "theirs"}) {
        for (const std::string name : {"script.sh", "script.running.sh", "completion.msgtoc"}) {
            std::ofstream(tree.path(folder) + "/" + name) << "touch " << tree.path("pwned") << "\n";
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(home)) {
        ::lchown(entry.path().c_str(), kNobody, kNobody);
    }
    const std::string item = tree.file("theirs/item", 5);
    const Snapshot before = snapshot(tree.path(), homeTrash + "/files/item");

    const ElevatedReply reply = askAsNobody({collected(item)});

    ASSERT_FALSE(reply.failure) << reply.failure->description;
    EXPECT_EQ(reply.outcomes, (std::vector<elevated::ItemOutcome>{{}}));
    Snapshot after = snapshot(tree.path(), homeTrash + "/files/item");
    after.erase(homeTrash + "/info/item.trashinfo");
    Snapshot expected = before;
    expected.erase(item);
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(existsNoFollow(tree.path("pwned")));
}

// Gone, or a zombie nobody reaped: either way it runs no more.
bool hasEnded(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && line.size() > close + 2 && line[close + 2] == 'Z';
}

TEST_F(ElevatedAttacks, TheHelperEndsWithinTwoSecondsOfTheApplicationsKill) {
    const std::string item = tree.file("theirs/item", 5);
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t app = ::fork();
    if (app == 0) {
        // The application: starts the helper as nobody, uses it once, then
        // waits to be killed.
        ::close(report[0]);
        platform::MainQueue::shared().bindToCurrentThread();
        [[maybe_unused]] const int dropped = ::setegid(kNobody) + ::seteuid(kNobody);
        auto own = ElevatedHelper::create(test::standInLaunch());
        bool done = false;
        own->moveToTrash({collected(item)}, homeTrash,
                         [&done](const ElevatedReply&) { done = true; });
        platform::MainQueue::shared().runUntil([&done] { return done; }, 10s);
        const pid_t helperPid = own->processId().value_or(-1);
        [[maybe_unused]] const ssize_t put = ::write(report[1], &helperPid, sizeof helperPid);
        ::pause();
        ::_exit(0);
    }
    ::close(report[1]);
    pid_t helperPid = -1;
    pollfd wait{report[0], POLLIN, 0};
    ASSERT_EQ(::poll(&wait, 1, 15000), 1);
    ASSERT_EQ(::read(report[0], &helperPid, sizeof helperPid),
              static_cast<ssize_t>(sizeof helperPid));
    ::close(report[0]);
    ASSERT_GT(helperPid, 0);
    EXPECT_FALSE(hasEnded(helperPid));
    EXPECT_TRUE(existsNoFollow(trashed("item")));

    ::kill(app, SIGKILL);
    ::waitpid(app, nullptr, 0);
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!hasEnded(helperPid) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(hasEnded(helperPid)) << "the helper outlived the application";
}

TEST_F(ElevatedAttacks, AParentSwappedForALinkBetweenCollectingAndRemovingIsRefused) {
    // A shared folder anyone may rename in; the item's own folder is root's.
    const std::string shared = tree.folder("shared");
    ::chmod(shared.c_str(), 0777);
    const std::string item = tree.file("shared/dir/item", 5);
    const std::string secret = tree.file("secret/item", 7);
    const elevated::TargetItem target = collected(item);
    {
        test::AsNobody attacker;
        ASSERT_TRUE(attacker.switched());
        fs::rename(shared + "/dir", shared + "/dir.old");
        fs::create_symlink(tree.path("secret"), shared + "/dir");
    }
    const Snapshot before = snapshot(tree.path(), home);

    const ElevatedReply reply = askAsNobody({target});

    ASSERT_FALSE(reply.failure) << reply.failure->description;
    ASSERT_EQ(reply.outcomes.size(), 1u);
    EXPECT_EQ(reply.outcomes[0].error, ELOOP);
    EXPECT_NE(reply.outcomes[0].message.find("symbolic link"), std::string::npos)
        << reply.outcomes[0].message;
    EXPECT_EQ(snapshot(tree.path(), home), before);
    EXPECT_EQ(fs::file_size(secret), 7u);
    EXPECT_FALSE(existsNoFollow(trashed("item")));
}

TEST_F(ElevatedAttacks, AParentSwappedForAnotherFolderHoldingTheSameNameIsRefused) {
    const std::string shared = tree.folder("shared");
    ::chmod(shared.c_str(), 0777);
    const std::string item = tree.file("shared/dir/item", 5);
    const elevated::TargetItem target = collected(item);
    {
        test::AsNobody attacker;
        ASSERT_TRUE(attacker.switched());
        fs::rename(shared + "/dir", shared + "/dir.old");
        fs::create_directory(shared + "/dir");
        std::ofstream(shared + "/dir/item") << "decoy";
    }
    const Snapshot before = snapshot(tree.path(), home);

    const ElevatedReply permanent = askAsNobody({target}, false);
    const ElevatedReply trash = askAsNobody({target});

    for (const ElevatedReply& reply : {permanent, trash}) {
        ASSERT_FALSE(reply.failure) << reply.failure->description;
        ASSERT_EQ(reply.outcomes.size(), 1u);
        EXPECT_EQ(reply.outcomes[0].error, ESTALE);
        EXPECT_NE(reply.outcomes[0].message.find("no longer the item that was collected"),
                  std::string::npos);
    }
    EXPECT_EQ(snapshot(tree.path(), home), before);
    EXPECT_EQ(test::readFile(shared + "/dir/item"), "decoy");
}

TEST_F(ElevatedAttacks, HostileNamesAreRemovedExactlyAndNothingElseIsTouched) {
    const std::vector<std::string> names{
        "say \"hi\"", "$(touch pwned)", "`touch pwned`", "two\nlines",
        "-rf",        "\xff\xfe bytes", "$HOME"};
    std::vector<elevated::TargetItem> toTrash;
    for (const std::string& name : names) {
        toTrash.push_back(collected(tree.file("theirs/" + name, 10)));
    }
    const std::string folder = tree.path("theirs/-f \"$(id)\"\n\xff");
    const std::string inner = tree.file("theirs/-f \"$(id)\"\n\xff/inner", 3);
    const elevated::TargetItem toRemove = collected(folder);
    tree.file("theirs/keep", 1);
    const Snapshot before = snapshot(tree.path(), home);

    const ElevatedReply trash = askAsNobody(toTrash);
    const ElevatedReply removal = askAsNobody({toRemove}, false);

    ASSERT_FALSE(trash.failure) << trash.failure->description;
    ASSERT_FALSE(removal.failure) << removal.failure->description;
    EXPECT_EQ(trash.outcomes, std::vector<elevated::ItemOutcome>(names.size()));
    EXPECT_EQ(removal.outcomes, std::vector<elevated::ItemOutcome>(1));
    for (const std::string& name : names) {
        EXPECT_EQ(fs::file_size(trashed(name)), 10u) << name;
        const std::string info = test::readFile(homeTrash + "/info/" + name + ".trashinfo");
        // One line each: the name's bytes are percent-encoded.
        EXPECT_EQ(std::count(info.begin(), info.end(), '\n'), 3) << info;
    }
    Snapshot expected = before;
    for (const elevated::TargetItem& item : toTrash) {
        expected.erase(item.path);
    }
    expected.erase(folder);
    expected.erase(inner);
    EXPECT_EQ(snapshot(tree.path(), home), expected);
    EXPECT_FALSE(existsNoFollow(tree.path("pwned")));
    EXPECT_FALSE(existsNoFollow(tree.path("theirs/pwned")));
    EXPECT_FALSE(existsNoFollow("/pwned"));
}

TEST_F(ElevatedAttacks, TrashFoldersMadeInTheHomeBelongToTheUser) {
    const std::string item = tree.file("theirs/item", 5);
    const ElevatedReply reply = askAsNobody({collected(item)});
    ASSERT_FALSE(reply.failure) << reply.failure->description;
    for (const std::string& path :
         {home + "/.local", home + "/.local/share", homeTrash, homeTrash + "/files",
          homeTrash + "/info", homeTrash + "/info/item.trashinfo"}) {
        EXPECT_EQ(test::ownerOf(path), kNobody) << path;
    }
    // The moved item keeps its owner.
    EXPECT_EQ(test::ownerOf(trashed("item")), 0u);
}

TEST_F(ElevatedAttacks, AHomeTrashFolderOfAnotherUserReceivesNothing) {
    const std::string trash = tree.folder("home/.local/share/Trash");
    for (const std::string& path : {home + "/.local", home + "/.local/share"}) {
        ::chown(path.c_str(), kNobody, kNobody);
    }
    ::chown(trash.c_str(), 4242, 4242);
    const std::string item = tree.file("theirs/item", 5);
    const ElevatedReply reply = askAsNobody({collected(item)});
    ASSERT_EQ(reply.outcomes.size(), 1u);
    EXPECT_EQ(reply.outcomes[0].error, EPERM);
    EXPECT_NE(reply.outcomes[0].message.find("belongs to another user"), std::string::npos);
    EXPECT_TRUE(existsNoFollow(item));
    EXPECT_FALSE(existsNoFollow(trash + "/files"));
}

}  // namespace
}  // namespace korvex
