// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/home_site.h"

#include "net/provider_requests.h"
#include "windows/answer_file.h"

namespace home_site {

QUrl updateCheckUrl(const QUrl& home, int versionNumber) {
    return appendToBase(home, "/brl/uuendused.php3?ver=" + QByteArray::number(versionNumber));
}

QUrl updaterUrl(const QUrl& home) {
    return appendToBase(home, "/brl/uuendus.exe");
}

QUrl updaterSignatureUrl(const QUrl& home) {
    return appendToBase(home, "/brl/uuendus.exe.sig");
}

QUrl supportersUrl(const QUrl& home) {
    return appendToBase(home, "/brl/toetajad.php");
}

} // namespace home_site

QString supportersText(bool fetched, const QString& listFile) {
    return fetched ? readAnswerFile(listFile) : SupportersFailedText;
}
