#pragma once

#include <QtTest>
#include <initializer_list>

#include "Acceptance.h"

// The keys table's rows as Qt Test data, once for each of `systems` a row holds on: columns
// system, window, before, keys, after and shows.
inline void keyRows(std::initializer_list<const char*> systems) {
    for (const char* column : {"system", "window", "before", "keys", "after", "shows"}) {
        QTest::addColumn<QString>(column);
    }
    for (const acceptance::Row& each : acceptance::read(VOSTREL_ACCEPTANCE_DIR "/keys.tsv")) {
        const auto field = [&](const char* name) { return QString::fromStdString(each.at(name)); };
        for (const char* system : systems) {
            if (acceptance::holdsOn(each, system)) {
                QTest::addRow("%s: %s, %s on %s", system, qPrintable(field("window")),
                              qPrintable(field("keys")), qPrintable(field("before")))
                    << QString(system) << field("window") << field("before") << field("keys")
                    << field("after") << field("shows");
            }
        }
    }
}
