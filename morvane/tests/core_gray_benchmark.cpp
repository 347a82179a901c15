// Throughput of the gray renderings on a real photo, for bench/morvane.sh. Disabled in the
// ordinary test run: the benchmark runs it with --gtest_also_run_disabled_tests and names the
// photo in MORVANE_BENCH_JPEG. It prints figures and asserts nothing about time.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/gray_rendering.h"
#include "core/jpeg_file.h"

namespace corvelle {
namespace {

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

TEST(GrayBenchmark, DISABLED_RenderingThroughput) {
    const char* path = std::getenv("MORVANE_BENCH_JPEG");
    ASSERT_NE(path, nullptr) << "MORVANE_BENCH_JPEG names the photo";
    std::string error;
    const std::optional<PackedDib> photo = LoadJpegFile(path, &error);
    ASSERT_TRUE(photo) << error;
    const double megapixels = double(photo->width()) * photo->height() / 1e6;
    for (GrayLevels levels : {GrayLevels::k1786, GrayLevels::k4336}) {
        // Wall time, and the time this thread had a core: on a busy machine the second
        // is the rendering's own cost.
        double bestWall = 1e30, bestCpu = 1e30;
        for (int run = 0; run < 9; ++run) {
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = ThreadCpuSeconds();
            const std::optional<PackedDib> gray = RenderHighLevelGray(*photo, levels);
            bestCpu = std::min(bestCpu, ThreadCpuSeconds() - cpuStart);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            ASSERT_TRUE(gray);
            bestWall = std::min(bestWall, took.count());
        }
        std::printf(
            "%s-level rendering of %.1f MP, best of 9: %.0f megapixels per second "
            "(%.1f ms wall), %.0f megapixels per CPU second (%.1f ms on one core)\n",
            levels == GrayLevels::k1786 ? "1786" : "4336", megapixels, megapixels / bestWall,
            bestWall * 1e3, megapixels / bestCpu, bestCpu * 1e3);
    }
}

}  // namespace
}  // namespace corvelle
