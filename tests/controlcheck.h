#pragma once
// Checks a widget tree against a control list kept as a tab-separated text file:
//   objectName <TAB> class [<TAB> property <TAB> expected value]
// Lines starting with '#' and empty lines are skipped. The class is matched with
// QObject::inherits (so "QAbstractButton" accepts any button). property is one of
//   text, title, toolTip, checked, visible, enabled, readOnly, placeholder, items
// ("items" compares a combo box's entries joined with '|'). "visible" means visible
// relative to the root that is checked (isVisibleTo(root)), so it works before show() and
// for a panel that is not in front.
// A control may be listed several times to check several properties.

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextStream>
#include <QWidget>

namespace controlcheck {

struct Row {
    QString name, cls, property, expected;
    int line = 0;
};

inline QList<Row> readList(const QString& path, QString* error) {
    QList<Row> rows;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot open %1").arg(path);
        return rows;
    }
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    int n = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++n;
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList c = line.split(QLatin1Char('\t'));
        if (c.size() != 2 && c.size() != 4) {
            *error = QStringLiteral("%1:%2: expected 2 or 4 tab-separated columns").arg(path).arg(n);
            return {};
        }
        Row r;
        r.name = c[0];
        r.cls = c[1];
        if (c.size() == 4) {
            r.property = c[2];
            r.expected = c[3];
            r.expected.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        }
        r.line = n;
        rows << r;
    }
    return rows;
}

inline QString actualValue(QObject* o, const QString& property, QObject* root = nullptr) {
    auto* w = qobject_cast<QWidget*>(o);
    if (property == QLatin1String("text")) {
        if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
        if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
        if (auto* e = qobject_cast<QLineEdit*>(o)) return e->text();
        if (auto* c = qobject_cast<QComboBox*>(o)) return c->currentText();
        if (auto* p = qobject_cast<QPlainTextEdit*>(o)) return p->toPlainText();
        if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
        return o->property("text").toString();
    }
    if (property == QLatin1String("title")) {
        if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
        return o->property("title").toString();
    }
    if (property == QLatin1String("toolTip")) return w ? w->toolTip() : QString();
    if (property == QLatin1String("checked")) {
        if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->isChecked() ? "true" : "false";
        return o->property("checked").toBool() ? "true" : "false";
    }
    if (property == QLatin1String("visible")) {
        if (!w) return QString();
        auto* r = qobject_cast<QWidget*>(root);
        if (w == r || !r) return !w->isHidden() ? "true" : "false";
        return w->isVisibleTo(r) ? "true" : "false";
    }
    if (property == QLatin1String("enabled")) return w ? (w->isEnabled() ? "true" : "false") : QString();
    if (property == QLatin1String("readOnly")) return o->property("readOnly").toBool() ? "true" : "false";
    if (property == QLatin1String("placeholder")) return o->property("placeholderText").toString();
    if (property == QLatin1String("items")) {
        if (auto* c = qobject_cast<QComboBox*>(o)) {
            QStringList items;
            for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
            return items.join(QLatin1Char('|'));
        }
    }
    return o->property(property.toLatin1().constData()).toString();
}

// Returns a list of mismatch descriptions; empty when every row holds.
inline QStringList checkRows(QObject* root, const QList<Row>& rows, const QString& path) {
    QStringList faults;
    for (const Row& r : rows) {
        QObject* o = root->objectName() == r.name ? root : root->findChild<QObject*>(r.name);
        if (!o) {
            faults << QStringLiteral("%1:%2: %3 missing").arg(path).arg(r.line).arg(r.name);
            continue;
        }
        if (!o->inherits(r.cls.toLatin1().constData())) {
            faults << QStringLiteral("%1:%2: %3 is %4, expected %5")
                          .arg(path).arg(r.line).arg(r.name, o->metaObject()->className(), r.cls);
            continue;
        }
        if (r.property.isEmpty()) continue;
        const QString actual = actualValue(o, r.property, root);
        if (actual != r.expected)
            faults << QStringLiteral("%1:%2: %3.%4 is \"%5\", expected \"%6\"")
                          .arg(path).arg(r.line).arg(r.name, r.property, actual, r.expected);
    }
    return faults;
}

inline QStringList check(QObject* root, const QString& path) {
    QString error;
    const QList<Row> rows = readList(path, &error);
    if (!error.isEmpty()) return {error};
    return checkRows(root, rows, path);
}

} // namespace controlcheck
