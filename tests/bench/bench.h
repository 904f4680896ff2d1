// A small benchmark registry: each file adds rows with TARVOK_BENCH; bench_main runs them
// all in one process and prints one table (and CSV) of median and p95 per row.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Milliseconds since an arbitrary start, at the best resolution the system has.
double nowMs();

// Dispatches every pending message (paints included) until none is left.
void drain();

class Report {
public:
    // One measured value of a row; rows keep the order of their first sample.
    void sample(const std::string& row, const std::string& unit, double value);
    // A value derived from others (a ratio, a difference): shown as it is.
    void derived(const std::string& row, const std::string& unit, double value);
    // The median of the row's samples so far (0 when it has none).
    double median(const std::string& row) const;

    void printTable() const;
    void printCsv() const;

private:
    struct Row {
        std::string name, unit;
        std::vector<double> values;
        bool derived = false;
    };
    Row& row(const std::string& name, const std::string& unit);
    std::vector<Row> rows_;
};

// Times fn over runs calls and records each duration under row, in milliseconds.
void time(Report& report, const std::string& row, int runs, const std::function<void()>& fn);

struct Case {
    const char* name;
    void (*run)(Report&);
};
std::vector<Case>& cases();

struct Registrar {
    Registrar(const char* name, void (*run)(Report&)) { cases().push_back({name, run}); }
};

} // namespace bench

#define TARVOK_BENCH_CAT2(a, b) a##b
#define TARVOK_BENCH_CAT(a, b) TARVOK_BENCH_CAT2(a, b)
// TARVOK_BENCH(name) { ... report.sample(...) ... } defines and registers one case.
#define TARVOK_BENCH(name)                                                                              \
    static void TARVOK_BENCH_CAT(benchCase_, __LINE__)(bench::Report & report);                         \
    static const bench::Registrar TARVOK_BENCH_CAT(benchRegistrar_, __LINE__)(                           \
        name, &TARVOK_BENCH_CAT(benchCase_, __LINE__));                                                 \
    static void TARVOK_BENCH_CAT(benchCase_, __LINE__)([[maybe_unused]] bench::Report & report)
