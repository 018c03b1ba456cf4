#pragma once
// The program icon, drawn rather than loaded: a rounded square with a darker rim and a white plus.
#include <QIcon>
#include <QImage>

namespace ovra {

inline constexpr int ProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

QImage ProgramIconImage(int size);
QIcon ProgramIcon();

}  // namespace ovra
