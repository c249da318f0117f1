#include "common/uitexts.h"

#include "common/namedobjects.h"

#include <QMetaProperty>
#include <QObject>
#include <QVariant>

namespace uitexts {

namespace {

// The object that declares the property: the control itself, or a property adapter among
// its direct children (a chart's axis titles are not properties of the chart).
QObject* holderOf(QObject* o, const char* property) {
    if (o->metaObject()->indexOfProperty(property) >= 0) return o;
    for (QObject* child : o->children())
        if (child->metaObject()->indexOfProperty(property) >= 0) return child;
    return nullptr;
}

QObject* findNamed(QObject* root, const NamedObjects& below, const QString& name) {
    if (root->objectName() == name) return root;
    return below.child(name);
}

} // namespace

QStringList apply(QObject* root, const QList<Entry>& list, Lang lang) {
    return apply(root, NamedObjects(root), list, lang);
}

QStringList apply(QObject* root, const NamedObjects& below, const QList<Entry>& list, Lang lang) {
    QStringList faults;
    if (!root) return {QStringLiteral("no window to write the texts into")};
    for (const Entry& e : list) {
        const QString name = QString::fromLatin1(e.object);
        QObject* o = findNamed(root, below, name);
        if (!o) {
            faults << QStringLiteral("%1: no such control").arg(name);
            continue;
        }
        QObject* holder = holderOf(o, e.property);
        if (!holder) {
            faults << QStringLiteral("%1: %2 has no property %3")
                          .arg(name, QString::fromLatin1(o->metaObject()->className()),
                               QString::fromLatin1(e.property));
            continue;
        }
        if (e.initialOnly) {
            const QString now = holder->property(e.property).toString();
            if (now != e.ru && now != e.en) continue; // run-time code owns the text now
        }
        if (!holder->setProperty(e.property, e.text(lang)))
            faults << QStringLiteral("%1: %2 could not be written")
                          .arg(name, QString::fromLatin1(e.property));
    }
    return faults;
}

} // namespace uitexts
