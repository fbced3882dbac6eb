// Writes a deterministic file tree for benchmarks and manual testing: the same
// arguments always give the same names, sizes and shape.
//
//   korvex-treegen DIR [--entries N] [--seed S] [--no-data]
//
// --no-data leaves every file empty: the same names and shape in a fraction of
// the time and disk, for trees of many millions of entries.
//
// The tree mixes wide and deep folders, hidden entries, package-like folders,
// symbolic links and names with spaces, quotes and non-UTF-8 bytes.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct Generator {
    std::mt19937_64 random;
    std::size_t budget;
    bool writeData = true;
    std::size_t made = 0;
    std::vector<char> data = std::vector<char>(64 * 1024, 'x');

    std::size_t pick(std::size_t lo, std::size_t hi) {
        return std::uniform_int_distribution<std::size_t>(lo, hi)(random);
    }

    std::string nameFor(const char* stem, std::size_t index) {
        std::string name = stem + std::to_string(index);
        switch (pick(0, 40)) {
            case 0:
                return "." + name;  // hidden
            case 1:
                return name + " with space";  // spaces
            case 2:
                return name + "\"quoted'";  // quotes
            case 3:
                return name + "\xff\xfe";  // not UTF-8
            default:
                return name;
        }
    }

    bool makeFile(const std::string& path) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) {
            std::fprintf(stderr, "korvex-treegen: %s: %s\n", path.c_str(), std::strerror(errno));
            return false;
        }
        std::size_t bytes = pick(0, 9) < 3 ? 0 : pick(1, 3000);
        if (pick(0, 500) == 0) {
            bytes = pick(100'000, 1'000'000);  // a few large files
        }
        if (!writeData) {
            bytes = 0;  // drawn all the same, so that the shape does not change
        }
        while (bytes > 0) {
            std::size_t n = bytes < data.size() ? bytes : data.size();
            ssize_t w = ::write(fd, data.data(), n);
            if (w <= 0) {
                break;
            }
            bytes -= static_cast<std::size_t>(w);
        }
        ::close(fd);
        ++made;
        return true;
    }

    void fill(const std::string& dir, int depth) {
        std::size_t files = pick(2, 30);
        for (std::size_t i = 0; i < files && made < budget; ++i) {
            if (!makeFile(dir + "/" + nameFor("file", i) + ".dat")) {
                return;
            }
        }
        if (made < budget && pick(0, 20) == 0) {
            std::string link = dir + "/link" + std::to_string(made);
            if (::symlink("file0.dat", link.c_str()) == 0) {
                ++made;
            }
        }
        std::size_t folders = depth > 12 ? 0 : pick(depth < 2 ? 6 : 0, depth < 2 ? 12 : 6);
        for (std::size_t i = 0; i < folders && made < budget; ++i) {
            const char* stem = pick(0, 60) == 0 ? "Bundle" : "dir";
            std::string child = dir + "/" + nameFor(stem, i);
            if (std::strcmp(stem, "Bundle") == 0) {
                child += ".app";
            }
            if (::mkdir(child.c_str(), 0755) != 0 && errno != EEXIST) {
                std::fprintf(stderr, "korvex-treegen: %s: %s\n", child.c_str(),
                             std::strerror(errno));
                return;
            }
            ++made;
            fill(child, depth + 1);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: korvex-treegen DIR [--entries N] [--seed S] [--no-data]\n");
        return 2;
    }
    std::string root = argv[1];
    std::size_t entries = 500'000;
    unsigned long long seed = 1;
    bool writeData = true;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-data") == 0) {
            writeData = false;
        } else if (std::strcmp(argv[i], "--entries") == 0 && i + 1 < argc) {
            entries = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        }
    }
    if (::mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "korvex-treegen: %s: %s\n", root.c_str(), std::strerror(errno));
        return 1;
    }
    Generator gen{std::mt19937_64(seed), entries, writeData};
    // Top-level folders keep being added until the budget is spent.
    for (std::size_t top = 0; gen.made < entries; ++top) {
        std::string dir = root + "/top" + std::to_string(top);
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "korvex-treegen: %s: %s\n", dir.c_str(), std::strerror(errno));
            return 1;
        }
        ++gen.made;
        gen.fill(dir, 0);
    }
    std::printf("%zu entries under %s\n", gen.made, root.c_str());
    return 0;
}
