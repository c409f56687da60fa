// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// Where Brisel finds what it ships and where it keeps what is the user's own.
//
// The shipped data (lang.ini, spots.ini, brisel.ini) is read where it was installed and never
// copied, so that a later version's texts, spots and service addresses reach every user. The
// user's folder holds the chart folder kaardid, the side windows' answer files and only the data
// files the user chose to override: a spots.ini or brisel.ini there wins whole, a lang.ini there
// adds or replaces keys.
class ProgramFolder final {
public:
    // One folder that holds both, as a test's folder does; the settings stay in their usual place.
    explicit ProgramFolder(QString root);
    ProgramFolder(QString root, QString shippedData, bool portable);

    // The shipped data lies beside the executable (a portable folder, the build tree) or in
    // share/brisel beside its bin folder (an installation). The user's folder is --home when given;
    // else the executable's folder when a file `portable` lies there, settings included; else,
    // and also when that folder cannot be written, the user's data folder.
    static ProgramFolder choose(const QString& homeOption, const QString& executableDir);

    // The user's folder.
    QString root() const { return m_root; }
    // A file of the user's folder.
    QString file(const QString& name) const;
    // The shipped lang.ini, then the user's: a later file adds or replaces keys.
    QStringList langIniLayers() const;
    QString spotsIni() const { return ownOrShipped(QStringLiteral("spots.ini")); }
    QString briselIni() const { return ownOrShipped(QStringLiteral("brisel.ini")); }
    // Ends with a separator, so a chart's name can be appended as it stands.
    QString chartFolder() const;
    // The settings file a portable folder carries with it; empty where the settings live in the
    // system's usual place.
    QString portableSettingsFile() const;

    // Removes the copies of the shipped files that an earlier version seeded into the user's
    // folder and the user left as they were, so that this version's data applies; then creates the
    // chart folder, and removes what a program killed in a write left there and in the user's
    // folder. False when the chart folder cannot be made. The window and the runs without one
    // both start here.
    bool prepare() const;

private:
    void removeStagingLeftovers() const;
    bool holdsShippedData() const { return m_root == m_shippedData; }
    QString ownOrShipped(const QString& name) const;
    void removeUnchangedCopies() const;

    QString m_root;
    QString m_shippedData;
    bool m_portable = false;
};

// The log of the last download run, which the next replaces: Brisel/last-run.log in the user's
// state folder ($XDG_STATE_HOME, else ~/.local/state), on Windows in the local application data
// folder. It is the machine's, portable folder or not.
QString lastRunLogFile();
