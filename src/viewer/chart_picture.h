#pragma once

#include <QByteArray>

// Whether a stored chart file can be shown as a chart. The picture decoder shows whatever part of
// a GIF arrived, so a file cut short would pass for a chart with its lower part missing.
namespace viewer {

// A GIF (by its signature) whose blocks end before its trailer: the file was cut short. Bytes
// after the trailer are left alone; data that is no GIF is not judged here.
bool isCutShortGif(const QByteArray& bytes);

} // namespace viewer
