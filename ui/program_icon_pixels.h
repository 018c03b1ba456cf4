#pragma once
// The program icon as pixels, drawn with the standard library only so every shell and the build's icon files
// share one drawing: a rounded square #008CB6 with a darker rim #00749E and a white plus, transparent outside.
#include <cstdint>

namespace ovra {

inline constexpr int ProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Writes size x size pixels as R, G, B, A bytes (alpha not premultiplied), rows from the top; `out` holds
// size * size * 4 bytes.
void ProgramIconPixels(int size, uint8_t* out);

}  // namespace ovra
