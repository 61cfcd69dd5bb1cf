#pragma once

#include <QtTest>

// One row of a data-driven test, its values in the order of the columns: a table row stays one
// line however its values look.
template <typename... Values>
void row(const char* tag, const Values&... values) {
    (QTest::newRow(tag) << ... << values);
}
