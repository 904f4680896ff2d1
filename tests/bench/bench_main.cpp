// The benchmark entry: the tool's start-up as far as the benches need it, then every case.
#include "tests/bench/bench.h"
#include "truecolour/module_win.h"

#include <ole2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace bench {

double nowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

void drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

Report::Row& Report::row(const std::string& name, const std::string& unit) {
    for (Row& r : rows_) {
        if (r.name == name) {
            return r;
        }
    }
    rows_.push_back({name, unit, {}, false});
    return rows_.back();
}

void Report::sample(const std::string& name, const std::string& unit, double value) {
    row(name, unit).values.push_back(value);
}

void Report::derived(const std::string& name, const std::string& unit, double value) {
    Row& r = row(name, unit);
    r.values = {value};
    r.derived = true;
}

namespace {

// The value below which the given share of the sorted values lies (nearest rank).
double percentile(std::vector<double> v, double share) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(v.size())));
    return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

} // namespace

double Report::median(const std::string& name) const {
    for (const Row& r : rows_) {
        if (r.name == name) {
            return percentile(r.values, 0.5);
        }
    }
    return 0;
}

void Report::printTable() const {
    std::printf("%-64s %6s %10s %10s  %s\n", "benchmark", "runs", "median", "p95", "unit");
    std::printf("%s\n", std::string(100, '-').c_str());
    for (const Row& r : rows_) {
        if (r.derived) {
            std::printf("%-64s %6s %10.3f %10s  %s\n", r.name.c_str(), "-", r.values.front(), "-", r.unit.c_str());
        } else {
            std::printf("%-64s %6zu %10.3f %10.3f  %s\n", r.name.c_str(), r.values.size(), percentile(r.values, 0.5),
                        percentile(r.values, 0.95), r.unit.c_str());
        }
    }
}

void Report::printCsv() const {
    std::printf("benchmark,runs,median,p95,unit\n");
    for (const Row& r : rows_) {
        if (r.derived) {
            std::printf("\"%s\",,%.4f,,%s\n", r.name.c_str(), r.values.front(), r.unit.c_str());
        } else {
            std::printf("\"%s\",%zu,%.4f,%.4f,%s\n", r.name.c_str(), r.values.size(), percentile(r.values, 0.5),
                        percentile(r.values, 0.95), r.unit.c_str());
        }
    }
}

void time(Report& report, const std::string& row, int runs, const std::function<void()>& fn) {
    for (int i = 0; i < runs; ++i) {
        double start = nowMs();
        fn();
        report.sample(row, "ms", nowMs() - start);
    }
}

} // namespace bench

// bench.exe [name-filter]: runs the cases whose name contains the filter (all without one);
// prints the table, then "--- csv ---" and the same rows as CSV.
int main(int argc, char** argv) {
    OleInitialize(nullptr);
    startTrueColourModule();
    const char* filter = argc > 1 ? argv[1] : "";
    bench::Report report;
    for (const bench::Case& c : bench::cases()) {
        if (std::strstr(c.name, filter)) {
            std::fprintf(stderr, "running %s\n", c.name);
            c.run(report);
        }
    }
    report.printTable();
    std::printf("--- csv ---\n");
    report.printCsv();
    std::fflush(stdout);
    return 0;
}
