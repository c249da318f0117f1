#pragma once
// Keeps the port list in step with the serial adapters that are plugged in and pulled out
// while the tool runs. Every pass (1.5 s apart) asks the system for its serial ports and
// compares them with the list. Asking takes the system tens of milliseconds (it walks the
// device tree), so it is done on a worker thread of the watcher's own and only the
// comparison runs on the user-interface thread; when they are the same nothing happens at all (no item,
// index or signal changes, so the list never flickers). When they differ the list is
// brought up to date item by item: a new port is inserted at its sorted place, a vanished
// one removed, the demo ports stay at the end, and the chosen port stays chosen while it
// exists. A chosen port that vanishes is chosen again when it comes back, unless the user
// has chosen another one meanwhile. While a port is open, or while the list's pop-up is
// shown, the list is left alone.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QThreadPool;
class QTimer;

class PortWatcher : public QObject {
    Q_OBJECT
public:
    // The system's serial ports in any order, without the demo ports. Called on the
    // watcher's worker thread by the timed passes, so it must be safe to call there.
    using Lister = std::function<QStringList()>;
    static constexpr int DefaultIntervalMs = 1500;

    // list: the port list to keep; portOpen: whether a port is open (the list is then left
    // alone); lister: where the system's ports come from (systemPorts unless a test
    // supplies its own).
    PortWatcher(QComboBox* list, std::function<bool()> portOpen, Lister lister = systemPorts,
                QObject* parent = nullptr);
    // Waits for a listing still running.
    ~PortWatcher() override;

    void setLister(Lister lister);
    void start(int intervalMs = DefaultIntervalMs);
    void stop();
    bool isActive() const;

    // One pass on the calling thread, lister included; true when the list was changed.
    bool check();
    // The part of a pass on the user-interface thread: brings the list in step with these
    // system ports (unless a port is open or the pop-up shown); true when it changed.
    bool follow(const QStringList& systemPorts);

    // The device paths of the system's serial ports, and what the list shows for a set of
    // them (the one rule of link/portlist.h).
    static QStringList systemPorts();
    static QStringList portList(const QStringList& systemPorts);

signals:
    // The list was changed by a pass; count is its new number of items.
    void listChanged(int count);

private:
    // A timed pass: the lister on the worker thread, then follow() back on this thread.
    void pass();
    bool leftAlone();
    bool shows(const QStringList& items) const;
    void update(const QStringList& items);

    QPointer<QComboBox> m_list;
    std::function<bool()> m_portOpen;
    Lister m_lister;
    QTimer* m_timer;
    QThreadPool* m_worker;
    bool m_listing = false; // a timed pass is waiting for its lister
    // Counts lister changes and direct passes: a timed pass's answer from before one of
    // them is out of date and dropped.
    unsigned m_generation = 0;
    // The chosen port that vanished, chosen again when it returns; forgotten as soon as
    // another port is chosen or a port is opened.
    QString m_lost;
    bool m_updating = false;
};
