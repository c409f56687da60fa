// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(QtPrinters, FailuresShowTextNotBytes) {
    EXPECT_EQ(testing::PrintToString(QStringLiteral("Pärnu")), "\"Pärnu\"");
    EXPECT_EQ(testing::PrintToString(QStringList({u"a"_s, u"b"_s})), "QList(\"a\", \"b\")");
    EXPECT_EQ(testing::PrintToString(QVariant(1)), "QVariant(int, 1)");
}

} // namespace
