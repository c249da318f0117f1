#include "sim/demooptions.h"

#include <cmath>

namespace sim {

namespace {

// The number after "name=", checked against [lo, hi]; false when it is not one.
bool numberAfter(QStringView item, qsizetype nameLength, double lo, double hi, double* value) {
    bool ok = false;
    const double v = item.mid(nameLength + 1).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < lo || v > hi) return false;
    *value = v;
    return true;
}

} // namespace

DemoOptions parseDemoOptions(QStringView text, QString* error) {
    DemoOptions o;
    if (error) error->clear();
    for (QStringView raw : text.split(u',')) {
        const QStringView item = raw.trimmed();
        if (item.isEmpty()) continue;
        const qsizetype eq = item.indexOf(u'=');
        const QStringView name = (eq < 0 ? item : item.left(eq)).trimmed();
        bool ok = true;
        double v = 0;
        if (eq < 0 && name == u"refuse-writes") {
            o.faults.refuseWrites = true;
        } else if (eq < 0 && name == u"wideband") {
            o.equipment.lambda1Wideband = true;
        } else if (eq < 0 && name == u"wideband2") {
            o.equipment.lambda2Wideband = true;
        } else if (eq < 0 && name == u"digital-maf") {
            o.equipment.digitalMaf = true;
        } else if (eq < 0 && name == u"mixture") {
            o.mixture.enabled = true;
        } else if (eq < 0 && name == u"tuning-cycle") {
            o.mixture.enabled = true;
            o.mixture.tuningCycle = true;
        } else if (eq >= 0 && name == u"silent-after") {
            ok = numberAfter(item, eq, 1, 1e6, &v) && v == std::floor(v);
            if (ok) o.faults.answerLimit = int(v);
        } else if (eq >= 0 && name == u"speed") {
            ok = numberAfter(item, eq, 0.1, 20, &v);
            if (ok) o.timeScale = v;
        } else {
            ok = false;
        }
        if (!ok) {
            if (error) *error = QStringLiteral("%1: \"%2\" is not a demo option")
                                    .arg(QLatin1String(DemoOptionsVariable), item.toString());
            return {};
        }
    }
    return o;
}

void applyDemoOptions(SimModule& module, const DemoOptions& options) {
    module.setEquipment(options.equipment);
    module.setFaults(options.faults);
    module.setMixture(options.mixture);
    module.setEngineTimeScale(options.timeScale);
}

} // namespace sim
