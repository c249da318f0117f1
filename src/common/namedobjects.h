#pragma once
// The objects under a root, by name, found in the order QObject::findChild finds them (a
// level's children before the children's own children, the first of a name winning), all
// in one walk of the tree. The language switch looks up several hundred names; finding
// each with findChild walked the whole window once a name.

#include <QHash>
#include <QString>

class QObject;

class NamedObjects {
public:
    explicit NamedObjects(const QObject* root);

    // What root->findChild<QObject*>(name) would give at the time of the walk.
    QObject* child(const QString& name) const { return m_first.value(name); }

private:
    void walk(const QObject* parent);

    QHash<QString, QObject*> m_first;
};
