// Time to load a skin into the model: TSkinData::LoadSkin on the stored bytes (unpacking
// the container, reading the definition, decoding every bitmap, building every part and
// the generated ones), median and fastest of N loads.  The container unpacking alone is
// timed beside it, so the difference is the parse into the model.
//
// usage (from the build folder, under Wine): skin_parse_bench [skin file] [loads]
// The default skin file is res/default.skin; the default count is 200.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "Forms.h"
#include "SkinContainer.h"
#include "WinSkinData.h"

#include "bench_timing.h"

namespace {

using bench::Clock;
using bench::Median;

template <class F>
std::vector<double> TimeRuns(int runs, F&& f) {
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "res/default.skin";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (file.empty()) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    Application->Initialize();

    TSkinData data(nullptr);
    TBytes stored(4 + file.size());
    for (int i = 0; i < 4; ++i) stored[static_cast<size_t>(i)] = static_cast<uint8_t>(file.size() >> (8 * i));
    std::copy(file.begin(), file.end(), stored.begin() + 4);
    data.ReadSkinStream(stored);
    if (data.NoSkin()) {
        std::fprintf(stderr, "%s does not load\n", path);
        return 1;
    }

    TimeRuns(5, [&] { data.LoadSkin(); });  // warm up
    const std::vector<double> load = TimeRuns(runs, [&] { data.LoadSkin(); });
    const std::vector<double> unpack = TimeRuns(runs, [&] {
        TSkinReader reader;
        reader.LoadFromStream(file);
    });
    const double loadMedian = Median(load), unpackMedian = Median(unpack);
    std::printf("skin file %s: %zu bytes, %d loads\n", path, file.size(), runs);
    std::printf("LoadSkin (unpack + parse into the model): median %.3f ms, fastest %.3f ms\n", loadMedian,
                *std::min_element(load.begin(), load.end()));
    std::printf("container unpacking alone:                median %.3f ms, fastest %.3f ms\n", unpackMedian,
                *std::min_element(unpack.begin(), unpack.end()));
    std::printf("parse into the model (difference of medians): %.3f ms\n", loadMedian - unpackMedian);
    return 0;
}
