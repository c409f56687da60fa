#include <QStringList>
#include <QVariant>
#include <gtest/gtest.h>

namespace {

TEST(QtPrinters, FailuresShowTextNotBytes) {
    EXPECT_EQ(testing::PrintToString(QStringLiteral("Pärnu")), "\"Pärnu\"");
    EXPECT_EQ(testing::PrintToString(QStringList({"a", "b"})), "QList(\"a\", \"b\")");
    EXPECT_EQ(testing::PrintToString(QVariant(1)), "QVariant(int, 1)");
}

} // namespace
