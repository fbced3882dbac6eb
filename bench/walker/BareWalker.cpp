// The floor a scan is measured against: two threads that read every folder
// with getdents64 and look at every entry with one fstatat, keeping nothing
// but two totals.
//
//   korvex-bench-walker DIR

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Dirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

// Folders not yet read, shared by both threads. A thread reads depth-first
// from its own stack and only shares a folder while the other one waits.
class Walk {
  public:
    explicit Walk(std::string root) { shared_.push_back(std::move(root)); }

    void run() {
        std::vector<std::string> mine;
        std::vector<char> buffer(32 * 1024);
        while (take(mine)) {
            while (!mine.empty()) {
                std::string path = std::move(mine.back());
                mine.pop_back();
                readFolder(path, buffer, mine);
            }
            finished();
        }
    }

    std::uint64_t entries() const { return entries_; }
    std::uint64_t blocks() const { return blocks_; }

  private:
    bool take(std::vector<std::string>& into) {
        std::unique_lock lock(mutex_);
        ++waiting_;
        changed_.wait(lock, [&] { return !shared_.empty() || busy_ == 0; });
        --waiting_;
        if (shared_.empty()) {
            changed_.notify_all();
            return false;
        }
        into.push_back(std::move(shared_.back()));
        shared_.pop_back();
        ++busy_;
        return true;
    }

    void finished() {
        std::lock_guard lock(mutex_);
        --busy_;
        if (busy_ == 0) {
            changed_.notify_all();
        }
    }

    void push(std::string path, std::vector<std::string>& mine) {
        if (waiting_.load(std::memory_order_relaxed) > 0 && !mine.empty()) {
            std::lock_guard lock(mutex_);
            shared_.push_back(std::move(path));
            changed_.notify_one();
            return;
        }
        mine.push_back(std::move(path));
    }

    void readFolder(const std::string& path, std::vector<char>& buffer,
                    std::vector<std::string>& mine) {
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            return;
        }
        std::uint64_t entries = 0;
        std::uint64_t blocks = 0;
        while (true) {
            long bytes = ::syscall(SYS_getdents64, fd, buffer.data(), buffer.size());
            if (bytes <= 0) {
                break;
            }
            for (long offset = 0; offset < bytes;) {
                const auto* record = reinterpret_cast<const Dirent64*>(buffer.data() + offset);
                offset += record->d_reclen;
                const char* name = record->d_name;
                if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                    continue;
                }
                struct stat info {};
                if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
                    continue;
                }
                ++entries;
                blocks += static_cast<std::uint64_t>(info.st_blocks);
                if (S_ISDIR(info.st_mode)) {
                    push(path + "/" + name, mine);
                }
            }
        }
        ::close(fd);
        std::lock_guard lock(mutex_);
        entries_ += entries;
        blocks_ += blocks;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> shared_;
    int busy_ = 0;
    std::atomic<int> waiting_{0};
    std::uint64_t entries_ = 0;
    std::uint64_t blocks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvex-bench-walker DIR\n");
        return 2;
    }
    Walk walk(argv[1]);
    std::thread second([&] { walk.run(); });
    walk.run();
    second.join();
    std::printf("%llu entries, %llu bytes allocated\n",
                static_cast<unsigned long long>(walk.entries()),
                static_cast<unsigned long long>(walk.blocks() * 512));
    return 0;
}
