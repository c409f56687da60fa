#include "settings/interface_texts.h"

#include <array>

InterfaceTexts::InterfaceTexts(const QString& langIniPath) : m_file(ProfileFile::load(langIniPath)) {}

QString InterfaceTexts::keeltekst(const QString& key) const {
    return m_file.value(m_keel, key, QString());
}

QString InterfaceTexts::npaev(const QDate& kuupa) const {
    static const std::array<QString, 7> Keys{
        QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
        QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat")};
    if (!kuupa.isValid()) {
        return QString();
    }
    return keeltekst(Keys[kuupa.dayOfWeek() % 7]); // dayOfWeek: Monday 1 .. Sunday 7
}
