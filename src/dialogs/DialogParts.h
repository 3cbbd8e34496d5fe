#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zanthe::dialogparts {

// Pieces shared by the program's windows: fixed-place controls on a window of
// fixed client size, centred on the screen.
inline constexpr Qt::WindowFlags DialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                               Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                               Qt::WindowCloseButtonHint;

QLabel* label(QWidget* parent, const char* name, const char* text, int left, int top, int width);
QLineEdit* edit(QWidget* parent, const char* name, int left, int top, int width, int height);
QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top,
                    int width, int height);
void centreOnScreen(QWidget* window);

// Enter (either key) as the edit boxes' key-down handlers see it.
bool isEnter(const QKeyEvent* key);

} // namespace zanthe::dialogparts
