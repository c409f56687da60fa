#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// How the program names and marks its controls: an element of a control array is named with its
// index, "plabel(0)"; a button's state lives in its tag, as "Stop" or "laadi".
inline QString arrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

inline QString tagOf(const QObject* control) {
    return control->property("tag").toString();
}
inline void setTag(QObject* control, const QString& tag) {
    control->setProperty("tag", tag);
}
