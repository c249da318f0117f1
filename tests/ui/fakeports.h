#pragma once
// A list of system ports the test controls, for the port watcher: its timed passes ask it
// on their worker thread while the test changes it.
#include "link/portwatcher.h"

#include <QMutex>
#include <QMutexLocker>

#include <memory>

struct FakePorts {
    struct Shared {
        QMutex mutex;
        QStringList ports;
    };
    std::shared_ptr<Shared> d = std::make_shared<Shared>();

    void set(const QStringList& ports) {
        QMutexLocker lock(&d->mutex);
        d->ports = ports;
    }
    QStringList get() const {
        QMutexLocker lock(&d->mutex);
        return d->ports;
    }
    // Stays valid after the fake is gone, as a listing may still be running.
    PortWatcher::Lister lister() const {
        return [d = d] {
            QMutexLocker lock(&d->mutex);
            return d->ports;
        };
    }
};
