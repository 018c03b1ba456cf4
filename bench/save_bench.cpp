// The cost of one save against plain appends made in the same run: an unsynced fopen/fwrite/fclose append of
// the same bytes, and a synced one (the floor of any save that tells the truth about the device). Run from
// scripts/measure-save.sh, which prints the ratios; OVRA_BENCH_DIR picks the file system (default: temp).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "text/utf.h"
#include "records/append_record.h"

namespace ovra {
namespace {

std::filesystem::path BenchFolder(const char* name) {
    const char* base = std::getenv("OVRA_BENCH_DIR");
    std::filesystem::path folder =
        base != nullptr && base[0] != 0 ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
    folder /= std::string("ovra_save_bench_") + std::to_string(getpid()) + "_" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

char16_t recordLine[RecordLineCapacity];
char recordBytes[RecordLineCapacity * 3];
int32_t recordSize = 0;

void BuildRecord() {
    const double values[MaxInputs] = {60, 130, 80, 1, 1, 0};
    BuildRecordLine(ActiveTool(), LocalTime{2026, 12, 8, 9, 5, 3}, values, u"ABCD2：3 分\r\n", recordLine,
                    RecordLineCapacity);
    recordSize = Utf8FromUtf16(recordLine, recordBytes, sizeof recordBytes);
}

void PlainAppend(benchmark::State& state) {
    BuildRecord();
    const std::filesystem::path folder = BenchFolder("plain");
    const std::string path = (folder / "T146.csv").string();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "ab");
        std::fwrite(recordBytes, 1, static_cast<size_t>(recordSize), file);
        std::fclose(file);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(PlainAppend)->UseRealTime();

void SyncedAppend(benchmark::State& state) {
    BuildRecord();
    const std::filesystem::path folder = BenchFolder("synced");
    const std::string path = (folder / "T146.csv").string();
    for (auto _ : state) {
        const int file = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(write(file, recordBytes, static_cast<size_t>(recordSize)));
        fdatasync(file);
        close(file);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(SyncedAppend)->UseRealTime();

void SaveToExistingLog(benchmark::State& state) {
    BuildRecord();
    const std::filesystem::path folder = BenchFolder("existing");
    const std::u16string folder16 = folder.u16string();
    SaveReport report{};
    AppendRecordLine(folder16.c_str(), ActiveTool(), recordLine, report);
    for (auto _ : state) {
        if (AppendRecordLine(folder16.c_str(), ActiveTool(), recordLine, report) != SaveError::None)
            state.SkipWithError("save");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(SaveToExistingLog)->UseRealTime();

// The same save into a log of 32 MiB: a save reads only the head and a few bytes at the end, so it must cost
// what a save into a small log costs.
void SaveToLargeLog(benchmark::State& state) {
    BuildRecord();
    const std::filesystem::path folder = BenchFolder("large");
    const std::u16string folder16 = folder.u16string();
    SaveReport report{};
    AppendRecordLine(folder16.c_str(), ActiveTool(), recordLine, report);
    {
        std::FILE* file = std::fopen((folder / "T146.csv").string().c_str(), "ab");
        for (int64_t written = 0; written < (int64_t{32} << 20); written += recordSize)
            std::fwrite(recordBytes, 1, static_cast<size_t>(recordSize), file);
        std::fclose(file);
    }
    for (auto _ : state) {
        if (AppendRecordLine(folder16.c_str(), ActiveTool(), recordLine, report) != SaveError::None)
            state.SkipWithError("save");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(SaveToLargeLog)->UseRealTime();

void FirstSave(benchmark::State& state) {
    BuildRecord();
    const std::filesystem::path folder = BenchFolder("first");
    const std::u16string folder16 = folder.u16string();
    SaveReport report{};
    for (auto _ : state) {
        if (AppendRecordLine(folder16.c_str(), ActiveTool(), recordLine, report) != SaveError::None)
            state.SkipWithError("save");
        state.PauseTiming();
        std::filesystem::remove(folder / "T146.csv");
        state.ResumeTiming();
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(FirstSave)->UseRealTime();

}  // namespace
}  // namespace ovra
