// Paint time of the sunburst of a 1,000,000-node tree at 800×800, and the
// time of its ring count, as medians over repeated runs.
//
//   korvex-bench-diagram [runs] [OUT.png]
//
// OUT.png receives the last paint of the big tree, to look at.

#include "diagram/RadialController.h"
#include "support/SyntheticTree.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace korvex;

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <class Fn>
double millisecondsOf(Fn&& fn) {
    auto start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    bench::SyntheticTree tree = bench::buildSyntheticTree(316, 9);
    tree.root->calctotalsize();
    tree.root->sortChildrenBySize(true);

    RadialController controller;
    controller.initRadialParameters(QRectF(0, 0, 800, 800));
    controller.setRoot(tree.root, true);
    QImage image(800, 800, QImage::Format_ARGB32_Premultiplied);

    std::vector<double> paints;
    std::vector<double> counts;
    for (int i = 0; i < runs; ++i) {
        image.fill(Qt::white);
        paints.push_back(millisecondsOf([&] {
            QPainter painter(&image);
            controller.DrawRadialSructure(painter, image.rect());
        }));
        counts.push_back(millisecondsOf([&] { controller.initCountOfSublevels(); }));
    }
    if (argc > 2 && !image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "korvex-bench-diagram: cannot write %s\n", argv[2]);
    }
    // The same paint with an empty root: what the disc and label cost alone.
    FolderRef empty = FolderSystemItem::initWithPathSizeNoParent("/bench/root", nullptr, 0, false,
                                                                 0, false, false);
    RadialController discOnly;
    discOnly.initRadialParameters(QRectF(0, 0, 800, 800));
    discOnly.setRoot(empty, true);
    std::vector<double> discs;
    for (int i = 0; i < runs; ++i) {
        discs.push_back(millisecondsOf([&] {
            QPainter painter(&image);
            discOnly.DrawRadialSructure(painter, image.rect());
        }));
    }
    std::printf("nodes            %zu\n", tree.nodes());
    std::printf("rings            %d\n", controller.subLevels());
    std::printf("paint 800x800    %.2f ms median over %d runs\n", median(paints), runs);
    std::printf("  of which disc  %.2f ms (root disc and label alone)\n", median(discs));
    std::printf("ring count       %.3f ms median\n", median(counts));
    return 0;
}
