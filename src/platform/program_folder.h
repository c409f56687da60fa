#pragma once

#include <QString>

// The folder that holds lang.ini, spots.ini, brisel.ini, the chart folder kaardid and the side
// windows' answer files.
class ProgramFolder final {
public:
    explicit ProgramFolder(QString root);

    // --home when given; else the executable's folder when it holds lang.ini (a portable install,
    // the build tree among them); else the user's data folder, seeded with the shipped files.
    static ProgramFolder choose(const QString& homeOption, const QString& executableDir);

    QString root() const { return m_root; }
    QString file(const QString& name) const;
    QString langIni() const { return file(QStringLiteral("lang.ini")); }
    QString spotsIni() const { return file(QStringLiteral("spots.ini")); }
    QString briselIni() const { return file(QStringLiteral("brisel.ini")); }
    // Ends with a separator, so a chart's name can be appended as it stands.
    QString chartFolder() const;

    // Copies the shipped lang.ini, spots.ini and brisel.ini into the folder where they are missing
    // and creates the chart folder; false when the chart folder cannot be made.
    bool prepare() const;

private:
    QString m_root;
};
