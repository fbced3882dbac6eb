// Paint time of the sunburst of 1,000,000-node trees at 800×800 after their
// sizes changed and of a repaint unchanged, and the time of their ring count,
// as medians over repeated runs: an even tree and a deep, lopsided one like a
// real disk.
//
//   korvex-bench-diagram [runs] [OUT.png]
//
// OUT.png receives the last paint of the lopsided tree, to look at.

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

// Paints the diagram of `tree` `runs` times, each time after the tree's
// sizes changed (as every update of a scan changes them) and then again
// unchanged (a repaint, as the glow above the diagram asks for), and counts
// its rings as often; prints the medians. `out`, when given, receives the
// last paint.
void measureTree(const char* shape, bench::SyntheticTree& tree, int runs, const char* out) {
    tree.root->calctotalsize();
    tree.root->sortChildrenBySize(true);
    RadialController controller;
    controller.initRadialParameters(QRectF(0, 0, 800, 800));
    QImage image(800, 800, QImage::Format_ARGB32_Premultiplied);
    // Growing and shrinking the root's own bytes by a hundredth of the total
    // moves every sector.
    const std::int64_t step = tree.root->gettotalsize() / 100;

    std::vector<double> paints;
    std::vector<double> repaints;
    std::vector<double> counts;
    for (int i = 0; i < runs; ++i) {
        tree.root->addOwnBlocks(i % 2 == 0 ? step : -step);
        tree.root->calctotalsize();
        controller.setRoot(tree.root, true, false);
        for (auto* times : {&paints, &repaints}) {
            image.fill(Qt::white);
            times->push_back(millisecondsOf([&] {
                QPainter painter(&image);
                controller.DrawRadialSructure(painter, image.rect());
            }));
        }
        counts.push_back(millisecondsOf([&] { controller.initCountOfSublevels(); }));
    }
    if (out != nullptr && !image.save(QString::fromLocal8Bit(out), "PNG")) {
        std::fprintf(stderr, "korvex-bench-diagram: cannot write %s\n", out);
    }
    std::printf("%s tree\n", shape);
    std::printf("  nodes          %zu\n", tree.nodes());
    std::printf("  rings          %d\n", controller.subLevels());
    std::printf("  paint 800x800  %.2f ms median over %d runs\n", median(paints), runs);
    std::printf("  repaint        %.2f ms median\n", median(repaints));
    std::printf("  ring count     %.3f ms median\n", median(counts));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    const char* out = argc > 2 ? argv[2] : nullptr;
    {
        bench::SyntheticTree even = bench::buildSyntheticTree(316, 9);
        measureTree("even", even, runs, nullptr);
    }
    {
        bench::SyntheticTree lopsided = bench::buildLopsidedTree(1'000'000);
        measureTree("lopsided", lopsided, runs, out);
    }
    // The same paint with an empty root: what the disc and label cost alone.
    QImage image(800, 800, QImage::Format_ARGB32_Premultiplied);
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
    std::printf("root disc alone  %.2f ms median\n", median(discs));
    return 0;
}
