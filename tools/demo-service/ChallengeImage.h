#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace zanthe::demo {

// A PNG showing the answer's characters, each slightly turned and shifted,
// over light noise. The same answer and variation always give the same
// picture, so fetching the image again shows what the user saw before.
// Needs a QGuiApplication (fonts).
QByteArray challengePng(const QByteArray& answer, quint64 variation);

} // namespace zanthe::demo
