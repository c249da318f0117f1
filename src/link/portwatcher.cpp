#include "link/portwatcher.h"

#include "link/portlist.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QThreadPool>
#include <QTimer>

PortWatcher::PortWatcher(QComboBox* list, std::function<bool()> portOpen, Lister lister, QObject* parent)
    : QObject(parent), m_list(list), m_portOpen(std::move(portOpen)), m_lister(std::move(lister)),
      m_timer(new QTimer(this)), m_worker(new QThreadPool(this)) {
    m_timer->setObjectName(QStringLiteral("Timer_Port_Watch"));
    connect(m_timer, &QTimer::timeout, this, &PortWatcher::pass);
    m_worker->setMaxThreadCount(1);
    // A choice made by anyone but the watcher itself replaces the port it waits for.
    connect(m_list, &QComboBox::currentTextChanged, this, [this] {
        if (!m_updating) m_lost.clear();
    });
}

PortWatcher::~PortWatcher() {
    // The listing holds no reference to the list; its answer, posted to this object, is
    // dropped with it.
    m_worker->waitForDone();
}

void PortWatcher::setLister(Lister lister) {
    m_lister = std::move(lister);
    ++m_generation;
}

void PortWatcher::start(int intervalMs) { m_timer->start(intervalMs); }

void PortWatcher::stop() { m_timer->stop(); }

bool PortWatcher::isActive() const { return m_timer->isActive(); }

QStringList PortWatcher::systemPorts() { return portlist::systemPorts(); }

QStringList PortWatcher::portList(const QStringList& systemPorts) { return portlist::items(systemPorts); }

bool PortWatcher::leftAlone() {
    if (!m_list) return true;
    if (m_portOpen && m_portOpen()) {
        // The port was opened on the chosen item: that is the user's choice now.
        m_lost.clear();
        return true;
    }
    // The user is choosing from the pop-up: items must not move under the pointer.
    return m_list->view() && m_list->view()->isVisible();
}

void PortWatcher::pass() {
    if (m_listing || !m_lister || leftAlone()) return;
    m_listing = true;
    m_worker->start([this, lister = m_lister, generation = m_generation] {
        const QStringList ports = lister();
        QMetaObject::invokeMethod(
            this,
            [this, ports, generation] {
                m_listing = false;
                if (generation == m_generation) follow(ports);
            },
            Qt::QueuedConnection);
    });
}

bool PortWatcher::check() {
    ++m_generation;
    return m_lister && !leftAlone() && follow(m_lister());
}

bool PortWatcher::follow(const QStringList& systemPorts) {
    // A port may have been opened while the system was asked.
    if (!m_list || leftAlone()) return false;
    const QStringList items = portList(systemPorts);
    if (shows(items)) return false;
    update(items);
    emit listChanged(m_list->count());
    return true;
}

bool PortWatcher::shows(const QStringList& items) const {
    if (m_list->count() != items.size()) return false;
    for (int i = 0; i < items.size(); ++i)
        if (m_list->itemText(i) != items.at(i)) return false;
    return true;
}

void PortWatcher::update(const QStringList& items) {
    m_updating = true;
    const QString chosen = m_list->currentText();
    // Item by item, so that the ports that stay keep their items.
    for (int i = m_list->count() - 1; i >= 0; --i)
        if (!items.contains(m_list->itemText(i))) m_list->removeItem(i);
    for (int i = 0; i < items.size(); ++i)
        if (i >= m_list->count() || m_list->itemText(i) != items.at(i)) m_list->insertItem(i, items.at(i));
    // Items that were not in the list's order to begin with: start afresh.
    if (!shows(items)) {
        m_list->clear();
        m_list->addItems(items);
    }
    QString wanted = chosen;
    if (!m_lost.isEmpty() && items.contains(m_lost)) {
        wanted = m_lost;
        m_lost.clear();
    } else if (!chosen.isEmpty() && !items.contains(chosen) && m_lost.isEmpty()) {
        m_lost = chosen;
    }
    const int at = m_list->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_list->setCurrentIndex(at >= 0 ? at : 0);
    m_updating = false;
}
