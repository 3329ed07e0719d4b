#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTest>
#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Expectations that wait, processing events, until they hold or five seconds have passed.
constexpr int kWaitMilliseconds = 5000;
#define TRY_EXPECT_TRUE(condition)                                                               \
    do {                                                                                         \
        static_cast<void>(                                                                       \
            QTest::qWaitFor([&]() { return static_cast<bool>(condition); }, kWaitMilliseconds)); \
        EXPECT_TRUE(condition);                                                                  \
    } while (false)
#define TRY_EXPECT_EQ(actual, expected)                                                    \
    do {                                                                                   \
        static_cast<void>(                                                                 \
            QTest::qWaitFor([&]() { return (actual) == (expected); }, kWaitMilliseconds)); \
        EXPECT_EQ(actual, expected);                                                       \
    } while (false)
