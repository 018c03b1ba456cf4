#pragma once
// The program icon as Qt images and icon, from the drawing every shell shares.
#include <QIcon>
#include <QImage>

#include "ui/program_icon_pixels.h"

namespace ovra {

QImage ProgramIconImage(int size);
QIcon ProgramIcon();

}  // namespace ovra
