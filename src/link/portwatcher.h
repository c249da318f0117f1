#pragma once
// Keeps the port list in step with the serial adapters that are plugged in and pulled out
// while the tool runs. Every pass (1.5 s apart) asks the system for its serial ports and
// compares them with the list; when they are the same nothing happens at all (no item,
// index or signal changes, so the list never flickers). When they differ the list is
// brought up to date item by item: a new port is inserted at its sorted place, a vanished
// one removed, the demo ports stay at the end, and the chosen port stays chosen while it
// exists. A chosen port that vanishes is chosen again when it comes back, unless the user
// has chosen another one meanwhile. While a port is open, or while the list's pop-up is
// shown, the list is left alone.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QTimer;

class PortWatcher : public QObject {
    Q_OBJECT
public:
    // The system's serial ports in any order, without the demo ports.
    using Lister = std::function<QStringList()>;
    static constexpr int DefaultIntervalMs = 1500;

    // list: the port list to keep; portOpen: whether a port is open (the list is then left
    // alone); lister: where the system's ports come from (systemPorts unless a test
    // supplies its own).
    PortWatcher(QComboBox* list, std::function<bool()> portOpen, Lister lister = systemPorts,
                QObject* parent = nullptr);

    void setLister(Lister lister);
    void start(int intervalMs = DefaultIntervalMs);
    void stop();
    bool isActive() const;

    // One pass; true when the list was changed.
    bool check();

    // The device paths of the system's serial ports.
    static QStringList systemPorts();
    // What the list shows for a set of system ports: sorted as text, without repeats, then
    // the demo ports.
    static QStringList portList(const QStringList& systemPorts);

signals:
    // The list was changed by a pass; count is its new number of items.
    void listChanged(int count);

private:
    bool shows(const QStringList& items) const;
    void update(const QStringList& items);

    QComboBox* m_list;
    std::function<bool()> m_portOpen;
    Lister m_lister;
    QTimer* m_timer;
    // The chosen port that vanished, chosen again when it returns; forgotten as soon as
    // another port is chosen or a port is opened.
    QString m_lost;
    bool m_updating = false;
};
