// korvex-render: scans a folder and writes the sunburst of its root as a PNG,
// without a window.
//
//   korvex-render PATH OUT.png [--size N]

#include "diagram/DiagramImage.h"
#include "scan/model/BlockingScan.h"

#include <QGuiApplication>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: korvex-render PATH OUT.png [--size N]\n", stderr);
        return 2;
    }
    int size = 800;
    for (int i = 3; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0) {
            size = std::max(64, std::atoi(argv[i + 1]));
        }
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    char resolved[PATH_MAX];
    if (::realpath(argv[1], resolved) == nullptr) {
        std::fprintf(stderr, "korvex-render: %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    korvex::CModel model;
    model.enumerateVolumes();
    korvex::BlockingScanResult result = korvex::runBlockingScan(model, resolved, nullptr);
    QImage image = korvex::renderDiagram(result.root, size);
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "korvex-render: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
