#include "common/namedobjects.h"

#include <QObject>

NamedObjects::NamedObjects(const QObject* root) {
    if (root) walk(root);
}

void NamedObjects::walk(const QObject* parent) {
    const QObjectList& children = parent->children();
    for (QObject* c : children) {
        const QString name = c->objectName();
        if (!name.isEmpty() && !m_first.contains(name)) m_first.insert(name, c);
    }
    for (QObject* c : children) walk(c);
}
