#include "records/csv_rows.h"

namespace ovra {

std::vector<CsvRow> CsvRows(std::string_view text) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string cell;
    bool quoted = false;
    bool any = false;  // the current row has begun
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        any = true;
        if (quoted) {
            if (c != '"')
                cell += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                cell += text[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(cell));
            cell.clear();
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            if (c == '\r') ++i;
            row.push_back(std::move(cell));
            cell.clear();
            rows.push_back(std::move(row));
            row.clear();
            any = false;
        } else {
            cell += c;
        }
    }
    if (any) {
        row.push_back(std::move(cell));
        rows.push_back(std::move(row));
    }
    return rows;
}

CsvRow ComparableRow(CsvRow row) {
    for (std::string& cell : row) {
        std::string kept;
        for (const char c : cell) {
            if (c != '\r') kept += c;
        }
        while (!kept.empty() && kept.back() == '\n') kept.pop_back();
        cell = std::move(kept);
    }
    return row;
}

}  // namespace ovra
