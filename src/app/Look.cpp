#include "Look.h"

#include <QApplication>

namespace zanthe {

QString builtInStyleSheet()
{
    return QStringLiteral(R"css(
QWidget { font-family: "DejaVu Sans", "Segoe UI", sans-serif; font-size: 8pt; color: #1f2933; }
QWidget#frmMain, QDialog { background: #eef2f6; }
QFrame#bsSkinPanel1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2f4f7a, stop:1 #223a5c); }
QFrame#panBanner { background: #ffffff; border: 1px solid #c5ced9; }
QFrame#bsSkinPanel3 { background: #eef2f6; }
QFrame#bsSkinPanel4 { background: #e2e8ef; border: 1px solid #c5ced9; }
QFrame#bsSkinStatusBar1 { background: #dde3ea; border-top: 1px solid #c5ced9; }
QPushButton {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e4e9f0);
    border: 1px solid #9aa8b9; border-radius: 3px; padding: 0 1px; color: #1f2933;
}
QPushButton:hover { background: #f3f7fc; border-color: #3d7bd9; }
QPushButton:pressed { background: #d4dfed; }
QPushButton:disabled { color: #9aa5b1; background: #eceff3; border-color: #c9d1db; }
QFrame#bsSkinPanel1 QPushButton { border-color: #1b2f4b; }
QFrame#bsSkinPanel1 QPushButton:hover { border-color: #ffffff; }
QPushButton#btnGatherData[running="true"] { background: #f6d5d2; border-color: #b3402f; color: #7a1d12; }
QTableView {
    background: #ffffff; alternate-background-color: #f6f8fb; gridline-color: #d3dae3;
    border: 1px solid #b8c3cf; selection-background-color: #cfe0f7; selection-color: #1f2933;
}
QHeaderView::section {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f9fb, stop:1 #e3e8ee);
    border: none; border-right: 1px solid #c5ced9; border-bottom: 1px solid #b8c3cf;
    padding: 2px 4px; font-weight: bold;
}
QLineEdit { background: #ffffff; border: 1px solid #9aa8b9; border-radius: 2px; padding: 1px 3px; }
QLineEdit:focus { border-color: #3d7bd9; }
QLabel[link="true"] { color: #1a56b8; text-decoration: underline; }
QLabel[link="true"]:hover { color: #0b3a8a; }
QLabel#MainStatusPanel, QLabel#bsSkinStatusPanel1, QLabel#SecondStatusPanel {
    border: 1px solid #b8c3cf; background: #eef2f6; padding: 0 3px;
}
QProgressBar { border: 1px solid #b8c3cf; background: #ffffff; text-align: center; }
QProgressBar::chunk { background: #4a8be0; }
QMessageBox, QDialog { background: #eef2f6; }
)css");
}

void applyStyleSheet(const QString& sheet)
{
    qApp->setStyleSheet(sheet);
}

} // namespace zanthe
