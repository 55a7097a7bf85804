// With STARTUP_PROBE_SMAPS=FILE in the environment, the start-up programs
// copy their memory map (/proc/self/smaps) to FILE once ready: the breakdown
// of where their memory goes.
#pragma once

#include <QFile>

inline void copyMemoryMapIfAsked() {
    const QString to = qEnvironmentVariable("STARTUP_PROBE_SMAPS");
    if (to.isEmpty()) return;
    QFile from(QStringLiteral("/proc/self/smaps")), out(to);
    // Read, not copied by the kernel: /proc reports its files as empty.
    if (from.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) out.write(from.readAll());
}
