#pragma once
// Accessible interfaces of our own where Qt's do not serve: the window as a frame, a notification object that
// makes a screen reader say a new result, and line edits that answer every text query without hanging.
#include <QWidget>

namespace ovra {

// Installs the factory once per process; later calls do nothing.
void InstallAccessibleWidgets();

// A widget that paints nothing and is seen by assistive technology as a notification: name it and show it
// again, and a screen reader says its name.
QWidget* MakeAnnouncement(QWidget* parent);

}  // namespace ovra
