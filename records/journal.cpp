#include "records/journal.h"

#include <cstdio>
#include <cstring>

namespace ovra {
namespace {

constexpr char Magic[] = "ovra-journal 2\n";

bool Expect(const char*& at, const char* end, const char* literal) {
    const size_t length = std::strlen(literal);
    if (static_cast<size_t>(end - at) < length || std::memcmp(at, literal, length) != 0) return false;
    at += length;
    return true;
}

// 1 to 19 digits, so the value fits a signed 64-bit number; no sign, no space.
bool Number(const char*& at, const char* end, uint64_t& value) {
    value = 0;
    int digits = 0;
    while (at < end && *at >= '0' && *at <= '9' && digits < 19) {
        value = value * 10 + static_cast<uint64_t>(*at++ - '0');
        ++digits;
    }
    return digits > 0 && (at == end || *at < '0' || *at > '9');
}

}  // namespace

int32_t BuildJournal(const JournalRecord& record, char* out, int32_t capacity) {
    const int head = std::snprintf(out, static_cast<size_t>(capacity), "%slog %llu %llu\nbefore %lld\nbytes %d\n", Magic,
                                   static_cast<unsigned long long>(record.log.volume),
                                   static_cast<unsigned long long>(record.log.index),
                                   static_cast<long long>(record.before), static_cast<int>(record.size));
    if (head < 0 || head >= capacity || record.size > capacity - head) return -1;
    std::memcpy(out + head, record.bytes, static_cast<size_t>(record.size));
    return head + record.size;
}

bool ParseJournal(const char* text, int32_t size, JournalRecord& out) {
    const char* at = text;
    const char* end = text + size;
    uint64_t volume = 0;
    uint64_t index = 0;
    uint64_t before = 0;
    uint64_t length = 0;
    if (!(Expect(at, end, Magic) && Expect(at, end, "log ") && Number(at, end, volume) && Expect(at, end, " ") &&
          Number(at, end, index) && Expect(at, end, "\nbefore ") && Number(at, end, before) &&
          Expect(at, end, "\nbytes ") && Number(at, end, length) && Expect(at, end, "\n")))
        return false;
    if (length == 0 || length != static_cast<uint64_t>(end - at) || before > INT64_MAX) return false;
    out = {{volume, index}, static_cast<int64_t>(before), at, static_cast<int32_t>(length)};
    return true;
}

bool TornAppendOf(const JournalRecord& record, const char* tail, int64_t tailSize) {
    return tailSize > 0 && tailSize < record.size && std::memcmp(tail, record.bytes, static_cast<size_t>(tailSize)) == 0;
}

}  // namespace ovra
