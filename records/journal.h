#pragma once
// The journal of one append, as it stands on the disk: the log's identity, the log's size before the append
// and the bytes appended, so that the next appender can tell a torn append of exactly those bytes from
// anything else.
#include <cstdint>

#include "io/log_file.h"

namespace ovra {

struct JournalRecord {
    FileIdentity log;
    int64_t before;
    const char* bytes;
    int32_t size;
};

constexpr int32_t JournalHeadCapacity = 96;  // "ovra-journal 2" and three lines of numbers

// Writes the journal's text into `out`; its size, or -1 when it does not fit.
int32_t BuildJournal(const JournalRecord& record, char* out, int32_t capacity);

// Reads a journal written by BuildJournal, and nothing else: every byte is accounted for, numbers are plain
// decimal digits. `out.bytes` then points into `text`.
bool ParseJournal(const char* text, int32_t size, JournalRecord& out);

// Whether a log whose bytes from `record.before` on are `tail` stopped inside that append: the tail is not
// empty, shorter than the append, and begins it.
bool TornAppendOf(const JournalRecord& record, const char* tail, int64_t tailSize);

}  // namespace ovra
